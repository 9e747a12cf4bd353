// date_time.cpp: CDateTime's construction, kind setters, validation, field access, zones,
// derived values (day of year and week, time_t, system time), arithmetic and order. The
// lexical forms live in date_time_text.cpp.
#include "tessel16/date_time.h"

#include <limits>
#include <utility>

#include "platform/clock.h"
#include "tessel16/exception.h"
#include "values/calendar.h"
#include "values/date_time_messages.h"

namespace Tessel16 {

namespace msg = detail::dtmsg;

namespace {

constexpr std::uint64_t kTicksPerSecond = 10000000;  // FILETIME counts 100 ns ticks

const char* KindName(CDateTime::DTType type) {
    static const char* const kNames[] = {"yearZero", "dateTime", "date",   "gYearMonth", "gYear",
                                         "time",     "gDay",     "gMonth", "gMonthDay"};
    if (type < CDateTime::dt_yearZero || type > CDateTime::dt_gMonthDay) {
        return "";
    }
    return kNames[type];
}

[[noreturn]] void ThrowState(const char* format, CDateTime::DTType type) {
    throw CTsInvalidStateException(FormatString(format, KindName(type)));
}

void RequireField(CDateTime::DTType type, DtField field, const char* format) {
    if (!KindUses(type, field)) {
        ThrowState(format, type);
    }
}

// Out-of-range inputs saturate, so validation still reports them as invalid instead of
// letting a narrowing cast turn them into a plausible value.
short SaturateYear(std::int64_t year) {
    if (year > std::numeric_limits<short>::max()) {
        return std::numeric_limits<short>::max();
    }
    if (year < std::numeric_limits<short>::min()) {
        return std::numeric_limits<short>::min();
    }
    return static_cast<short>(year);
}

unsigned char SaturateByte(unsigned value) {
    return static_cast<unsigned char>(value > 255 ? 255 : value);
}

std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
    std::int64_t q = value / divisor;
    if (value % divisor < 0) {
        --q;
    }
    return q;
}

bool IsKnownKind(CDateTime::DTType type) {
    return type >= CDateTime::dt_yearZero && type <= CDateTime::dt_gMonthDay;
}

bool ConversionAllowed(CDateTime::DTType source, CDateTime::DTType target) {
    if (!IsKnownKind(target)) {
        return false;
    }
    if (target == source || target == CDateTime::dt_yearZero) {
        return true;
    }
    switch (source) {
        case CDateTime::dt_dateTime:
            return true;
        case CDateTime::dt_date:
            return target == CDateTime::dt_gDay || target == CDateTime::dt_gMonth ||
                   target == CDateTime::dt_gYear || target == CDateTime::dt_gMonthDay ||
                   target == CDateTime::dt_gYearMonth;
        case CDateTime::dt_gYearMonth:
            return target == CDateTime::dt_gMonth || target == CDateTime::dt_gYear;
        case CDateTime::dt_gMonthDay:
            return target == CDateTime::dt_gDay || target == CDateTime::dt_gMonth;
        default:
            return false;
    }
}

}  // namespace

// The fields are laid out to fill the 16 bytes after the vtable pointer exactly.
static_assert(sizeof(void*) != 8 || sizeof(CDateTime) == 24, "CDateTime fields are padded");

CDateTime::CDateTime()
    : m_zoneHour(0),
      m_zoned(false),
      m_zoneMinuteNegative(false),
      m_zoneMinute(0),
      m_hasOffset(false) {}

CDateTime::CDateTime(DTType type) : CDateTime() { m_type = static_cast<std::int8_t>(type); }

CDateTime::CDateTime(const char* text) : CDateTime() { ParseXSDDateTime(text); }

CDateTime::CDateTime(short year, unsigned char month, unsigned char day) : CDateTime() {
    SetDate(year, month, day);
}

CDateTime::CDateTime(short year, unsigned char month, unsigned char day, unsigned char hour,
                     unsigned char minute, unsigned char second)
    : CDateTime() {
    SetDateTime(year, month, day, hour, minute, second);
}

CDateTime::CDateTime(short year, unsigned char month, unsigned char day, unsigned char hour,
                     unsigned char minute, unsigned char second, unsigned short milli,
                     unsigned short micro, unsigned short nano)
    : CDateTime() {
    SetDateTime(year, month, day, hour, minute, second, milli, micro, nano);
}

