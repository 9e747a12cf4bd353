// date_time_text.cpp: the XSD lexical forms of CDateTime, parsing and writing. Parsers build
// a fresh value and assign it only once it has validated, so a failed parse leaves the
// target as it was.
#include <cstdio>
#include <cstring>
#include <string>

#include "tessel16/date_time.h"
#include "tessel16/exception.h"
#include "values/calendar.h"
#include "values/date_time_messages.h"

namespace Tessel16 {

namespace msg = detail::dtmsg;

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Two or four digits at p, or -1 when one of them is not a digit.
int Digits(const char* p, int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) {
        if (!IsDigit(p[i])) {
            return -1;
        }
        value = value * 10 + (p[i] - '0');
    }
    return value;
}

struct DateParts {
    CDateTime::DTType kind = CDateTime::dt_yearZero;
    int year = 0;
    int month = 0;
    int day = 0;
};

// The date forms are told apart by length alone; n is the length of the date part, which
// the caller has already separated from any zone suffix.
bool ScanDate(const char* s, std::ptrdiff_t n, DateParts& out) {
    if (n <= 0) {
        return false;
    }
    if (s[0] == '-' && s[1] == '-') {
        if (n == 4) {
            out.kind = CDateTime::dt_gMonth;
            out.month = Digits(s + 2, 2);
            return out.month >= 0;
        }
        if (n == 5 && s[2] == '-') {
            out.kind = CDateTime::dt_gDay;
            out.day = Digits(s + 3, 2);
            return out.day >= 0;
        }
        if (n == 6 && s[4] == '-' && s[5] == '-') {
            out.kind = CDateTime::dt_gMonth;
            out.month = Digits(s + 2, 2);
            return out.month >= 0;
        }
        if (n == 7 && s[4] == '-') {
            out.kind = CDateTime::dt_gMonthDay;
            out.month = Digits(s + 2, 2);
            out.day = Digits(s + 5, 2);
            return out.month >= 0 && out.day >= 0;
        }
        return false;
    }
    const bool negative = s[0] == '-';
    const char* p = s + (negative ? 1 : 0);
    const std::ptrdiff_t m = n - (negative ? 1 : 0);
    out.year = Digits(p, m >= 4 ? 4 : 0);
    if (m < 4 || out.year < 0) {
        return false;
    }
    if (negative) {
        out.year = -out.year;
    }
    if (m == 4) {
        out.kind = CDateTime::dt_gYear;
        return true;
    }
    if (m == 7 && p[4] == '-') {
        out.kind = CDateTime::dt_gYearMonth;
        out.month = Digits(p + 5, 2);
        return out.month >= 0;
    }
    if (m == 10 && p[4] == '-' && p[7] == '-') {
        out.kind = CDateTime::dt_date;
        out.month = Digits(p + 5, 2);
        out.day = Digits(p + 8, 2);
        return out.month >= 0 && out.day >= 0;
    }
    return false;
}

struct ZoneParts {
    enum { None, Utc, Offset, Bad } state = None;
    int hour = 0;
    int minute = 0;
    bool negative = false;
};

// A zone suffix: nothing, Z, or exactly +hh:mm / -hh:mm. Anything else after a complete form
// is Bad, for the caller to refuse with its own message: text after the value would otherwise
// be dropped without a word. A malformed offset is refused here, with the zone's message.
ZoneParts ScanZone(const char* z) {
    ZoneParts zone;
    if (z[0] == '\0') {
        return zone;
    }
    if (z[0] == 'Z') {
        zone.state = z[1] == '\0' ? ZoneParts::Utc : ZoneParts::Bad;
        return zone;
    }
    if (z[0] != '+' && z[0] != '-') {
        zone.state = ZoneParts::Bad;
        return zone;
    }
    const int hour = std::strlen(z) == 6 && z[3] == ':' ? Digits(z + 1, 2) : -1;
    const int minute = hour >= 0 ? Digits(z + 4, 2) : -1;
    if (minute < 0) {
        throw CTsInvalidValueException(FormatString(msg::kZoneBad, z));
    }
    zone.state = ZoneParts::Offset;
    zone.negative = z[0] == '-';
    zone.hour = hour == 24 ? 0 : hour;
    zone.minute = minute;
    return zone;
}

// Applies a scanned zone; false for a Bad one.
bool ApplyZone(CDateTime& v, const ZoneParts& zone, bool& minuteNegative) {
    if (zone.state == ZoneParts::Bad) {
        return false;
    }
    if (zone.state == ZoneParts::Utc) {
        v.SetUTC();
    } else if (zone.state == ZoneParts::Offset) {
        v.SetTimeZone(static_cast<short>(zone.negative ? -zone.hour : zone.hour),
                      static_cast<unsigned char>(zone.minute));
        minuteNegative = zone.negative && zone.hour == 0 && zone.minute != 0;
    }
    return true;
}

