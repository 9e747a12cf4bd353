// date_time_arithmetic.cpp: CDateTime's calendar arithmetic: moving values between their
// fields and the full calendar form, normalising zones, adding durations, the difference of
// two values and the partial order. Kept apart from the field and kind handling, which
// never needs a calendar.
#include <limits>

#include "tessel16/date_time.h"
#include "tessel16/exception.h"
#include "values/calendar.h"
#include "values/date_time_messages.h"

namespace Tessel16 {

namespace msg = detail::dtmsg;

namespace {

// Twenty thousand years in nanoseconds do not fit in 64 bits.
__extension__ typedef __int128 Wide;

int ClampedYear(std::int64_t year) {
    if (year > std::numeric_limits<short>::max()) {
        return std::numeric_limits<short>::max();
    }
    if (year < std::numeric_limits<short>::min()) {
        return std::numeric_limits<short>::min();
    }
    return static_cast<int>(year);
}

}  // namespace

void CDateTime::ToFields(CalendarFields& f) const {
    f = CalendarFields();
    if (KindUses(GetType(), DtField::Year)) {
        f.year = m_year;
    }
    if (KindUses(GetType(), DtField::Month)) {
        f.month = m_month;
    } else if (GetType() == dt_time || GetType() == dt_gDay) {
        f.month = 12;
    }
    if (KindUses(GetType(), DtField::Day)) {
        f.day = m_day;
    } else if (GetType() == dt_time) {
        f.day = 31;
    }
    f.hour = m_hour;
    f.minute = m_minute;
    f.second = m_second;
    f.milli = m_milli;
    f.micro = m_micro;
    f.nano = m_nano;
}

void CDateTime::ToUtcFields(CalendarFields& f) const {
    ToFields(f);
    if (m_hasOffset) {
        const int hours = m_zoneHour < 0 ? -m_zoneHour : m_zoneHour;
        // West of UTC the local reading is behind, so the offset is added back.
        detail::AddSpan(f, CDateTimeSpan(static_cast<std::uint32_t>(hours), m_zoneMinute, 0),
                        !IsZoneNegative());
    }
}

void CDateTime::FromFields(const CalendarFields& f) {
    if (KindUses(GetType(), DtField::Year)) {
        if (f.year == 0 || f.year < kMinYear || f.year > kMaxYear) {
            throw CTsInvalidValueException(
                FormatString(msg::kYearRange, ClampedYear(f.year), kMinYear, kMaxYear));
        }
        m_year = static_cast<std::int16_t>(f.year);
    }
    if (KindUses(GetType(), DtField::Month)) {
        m_month = static_cast<std::uint8_t>(f.month);
    }
    if (KindUses(GetType(), DtField::Day)) {
        m_day = static_cast<std::uint8_t>(f.day);
    }
    if (KindUses(GetType(), DtField::Hour)) {
        m_hour = static_cast<std::uint8_t>(f.hour);
        m_minute = static_cast<std::uint8_t>(f.minute);
        m_second = static_cast<std::uint8_t>(f.second);
        m_milli = static_cast<std::uint16_t>(f.milli);
        m_micro = static_cast<std::uint16_t>(f.micro);
        m_nano = static_cast<std::uint16_t>(f.nano);
    }
}

CDateTime CDateTime::GetNormalized() const {
    CDateTime copy = *this;
    if (!m_hasOffset) {
        return copy;
    }
    CalendarFields f;
    ToUtcFields(f);
    copy.FromFields(f);
    copy.SetTimeZone(0, 0);
    return copy;
}

void CDateTime::AddDateTimeSpan(const CDateTimeSpan& span, bool negate) {
    CalendarFields f;
    ToFields(f);
    detail::AddSpan(f, span, negate);
    CDateTime v = *this;
    v.FromFields(f);
    *this = v;
}

CDateTime CDateTime::operator+(const CDateTimeSpan& span) const {
    CDateTime v = *this;
    v.AddDateTimeSpan(span, false);
    return v;
}

CDateTime CDateTime::operator-(const CDateTimeSpan& span) const {
    CDateTime v = *this;
    v.AddDateTimeSpan(span, true);
    return v;
}

CDateTime& CDateTime::operator+=(const CDateTimeSpan& span) {
    AddDateTimeSpan(span, false);
    return *this;
}

CDateTime& CDateTime::operator-=(const CDateTimeSpan& span) {
    AddDateTimeSpan(span, true);
    return *this;
}

// Callers of a difference want the elapsed time, so it is computed exactly rather than
// returned as zero; days are the largest unit because months and years vary in length.
CDateTimeSpan CDateTime::operator-(const CDateTime& other) const {
    if (other.GetType() != GetType()) {
        throw CTsInvalidValueException(FormatString(msg::kSubtractKind,
                                                    GetTypeAsString(other.GetType()).c_str(),
                                                    GetTypeAsString(GetType()).c_str()));
    }
    CalendarFields a;
    CalendarFields b;
    ToUtcFields(a);
    other.ToUtcFields(b);
    auto nanos = [](const CalendarFields& f) -> Wide {
        const std::int64_t seconds =
            detail::DaysFromCivil(f.year, f.month, f.day) * kSecondsPerDay + f.hour * 3600 +
            f.minute * 60 + f.second;
        return (static_cast<Wide>(seconds) * 1000000 + f.milli * 1000 + f.micro) * 1000 + f.nano;
    };
    const Wide diff = nanos(a) - nanos(b);
    const bool negative = diff < 0;
    Wide rest = negative ? -diff : diff;
    const auto take = [&rest](int unit) {
        const auto part = static_cast<std::uint64_t>(rest % unit);
        rest /= unit;
        return part;
    };
    const auto nano = static_cast<unsigned short>(take(1000));
    const auto micro = static_cast<unsigned short>(take(1000));
    const auto milli = static_cast<unsigned short>(take(1000));
    const auto seconds = take(60);
    const auto minutes = take(60);
    const auto hours = static_cast<std::uint32_t>(take(24));
    CDateTimeSpan span(0, 0, static_cast<std::uint32_t>(rest), hours, minutes, seconds, milli,
                       micro, nano);
    if (negative) {
        span.Negate();
    }
    return span;
}

CDateTime::DTCompareResult CDateTime::CompareTo(const CDateTime& other) const {
    CalendarFields a;
    CalendarFields b;
    ToUtcFields(a);
    other.ToUtcFields(b);
    if (m_zoned == other.m_zoned) {
        return detail::CompareFields(a, GetType(), b, other.GetType());
    }
    // An unzoned value may lie anywhere from 14 hours before to 14 hours after the same
    // reading in UTC; it is ordered only when the whole window is on one side.
    const CDateTimeSpan window(14, 0, 0);
    if (!m_zoned) {
        CalendarFields earliest = a;
        detail::AddSpan(earliest, window, true);
        if (detail::CompareFields(earliest, GetType(), b, other.GetType()) == GreaterThan) {
            return GreaterThan;
        }
        CalendarFields latest = a;
        detail::AddSpan(latest, window, false);
        if (detail::CompareFields(latest, GetType(), b, other.GetType()) == LessThan) {
            return LessThan;
        }
        return Indeterminate;
    }
    CalendarFields earliest = b;
    detail::AddSpan(earliest, window, true);
    if (detail::CompareFields(a, GetType(), earliest, other.GetType()) == LessThan) {
        return LessThan;
    }
    CalendarFields latest = b;
    detail::AddSpan(latest, window, false);
    if (detail::CompareFields(a, GetType(), latest, other.GetType()) == GreaterThan) {
        return GreaterThan;
    }
    return Indeterminate;
}

bool CDateTime::operator==(const CDateTime& other) const { return CompareTo(other) == Equal; }
bool CDateTime::operator!=(const CDateTime& other) const { return CompareTo(other) != Equal; }
bool CDateTime::operator<(const CDateTime& other) const { return CompareTo(other) == LessThan; }
bool CDateTime::operator<=(const CDateTime& other) const {
    const DTCompareResult r = CompareTo(other);
    return r == LessThan || r == Equal;
}
bool CDateTime::operator>(const CDateTime& other) const { return CompareTo(other) == GreaterThan; }
bool CDateTime::operator>=(const CDateTime& other) const {
    const DTCompareResult r = CompareTo(other);
    return r == GreaterThan || r == Equal;
}

}  // namespace Tessel16
