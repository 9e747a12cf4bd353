// date_time_span.cpp: CDateTimeSpan, the XSD duration: its lexical form and its partial
// order. The order needs calendar arithmetic, so it borrows CDateTime's addition rule
// through calendar.h rather than defining a second one.
#include <cstring>

#include "tessel16/date_time.h"
#include "tessel16/exception.h"
#include "values/calendar.h"
#include "values/date_time_messages.h"

namespace Tessel16 {

namespace msg = detail::dtmsg;

namespace {

// The part of the form read last; each designator is allowed only after certain parts.
enum ParseState {
    kNone = 0,
    kYears = 1,
    kMonths = 2,
    kDays = 3,
    kTimeMark = 4,
    kHours = 5,
    kMinutes = 6,
    kSeconds = 7,
    kFraction = 8
};

}  // namespace

CDateTimeSpan::CDateTimeSpan() = default;

CDateTimeSpan::CDateTimeSpan(unsigned short years, std::uint32_t months, std::uint32_t days,
                             std::uint32_t hours, unsigned long long minutes,
                             unsigned long long seconds, unsigned short milli, unsigned short micro,
                             unsigned short nano) {
    SetDateTimeSpan(years, months, days, hours, minutes, seconds, milli, micro, nano);
}

CDateTimeSpan::CDateTimeSpan(unsigned short years, std::uint32_t months, std::uint32_t days,
                             std::uint32_t hours, unsigned long long minutes,
                             unsigned long long seconds) {
    SetDateTimeSpan(years, months, days, hours, minutes, seconds);
}

CDateTimeSpan::CDateTimeSpan(std::uint32_t hours, unsigned long long minutes,
                             unsigned long long seconds) {
    SetDateTimeSpan(hours, minutes, seconds);
}

CDateTimeSpan::~CDateTimeSpan() = default;

void CDateTimeSpan::SetDateTimeSpan(unsigned short years, std::uint32_t months, std::uint32_t days,
                                    std::uint32_t hours, unsigned long long minutes,
                                    unsigned long long seconds, unsigned short milli,
                                    unsigned short micro, unsigned short nano) {
    m_years = years;
    m_months = months;
    m_days = days;
    m_hours = hours;
    m_minutes = minutes;
    m_seconds = seconds;
    m_milli = milli;
    m_micro = micro;
    m_nano = nano;
    m_negative = false;
}

void CDateTimeSpan::SetDateTimeSpan(unsigned short years, std::uint32_t months, std::uint32_t days,
                                    std::uint32_t hours, unsigned long long minutes,
                                    unsigned long long seconds) {
    SetDateTimeSpan(years, months, days, hours, minutes, seconds, 0, 0, 0);
}

void CDateTimeSpan::SetDateTimeSpan(std::uint32_t hours, unsigned long long minutes,
                                    unsigned long long seconds) {
    SetDateTimeSpan(0, 0, 0, hours, minutes, seconds, 0, 0, 0);
}

CDateTimeSpan CDateTimeSpan::GetAsNegative() const {
    CDateTimeSpan copy = *this;
    copy.m_negative = true;
    return copy;
}

void CDateTimeSpan::ParseXSDDuration(const char* text) {
    if (text == nullptr) {
        throw CTsInvalidValueException(msg::kSpanNull);
    }
    if (*text == '\0') {
        throw CTsInvalidValueException(msg::kSpanEmpty);
    }
    const auto bad = [text]() {
        return CTsInvalidValueException(FormatString(msg::kSpanBad, text));
    };
    CDateTimeSpan v;
    const char* p = text;
    if (*p == '-') {
        v.m_negative = true;
        ++p;
    }
    if (*p != 'P') {
        throw bad();
    }
    ++p;
    int state = kNone;
    while (*p != '\0') {
        // A count too large for its field is refused: wrapping it would read another span.
        unsigned long long number = 0;
        for (; *p >= '0' && *p <= '9'; ++p) {
            const auto digit = static_cast<unsigned long long>(*p - '0');
            if (number > (~0ull - digit) / 10u) {
                throw bad();
            }
            number = number * 10u + digit;
        }
        const char designator = *p;
        const unsigned long long fieldMax =
            designator == 'Y' ? 0xFFFFull
            : designator == 'D' || designator == 'H' || (designator == 'M' && state < kTimeMark)
                ? 0xFFFFFFFFull
                : ~0ull;
        if (number > fieldMax) {
            throw bad();
        }
        ++p;
        switch (designator) {
            case 'Y':
                v.m_years = static_cast<std::uint16_t>(number);
                state = kYears;
                break;
            case 'M':
                if (state == kNone || state == kYears) {
                    v.m_months = static_cast<std::uint32_t>(number);
                    state = kMonths;
                } else if (state == kTimeMark || state == kHours) {
                    v.m_minutes = number;
                    state = kMinutes;
                } else {
                    throw bad();
                }
                break;
            case 'D':
                if (state > kMonths) {
                    throw bad();
                }
                v.m_days = static_cast<std::uint32_t>(number);
                state = kDays;
                break;
            case 'T':
                if (state > kDays) {
                    throw bad();
                }
                state = kTimeMark;
                break;
            case 'H':
                if (state != kTimeMark) {
                    throw bad();
                }
                v.m_hours = static_cast<std::uint32_t>(number);
                state = kHours;
                break;
            case 'S':
            case '.':
                if (state < kTimeMark || state > kMinutes) {
                    throw bad();
                }
                v.m_seconds = number;
                state = kSeconds;
                if (designator == '.') {
                    static const unsigned kWeight[3] = {100, 10, 1};
                    unsigned groups[3] = {0, 0, 0};
                    int count = 0;
                    for (; *p >= '0' && *p <= '9'; ++p, ++count) {
                        if (count == 9) {
                            throw CTsInvalidValueException(FormatString(msg::kSpanFraction, text));
                        }
                        groups[count / 3] += static_cast<unsigned>(*p - '0') * kWeight[count % 3];
                    }
                    v.m_milli = static_cast<std::uint16_t>(groups[0]);
                    v.m_micro = static_cast<std::uint16_t>(groups[1]);
                    v.m_nano = static_cast<std::uint16_t>(groups[2]);
                    if (*p != 'S') {
                        throw bad();
                    }
                    ++p;
                }
                break;
            default:
                // Also the end of the text right after a run of digits.
                throw bad();
        }
    }
    if (state == kNone || state == kTimeMark) {
        throw bad();
    }
    *this = v;
}

std::string CDateTimeSpan::ToString() const {
    std::string out = m_negative ? "-P" : "P";
    if (m_years != 0) {
        out += std::to_string(m_years) + 'Y';
    }
    if (m_months != 0) {
        out += std::to_string(m_months) + 'M';
    }
    if (m_days != 0) {
        out += std::to_string(m_days) + 'D';
    }
    const bool fraction = m_milli != 0 || m_micro != 0 || m_nano != 0;
    if (m_hours == 0 && m_minutes == 0 && m_seconds == 0 && !fraction) {
        // A bare "P" is no duration: the zero span is written as zero seconds so that it
        // reads back.
        if (out.size() <= 2 && out.back() == 'P') {
            out += "T0S";
        }
        return out;
    }
    out += 'T';
    if (m_hours != 0) {
        out += std::to_string(m_hours) + 'H';
    }
    if (m_minutes != 0) {
        out += std::to_string(m_minutes) + 'M';
    }
    if (m_seconds != 0 || fraction) {
        out += std::to_string(m_seconds) + detail::FormatFraction(m_milli, m_micro, m_nano) + 'S';
    }
    return out;
}

CDateTime::DTCompareResult CDateTimeSpan::CompareTo(const CDateTimeSpan& other) const {
    // The XSD reference points: around month ends of differing lengths, in leap and common
    // years, so that spans of months and of days are told apart whenever they can differ.
    static const int kReference[4][2] = {{1696, 9}, {1697, 2}, {1903, 3}, {1903, 7}};
    CDateTime::DTCompareResult common = CDateTime::Equal;
    for (int i = 0; i < 4; ++i) {
        detail::CalendarFields a;
        a.year = kReference[i][0];
        a.month = kReference[i][1];
        detail::CalendarFields b = a;
        detail::AddSpan(a, *this, false);
        detail::AddSpan(b, other, false);
        const CDateTime::DTCompareResult r =
            detail::CompareFields(a, CDateTime::dt_dateTime, b, CDateTime::dt_dateTime);
        if (r == CDateTime::Indeterminate || (i > 0 && r != common)) {
            return CDateTime::Indeterminate;
        }
        common = r;
    }
    return common;
}

bool CDateTimeSpan::operator==(const CDateTimeSpan& other) const {
    return CompareTo(other) == CDateTime::Equal;
}
bool CDateTimeSpan::operator!=(const CDateTimeSpan& other) const {
    return CompareTo(other) != CDateTime::Equal;
}
bool CDateTimeSpan::operator<(const CDateTimeSpan& other) const {
    return CompareTo(other) == CDateTime::LessThan;
}
bool CDateTimeSpan::operator>(const CDateTimeSpan& other) const {
    return CompareTo(other) == CDateTime::GreaterThan;
}

}  // namespace Tessel16