// Digits are written by hand: a document of dates spends more time in printf's format
// parsing than in anything else of the conversion.
void AppendDigits(std::string& out, unsigned value, int minWidth) {
    char buf[16];
    char* end = buf + sizeof buf;
    char* p = end;
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (end - p < minWidth) *--p = '0';
    out.append(p, static_cast<std::size_t>(end - p));
}

// At least four digits, after a minus sign for years before year 1.
void AppendYear(std::string& out, int year) {
    if (year < 0) out += '-';
    AppendDigits(out, year < 0 ? 0u - static_cast<unsigned>(year) : static_cast<unsigned>(year), 4);
}

void AppendTwo(std::string& out, unsigned value) { AppendDigits(out, value, 2); }

}  // namespace

void CDateTime::ParseXSDDate(const char* text) {
    if (text == nullptr) {
        throw CTsInvalidValueException(msg::kDateNull);
    }
    if (*text == '\0') {
        throw CTsInvalidValueException(msg::kDateEmpty);
    }
    // The plain form yyyy-mm-dd, which nearly every date in a document has, is told by its
    // shape alone, without the scans for a time part and a zone; it validates as any other.
    // The tests stop at the first mismatch, so they never read past the terminator.
    const char* t = text;
    if (IsDigit(t[0]) && IsDigit(t[1]) && IsDigit(t[2]) && IsDigit(t[3]) && t[4] == '-' &&
        IsDigit(t[5]) && IsDigit(t[6]) && t[7] == '-' && IsDigit(t[8]) && IsDigit(t[9]) &&
        t[10] == '\0') {
        CDateTime v(dt_date);
        v.m_year = static_cast<std::int16_t>(Digits(t, 4));
        v.m_month = static_cast<std::uint8_t>(Digits(t + 5, 2));
        v.m_day = static_cast<std::uint8_t>(Digits(t + 8, 2));
        v.m_zoneMinuteNegative = false;
        // Four digits make a year of at most 9999; only year zero, a month or a day out of
        // range need the full check, which names what is wrong.
        if (v.m_year == 0 || v.m_month < 1 || v.m_month > 12 || v.m_day < 1 ||
            v.m_day > detail::DaysInMonth(v.m_year, v.m_month)) {
            v.Validate();
        }
        *this = v;
        return;
    }
    if (std::strchr(text, 'T') != nullptr) {
        throw CTsInvalidValueException(msg::kDateT);
    }
    const std::ptrdiff_t length = static_cast<std::ptrdiff_t>(std::strlen(text));
    const bool endsInZ = text[length - 1] == 'Z';
    const bool hasColon = std::strchr(text, ':') != nullptr;
    if (endsInZ && hasColon) {
        throw CTsInvalidValueException(msg::kDateBadZone);
    }
    const std::ptrdiff_t n = length - (endsInZ ? 1 : 0) - (hasColon ? 6 : 0);
    DateParts parts;
    if (!ScanDate(text, n, parts)) {
        throw CTsInvalidValueException(FormatString(msg::kDateBad, text));
    }
    CDateTime v(parts.kind);
    v.m_year = static_cast<std::int16_t>(parts.year);
    v.m_month = static_cast<std::uint8_t>(parts.month);
    v.m_day = static_cast<std::uint8_t>(parts.day);
    bool minuteNegative = false;
    if ((endsInZ || hasColon) && !ApplyZone(v, ScanZone(text + n), minuteNegative)) {
        throw CTsInvalidValueException(FormatString(msg::kDateBad, text));
    }
    v.m_zoneMinuteNegative = minuteNegative;
    v.Validate();
    *this = v;
}