CDateTime::CDateTime(const std::time_t& t) : CDateTime() { *this = t; }

CDateTime::CDateTime(const TsSystemTime& st) : CDateTime() { *this = st; }

CDateTime::CDateTime(const TsFileTime& ft) : CDateTime() { *this = ft; }

CDateTime::~CDateTime() = default;

CDateTime& CDateTime::operator=(const std::time_t& t) {
    const std::int64_t seconds = static_cast<std::int64_t>(t);
    const std::int64_t days = FloorDiv(seconds, kSecondsPerDay);
    // Taken from the remainder, as days * 86400 overflows for the most negative time_t.
    std::int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
    }
    std::int64_t year = 0;
    int month = 0;
    int day = 0;
    detail::CivilFromDays(days, year, month, day);
    SetDateTime(SaturateYear(year), static_cast<unsigned char>(month),
                static_cast<unsigned char>(day), static_cast<unsigned char>(rest / 3600),
                static_cast<unsigned char>(rest / 60 % 60), static_cast<unsigned char>(rest % 60));
    return *this;
}

CDateTime& CDateTime::operator=(const TsSystemTime& st) {
    SetDateTime(SaturateYear(st.wYear), SaturateByte(st.wMonth), SaturateByte(st.wDay),
                SaturateByte(st.wHour), SaturateByte(st.wMinute), SaturateByte(st.wSecond),
                st.wMilliseconds, 0, 0);
    return *this;
}

CDateTime& CDateTime::operator=(const TsFileTime& ft) {
    const std::uint64_t ticks = ft.GetTicks();
    // The system-time conversion refuses tick counts with the top bit set.
    if (ticks > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        throw CTsInvalidValueException(msg::kFileTime);
    }
    const std::uint64_t seconds = ticks / kTicksPerSecond;
    const std::int64_t days = static_cast<std::int64_t>(seconds / kSecondsPerDay);
    const std::uint64_t rest = seconds % kSecondsPerDay;
    std::int64_t year = 0;
    int month = 0;
    int day = 0;
    detail::CivilFromDays(detail::DaysFromCivil(1601, 1, 1) + days, year, month, day);
    TsSystemTime st;
    st.wYear = static_cast<std::uint16_t>(year);
    st.wMonth = static_cast<std::uint16_t>(month);
    st.wDay = static_cast<std::uint16_t>(day);
    st.wHour = static_cast<std::uint16_t>(rest / 3600);
    st.wMinute = static_cast<std::uint16_t>(rest / 60 % 60);
    st.wSecond = static_cast<std::uint16_t>(rest % 60);
    st.wMilliseconds = static_cast<std::uint16_t>(ticks % kTicksPerSecond / 10000);
    return *this = st;
}

CDateTime CDateTime::GetTickCount() { return CDateTime(detail::LocalNow()); }

void CDateTime::Clear() { *this = CDateTime(); }

void CDateTime::RequireSettable(DTType requested) const {
    if (GetType() != dt_yearZero && GetType() != requested) {
        throw CTsInvalidStateException(
            FormatString(msg::kSetKind, KindName(requested), KindName(GetType())));
    }
}