void CDateTime::ParseXSDTime(const char* text) {
    if (text == nullptr) {
        throw CTsInvalidValueException(msg::kTimeNull);
    }
    if (*text == '\0') {
        throw CTsInvalidValueException(msg::kTimeEmpty);
    }
    const bool shaped = std::strlen(text) >= 8 && text[2] == ':' && text[5] == ':';
    const int hour = shaped ? Digits(text, 2) : -1;
    const int minute = shaped ? Digits(text + 3, 2) : -1;
    const int second = shaped ? Digits(text + 6, 2) : -1;
    if (hour < 0 || minute < 0 || second < 0 || hour > 23 || minute > 59 || second > 59) {
        throw CTsInvalidValueException(FormatString(msg::kTimeBad, text));
    }
    CDateTime v(dt_time);
    v.m_hour = static_cast<std::uint8_t>(hour);
    v.m_minute = static_cast<std::uint8_t>(minute);
    v.m_second = static_cast<std::uint8_t>(second);
    const char* p = text + 8;
    if (*p == '.') {
        ++p;
        static const unsigned kWeight[3] = {100, 10, 1};
        unsigned groups[3] = {0, 0, 0};
        int count = 0;
        for (; IsDigit(*p); ++p, ++count) {
            if (count == 9) {
                throw CTsInvalidValueException(FormatString(msg::kTimeFraction, text));
            }
            groups[count / 3] += static_cast<unsigned>(*p - '0') * kWeight[count % 3];
        }
        v.m_milli = static_cast<std::uint16_t>(groups[0]);
        v.m_micro = static_cast<std::uint16_t>(groups[1]);
        v.m_nano = static_cast<std::uint16_t>(groups[2]);
    }
    bool minuteNegative = false;
    if (!ApplyZone(v, ScanZone(p), minuteNegative)) {
        throw CTsInvalidValueException(FormatString(msg::kTimeBad, text));
    }
    v.m_zoneMinuteNegative = minuteNegative;
    v.Validate();
    *this = v;
}

void CDateTime::ParseXSDDateTime(const char* text) {
    if (text == nullptr) {
        throw CTsInvalidValueException(msg::kDateTimeNull);
    }
    const char* t = std::strchr(text, 'T');
    if (t == nullptr) {
        throw CTsInvalidValueException(FormatString(msg::kDateTimeNoT, text));
    }
    // The date part is read and validated first, with the date form's own messages, so a
    // bad day is reported as such even when the time is bad too.
    const std::string datePart(text, static_cast<std::size_t>(t - text));
    CDateTime date;
    date.ParseXSDDate(datePart.c_str());
    if (date.GetType() != dt_date || date.m_zoned) {
        throw CTsInvalidValueException(FormatString(msg::kDateTimeBad, text));
    }
    CDateTime v;
    v.ParseXSDTime(t + 1);
    v.m_type = dt_dateTime;
    v.m_year = date.m_year;
    v.m_month = date.m_month;
    v.m_day = date.m_day;
    v.Validate();
    *this = v;
}

std::string CDateTime::ToString() const { return ToString("s"); }

std::string CDateTime::ToString(const char* format) const {
    const bool empty = m_year == 0 && m_month == 0 && m_day == 0 && m_hour == 0 && m_minute == 0 &&
                       m_second == 0 && m_milli == 0 && m_micro == 0 && m_nano == 0;
    if (GetType() == dt_yearZero || (GetType() != dt_time && empty)) {
        return msg::kNotSet;
    }
    if (format == nullptr || *format == '\0' || std::strcmp(format, "G") == 0) {
        return std::string();
    }
    if (std::strcmp(format, "s") != 0) {
        return std::string(msg::kUnknownFormat) + format;
    }
    std::string out;
    out.reserve(40);
    const auto clock = [&]() {
        AppendTwo(out, m_hour);
        out += ':';
        AppendTwo(out, m_minute);
        out += ':';
        AppendTwo(out, m_second);
        out += detail::FormatFraction(m_milli, m_micro, m_nano);
    };
    switch (GetType()) {
        case dt_dateTime:
        case dt_date:
            AppendYear(out, m_year);
            out += '-';
            AppendTwo(out, m_month);
            out += '-';
            AppendTwo(out, m_day);
            if (GetType() == dt_dateTime) {
                out += 'T';
                clock();
            }
            break;
        case dt_time:
            clock();
            break;
        case dt_gYear:
            AppendYear(out, m_year);
            break;
        case dt_gYearMonth:
            AppendYear(out, m_year);
            out += '-';
            AppendTwo(out, m_month);
            break;
        case dt_gMonth:
            out += "--";
            AppendTwo(out, m_month);
            break;
        case dt_gMonthDay:
            out += "--";
            AppendTwo(out, m_month);
            out += '-';
            AppendTwo(out, m_day);
            break;
        case dt_gDay:
            out += "---";
            AppendTwo(out, m_day);
            break;
        default:
            return std::string();
    }
    if (m_hasOffset) {
        out += IsZoneNegative() ? '-' : '+';
        AppendTwo(out, static_cast<unsigned>(m_zoneHour < 0 ? -m_zoneHour : m_zoneHour));
        out += ':';
        AppendTwo(out, m_zoneMinute);
    } else if (m_zoned) {
        out += 'Z';
    }
    return out;
}

}  // namespace Tessel16