void CDateTime::Validate() const {
    const char* name = KindName(GetType());
    if (GetType() == dt_yearZero) {
        throw CTsInvalidValueException(msg::kYearZero);
    }
    if (KindUses(GetType(), DtField::Month)) {
        if (m_month < 1 || m_month > 12) {
            throw CTsInvalidValueException(FormatString(msg::kMonthRange, m_month));
        }
    } else if (m_month != 0) {
        throw CTsInvalidValueException(FormatString(msg::kMonthForType, m_month, name));
    }
    if (KindUses(GetType(), DtField::Year)) {
        if (m_year == 0 || m_year < kMinYear || m_year > kMaxYear) {
            throw CTsInvalidValueException(
                FormatString(msg::kYearRange, m_year, kMinYear, kMaxYear));
        }
    } else if (m_year != 0) {
        throw CTsInvalidValueException(FormatString(msg::kYearForType, m_year, name));
    }
    if (GetType() == dt_dateTime || GetType() == dt_date) {
        if (m_day < 1 || m_day > detail::DaysInMonth(m_year, m_month)) {
            throw CTsInvalidValueException(FormatString(msg::kDayInMonth, m_day));
        }
    } else if (GetType() == dt_gMonthDay) {
        // Without a year, 29 February may still fall in a leap year.
        if (m_day < 1 || m_day > detail::DaysInMonth(2000, m_month)) {
            throw CTsInvalidValueException(FormatString(msg::kDayInMonth, m_day));
        }
    } else if (GetType() == dt_gDay) {
        if (m_day < 1 || m_day > 31) {
            throw CTsInvalidValueException(FormatString(msg::kDay31, m_day));
        }
    } else if (m_day != 0) {
        throw CTsInvalidValueException(FormatString(msg::kDayForType, m_day, name));
    }
    if (KindUses(GetType(), DtField::Hour)) {
        if (m_hour > 23) {
            throw CTsInvalidValueException(FormatString(msg::kHourRange, m_hour));
        }
        if (m_minute > 59) {
            throw CTsInvalidValueException(FormatString(msg::kMinuteRange, m_minute));
        }
        if (m_second > 59) {
            throw CTsInvalidValueException(FormatString(msg::kSecondRange, m_second));
        }
        if (m_milli > 999) {
            throw CTsInvalidValueException(FormatString(msg::kMilliRange, m_milli));
        }
        if (m_micro > 999) {
            throw CTsInvalidValueException(FormatString(msg::kMicroRange, m_micro));
        }
        if (m_nano > 999) {
            throw CTsInvalidValueException(FormatString(msg::kNanoRange, m_nano));
        }
        return;
    }
    const struct {
        unsigned value;
        const char* format;
    } clock[] = {{m_hour, msg::kHourForType},     {m_minute, msg::kMinuteForType},
                 {m_second, msg::kSecondForType}, {m_milli, msg::kMilliForType},
                 {m_micro, msg::kMicroForType},   {m_nano, msg::kNanoForType}};
    for (const auto& field : clock) {
        if (field.value != 0) {
            throw CTsInvalidValueException(
                FormatString(field.format, static_cast<int>(field.value), name));
        }
    }
}

void CDateTime::SetDateTime(short year, unsigned char month, unsigned char day, unsigned char hour,
                            unsigned char minute, unsigned char second) {
    SetDateTime(year, month, day, hour, minute, second, 0, 0, 0);
}

void CDateTime::SetDateTime(short year, unsigned char month, unsigned char day, unsigned char hour,
                            unsigned char minute, unsigned char second, unsigned short milli,
                            unsigned short micro, unsigned short nano) {
    RequireSettable(dt_dateTime);
    CDateTime v(dt_dateTime);
    v.m_year = year;
    v.m_month = month;
    v.m_day = day;
    v.m_hour = hour;
    v.m_minute = minute;
    v.m_second = second;
    v.m_milli = milli;
    v.m_micro = micro;
    v.m_nano = nano;
    v.Validate();
    *this = v;
}

void CDateTime::SetDate(short year, unsigned char month, unsigned char day) {
    RequireSettable(dt_date);
    CDateTime v(dt_date);
    v.m_year = year;
    v.m_month = month;
    v.m_day = day;
    v.Validate();
    *this = v;
}

void CDateTime::SetTime(unsigned char hour, unsigned char minute, unsigned char second) {
    SetTime(hour, minute, second, 0, 0, 0);
}

void CDateTime::SetTime(unsigned char hour, unsigned char minute, unsigned char second,
                        unsigned short milli, unsigned short micro, unsigned short nano) {
    RequireSettable(dt_time);
    CDateTime v(dt_time);
    v.m_hour = hour;
    v.m_minute = minute;
    v.m_second = second;
    v.m_milli = milli;
    v.m_micro = micro;
    v.m_nano = nano;
    v.Validate();
    *this = v;
}

void CDateTime::SetFracTime(unsigned short milli, unsigned short micro, unsigned short nano) {
    SetTime(0, 0, 0, milli, micro, nano);
}

void CDateTime::SetGYear(short year) {
    RequireSettable(dt_gYear);
    CDateTime v(dt_gYear);
    v.m_year = year;
    v.Validate();
    *this = v;
}

void CDateTime::SetGYearMonth(short year, unsigned char month) {
    RequireSettable(dt_gYearMonth);
    CDateTime v(dt_gYearMonth);
    v.m_year = year;
    v.m_month = month;
    v.Validate();
    *this = v;
}

void CDateTime::SetGMonth(unsigned char month) {
    RequireSettable(dt_gMonth);
    CDateTime v(dt_gMonth);
    v.m_month = month;
    v.Validate();
    *this = v;
}

void CDateTime::SetGMonthDay(unsigned char month, unsigned char day) {
    RequireSettable(dt_gMonthDay);
    CDateTime v(dt_gMonthDay);
    v.m_month = month;
    v.m_day = day;
    v.Validate();
    *this = v;
}

void CDateTime::SetGDay(unsigned char day) {
    RequireSettable(dt_gDay);
    CDateTime v(dt_gDay);
    v.m_day = day;
    v.Validate();
    *this = v;
}

void CDateTime::SetDateTime(const CDateTime& source, DTType target) {
    if (!IsKnownKind(source.GetType())) {
        throw CTsInvalidValueException(
            FormatString(msg::kUnknownKind, static_cast<int>(source.GetType())));
    }
    if (!ConversionAllowed(source.GetType(), target)) {
        throw CTsInvalidValueException(
            FormatString(msg::kConvertKind, KindName(target), KindName(source.GetType())));
    }
    if (target == dt_yearZero) {
        Clear();
        return;
    }
    CDateTime v = source;
    v.m_type = static_cast<std::int8_t>(target);
    // Fields the new kind does not carry are dropped, so the copy holds only its own kind.
    if (!KindUses(target, DtField::Year)) {
        v.m_year = 0;
    }
    if (!KindUses(target, DtField::Month)) {
        v.m_month = 0;
    }
    if (!KindUses(target, DtField::Day)) {
        v.m_day = 0;
    }
    if (!KindUses(target, DtField::Hour)) {
        v.m_hour = v.m_minute = v.m_second = 0;
        v.m_milli = v.m_micro = v.m_nano = 0;
    }
    *this = v;
}

short CDateTime::GetYear() const {
    RequireField(GetType(), DtField::Year, msg::kGetYear);
    return m_year;
}
unsigned char CDateTime::GetMonth() const {
    RequireField(GetType(), DtField::Month, msg::kGetMonth);
    return m_month;
}
unsigned char CDateTime::GetDay() const {
    RequireField(GetType(), DtField::Day, msg::kGetDay);
    return m_day;
}
unsigned char CDateTime::GetHour() const {
    RequireField(GetType(), DtField::Hour, msg::kGetHour);
    return m_hour;
}
unsigned char CDateTime::GetMinute() const {
    RequireField(GetType(), DtField::Minute, msg::kGetMinute);
    return m_minute;
}
unsigned char CDateTime::GetSecond() const {
    RequireField(GetType(), DtField::Second, msg::kGetSecond);
    return m_second;
}
unsigned short CDateTime::GetMilliSecond() const {
    RequireField(GetType(), DtField::Second, msg::kGetMilli);
    return m_milli;
}
unsigned short CDateTime::GetMicroSecond() const {
    RequireField(GetType(), DtField::Second, msg::kGetMicro);
    return m_micro;
}
unsigned short CDateTime::GetNanoSecond() const {
    RequireField(GetType(), DtField::Second, msg::kGetNano);
    return m_nano;
}
double CDateTime::GetRealSecond() const {
    RequireField(GetType(), DtField::Second, msg::kGetRealSecond);
    return m_second + m_milli * 0.001 + m_micro * 1e-6 + m_nano * 1e-9;
}

void CDateTime::SetYear(short year) {
    RequireField(GetType(), DtField::Year, msg::kGetYear);
    m_year = year;
}
void CDateTime::SetMonth(unsigned char month) {
    RequireField(GetType(), DtField::Month, msg::kGetMonth);
    m_month = month;
}
void CDateTime::SetDay(unsigned char day) {
    RequireField(GetType(), DtField::Day, msg::kGetDay);
    m_day = day;
}
void CDateTime::SetHour(unsigned char hour) {
    RequireField(GetType(), DtField::Hour, msg::kGetHour);
    m_hour = hour;
}
void CDateTime::SetMinute(unsigned char minute) {
    RequireField(GetType(), DtField::Minute, msg::kGetMinute);
    m_minute = minute;
}
void CDateTime::SetSecond(unsigned char second) {
    RequireField(GetType(), DtField::Second, msg::kGetSecond);
    m_second = second;
}
void CDateTime::SetMilliSecond(unsigned short milli) {
    RequireField(GetType(), DtField::Second, msg::kGetMilli);
    m_milli = milli;
}
void CDateTime::SetMicroSecond(unsigned short micro) {
    RequireField(GetType(), DtField::Second, msg::kGetMicro);
    m_micro = micro;
}
void CDateTime::SetNanoSecond(unsigned short nano) {
    RequireField(GetType(), DtField::Second, msg::kGetNano);
    m_nano = nano;
}

std::string CDateTime::GetTypeAsString() const { return KindName(GetType()); }

std::string CDateTime::GetTypeAsString(DTType type) { return KindName(type); }

bool CDateTime::IsZoneNegative() const {
    return m_hasOffset && (m_zoneHour < 0 || m_zoneMinuteNegative);
}

void CDateTime::SetTimeZone(short hour, unsigned char minute) {
    if (hour < -23 || hour > 23 || minute > 59) {
        throw CTsInvalidValueException(FormatString(msg::kZoneRange, hour, minute));
    }
    m_zoned = true;
    m_hasOffset = true;
    m_zoneHour = hour;
    m_zoneMinute = minute;
    m_zoneMinuteNegative = false;
}

void CDateTime::SetUTC() {
    m_zoned = true;
    m_hasOffset = false;
    m_zoneHour = 0;
    m_zoneMinute = 0;
    m_zoneMinuteNegative = false;
}

short CDateTime::GetZoneHour() const {
    if (!m_hasOffset) {
        throw CTsInvalidStateException(msg::kZoneNotUsed);
    }
    return m_zoneHour;
}

unsigned char CDateTime::GetZoneMinute() const {
    if (!m_hasOffset) {
        throw CTsInvalidStateException(msg::kZoneNotUsed);
    }
    return m_zoneMinute;
}

unsigned short CDateTime::GetDayOfYear() const {
    if (GetType() != dt_dateTime && GetType() != dt_date) {
        ThrowState(msg::kDayOfYear, GetType());
    }
    const int month = m_month >= 1 && m_month <= 12 ? m_month : 1;
    int days = kDaysBeforeMonth[month] + m_day;
    if (month > 2 && detail::IsLeapYear(m_year)) {
        ++days;
    }
    return static_cast<unsigned short>(days);
}

std::time_t CDateTime::GetTime() const {
    if (GetType() != dt_dateTime && GetType() != dt_date) {
        throw CTsInvalidValueException(FormatString(msg::kGetTime, KindName(GetType())));
    }
    CalendarFields f;
    ToUtcFields(f);
    const std::int64_t days = detail::DaysFromCivil(f.year, f.month, f.day);
    return static_cast<std::time_t>(days * kSecondsPerDay + f.hour * 3600 + f.minute * 60 +
                                    f.second);
}

unsigned char CDateTime::GetDayOfWeek() const {
    if (GetType() != dt_dateTime && GetType() != dt_date) {
        ThrowState(msg::kDayOfWeek, GetType());
    }
    // 1970-01-01 was a Thursday (5 when Sunday is 1).
    const std::int64_t days = FloorDiv(static_cast<std::int64_t>(GetTime()), kSecondsPerDay);
    return static_cast<unsigned char>(((days + 4) % 7 + 7) % 7 + 1);
}

TsSystemTime CDateTime::GetAsSystemTime() const {
    if (GetType() != dt_dateTime) {
        throw CTsInvalidValueException(FormatString(msg::kSystemTime, KindName(GetType())));
    }
    TsSystemTime st;
    st.wYear = static_cast<std::uint16_t>(m_year);
    st.wMonth = m_month;
    st.wDayOfWeek = GetDayOfWeek();
    st.wDay = m_day;
    st.wHour = m_hour;
    st.wMinute = m_minute;
    st.wSecond = m_second;
    st.wMilliseconds = m_milli;
    return st;
}

}  // namespace Tessel16
