// date_time.h: the XSD date and time value (CDateTime, one class for all eight kinds) and the
// XSD duration (CDateTimeSpan). They live in one header because each needs the other: a
// duration is ordered by adding it to dateTimes, and dateTimes add and subtract durations.
// Both are plain values, copied by value and unsynchronised.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "tessel16/export.h"

namespace Tessel16 {

class CDateTimeSpan;
namespace detail {
struct CalendarFields;
}

// Broken-down calendar time with the field names and widths of the Windows structure, so
// code written against that structure ports unchanged. wDayOfWeek, when filled by
// CDateTime::GetAsSystemTime, runs 1 (Sunday) to 7 (Saturday), like CDateTime::GetDayOfWeek.
struct TsSystemTime {
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0;
    std::uint16_t wDayOfWeek = 0;
    std::uint16_t wDay = 0;
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;
    std::uint16_t wMilliseconds = 0;
};

// A count of 100-nanosecond ticks since 1601-01-01T00:00:00 UTC, split in two 32-bit
// halves like the Windows structure.
struct TsFileTime {
    std::uint32_t dwLowDateTime = 0;
    std::uint32_t dwHighDateTime = 0;

    std::uint64_t GetTicks() const {
        return (static_cast<std::uint64_t>(dwHighDateTime) << 32) | dwLowDateTime;
    }
    static TsFileTime FromTicks(std::uint64_t ticks) {
        TsFileTime ft;
        ft.dwLowDateTime = static_cast<std::uint32_t>(ticks & 0xFFFFFFFFu);
        ft.dwHighDateTime = static_cast<std::uint32_t>(ticks >> 32);
        return ft;
    }
};

// A value of one of the XSD kinds dateTime, date, time, gYearMonth, gYear, gMonthDay, gMonth,
// gDay: calendar and clock fields down to the nanosecond and an optional time zone.
// Failures throw CTsInvalidValueException (bad text or field values) or
// CTsInvalidStateException (an operation the value's kind does not support).
class TESSEL16_API CDateTime {
public:
    enum DTType : std::int32_t {
        dt_yearZero = 0,
        dt_dateTime = 1,
        dt_date = 2,
        dt_gYearMonth = 3,
        dt_gYear = 4,
        dt_time = 5,
        dt_gDay = 6,
        dt_gMonth = 7,
        dt_gMonthDay = 8
    };

    enum DTCompareResult : std::int32_t {
        Equal = 0,
        LessThan = 1,
        GreaterThan = 2,
        Indeterminate = 3
    };

    // A cleared value: kind dt_yearZero, every field 0.
    CDateTime();
    // Every field 0 under the given kind; not validated.
    CDateTime(DTType type);  // NOLINT: converting by design
    // Parses an XSD dateTime; throws CTsInvalidValueException on a bad form.
    CDateTime(const char* text);  // NOLINT
    // A validated date.
    CDateTime(short year, unsigned char month, unsigned char day);
    // A validated dateTime without fraction or zone.
    CDateTime(short year, unsigned char month, unsigned char day, unsigned char hour,
              unsigned char minute, unsigned char second);
    // A validated dateTime with fraction, without zone.
    CDateTime(short year, unsigned char month, unsigned char day, unsigned char hour,
              unsigned char minute, unsigned char second, unsigned short milli,
              unsigned short micro, unsigned short nano);
    // The time_t broken down as UTC: a dateTime without fraction or zone.
    CDateTime(const std::time_t& t);  // NOLINT
    // A dateTime from the calendar fields and milliseconds; wDayOfWeek is ignored.
    CDateTime(const TsSystemTime& st);  // NOLINT
    // Ticks since 1601 as a dateTime (UTC fields, no zone); ticks beyond 2^63 - 1 throw
    // CTsInvalidValueException "Failed to convert FILETIME to SYSTEMTIME".
    CDateTime(const TsFileTime& ft);  // NOLINT
    CDateTime(const CDateTime& other) = default;
    CDateTime& operator=(const CDateTime& other) = default;
    virtual ~CDateTime();

    // These three go through SetDateTime, so they throw CTsInvalidStateException when the
    // value already holds a kind other than dateTime or yearZero.
    CDateTime& operator=(const std::time_t& t);
    CDateTime& operator=(const TsSystemTime& st);
    CDateTime& operator=(const TsFileTime& ft);

    // The present local date and time as a dateTime without zone, to the millisecond.
    static CDateTime GetTickCount();

    // Kind setters: each fills one kind's fields, clears the zone and validates. They throw
    // CTsInvalidStateException when the value already holds another kind than this one or
    // dt_yearZero, and CTsInvalidValueException when a field is out of range.
    void SetDateTime(short year, unsigned char month, unsigned char day, unsigned char hour,
                     unsigned char minute, unsigned char second);
    void SetDateTime(short year, unsigned char month, unsigned char day, unsigned char hour,
                     unsigned char minute, unsigned char second, unsigned short milli,
                     unsigned short micro, unsigned short nano);
    void SetDate(short year, unsigned char month, unsigned char day);
    void SetTime(unsigned char hour, unsigned char minute, unsigned char second);
    void SetTime(unsigned char hour, unsigned char minute, unsigned char second,
                 unsigned short milli, unsigned short micro, unsigned short nano);
    // A time of only a fraction of a second: hour, minute and second are 0.
    void SetFracTime(unsigned short milli, unsigned short micro, unsigned short nano);
    void SetGYear(short year);
    void SetGYearMonth(short year, unsigned char month);
    void SetGMonth(unsigned char month);
    void SetGMonthDay(unsigned char month, unsigned char day);
    void SetGDay(unsigned char day);
    // Copies source under the kind target when source holds the fields target needs (any
    // kind from dateTime, the g-kinds from date, narrower g-kinds from gYearMonth and
    // gMonthDay); else throws CTsInvalidValueException.
    void SetDateTime(const CDateTime& source, DTType target);

    // Field access. Each throws CTsInvalidStateException when the kind does not use the
    // field. The field setters store the value as given, without range checks.
    short GetYear() const;
    unsigned char GetMonth() const;
    unsigned char GetDay() const;
    unsigned char GetHour() const;
    unsigned char GetMinute() const;
    unsigned char GetSecond() const;
    unsigned short GetMilliSecond() const;
    unsigned short GetMicroSecond() const;
    unsigned short GetNanoSecond() const;
    // Seconds with the fraction, e.g. 52.5.
    double GetRealSecond() const;
    void SetYear(short year);
    void SetMonth(unsigned char month);
    void SetDay(unsigned char day);
    void SetHour(unsigned char hour);
    void SetMinute(unsigned char minute);
    void SetSecond(unsigned char second);
    void SetMilliSecond(unsigned short milli);
    void SetMicroSecond(unsigned short micro);
    void SetNanoSecond(unsigned short nano);

    DTType GetType() const { return static_cast<DTType>(m_type); }
    // "dateTime", "gYearMonth" and so on; "" for a number outside the enum.
    std::string GetTypeAsString() const;
    static std::string GetTypeAsString(DTType type);

    // True for Z and for any explicit offset.
    bool IsUTC() const { return m_zoned; }
    // True only for an explicit offset (+hh:mm or -hh:mm).
    bool HasTimeZone() const { return m_hasOffset; }
    // True for an offset west of UTC, including -00:mm, whose hour field alone cannot carry
    // the sign.
    bool IsZoneNegative() const;
    // An explicit offset; hour -23..23 carries the sign, minute 0..59. Throws
    // CTsInvalidValueException "Invalid TimeZone [h:m]" outside those ranges.
    void SetTimeZone(short hour, unsigned char minute);
    // Marks the value as UTC (Z).
    void SetUTC();
    // The offset's parts; CTsInvalidStateException when there is no explicit offset.
    short GetZoneHour() const;
    unsigned char GetZoneMinute() const;

    // 1 for 1 January; dateTime and date only (else CTsInvalidStateException).
    unsigned short GetDayOfYear() const;
    // 1 (Sunday) to 7 (Saturday) of the UTC instant; dateTime and date only (else
    // CTsInvalidStateException).
    unsigned char GetDayOfWeek() const;
    // Seconds since 1970-01-01T00:00:00Z of the normalised value; a date counts as midnight
    // and a value without zone is read as UTC. dateTime and date only (else
    // CTsInvalidValueException).
    std::time_t GetTime() const;
    // The fields to the millisecond; dateTime only (else CTsInvalidValueException). The
    // structure's unsigned year cannot hold years before 1: they come out wrapped.
    TsSystemTime GetAsSystemTime() const;
    // A copy moved to +00:00 when the value has an explicit offset; else an unchanged copy.
    CDateTime GetNormalized() const;

    // Parsers: the kind comes from the text's shape. Each throws CTsInvalidValueException
    // on a bad form or field; the value is left unchanged then.
    void ParseXSDDateTime(const char* text);
    void ParseXSDDate(const char* text);  // CCYY-MM-DD and the g-kinds
    void ParseXSDTime(const char* text);
    // The XSD lexical form of the value's kind ("Error: Date Not Set" for a value that holds
    // nothing).
    std::string ToString() const;
    // format "s": as ToString(); null, "" or "G": ""; anything else "Unknown Format: <fmt>".
    std::string ToString(const char* format) const;

    // Adding a duration follows the XSD rule (months first, then the clock with carries,
    // then days across month ends); the zone is kept. A result year outside -9999..9999 or
    // equal to 0 throws CTsInvalidValueException.
    CDateTime operator+(const CDateTimeSpan& span) const;
    CDateTime operator-(const CDateTimeSpan& span) const;
    CDateTime& operator+=(const CDateTimeSpan& span);
    CDateTime& operator-=(const CDateTimeSpan& span);
    // The exact elapsed time this - other as days, hours, minutes, seconds and fraction
    // (negative when other is later), so that other + (this - other) == this. Both values
    // must be of the same kind (else CTsInvalidValueException); a value without zone is
    // read as UTC.
    CDateTimeSpan operator-(const CDateTime& other) const;

    // The XSD partial order, with the +-14 hour rule when only one value has a zone.
    DTCompareResult CompareTo(const CDateTime& other) const;
    bool operator==(const CDateTime& other) const;
    bool operator!=(const CDateTime& other) const;  // also true for Indeterminate
    bool operator<(const CDateTime& other) const;
    bool operator<=(const CDateTime& other) const;
    bool operator>(const CDateTime& other) const;
    bool operator>=(const CDateTime& other) const;

private:
    void Clear();
    void Validate() const;
    void RequireSettable(DTType requested) const;
    void AddDateTimeSpan(const CDateTimeSpan& span, bool negate);
    // Every field, with reference values for those the kind lacks.
    void ToFields(detail::CalendarFields& f) const;
    // As ToFields, shifted to UTC when the value has an explicit offset.
    void ToUtcFields(detail::CalendarFields& f) const;
    // Takes back the fields the kind uses; throws when the year left -9999..9999 or is 0.
    void FromFields(const detail::CalendarFields& f);

    // Packed into 16 bytes beside the vtable pointer, since a value is a field of many
    // generated classes. The bit-fields are set by every constructor (C++17 gives them no
    // default member initializers).
    std::int16_t m_year = 0;
    std::uint16_t m_milli = 0;
    std::uint16_t m_micro = 0;
    std::uint16_t m_nano = 0;
    std::uint8_t m_month = 0;
    std::uint8_t m_day = 0;
    std::uint8_t m_hour = 0;
    std::uint8_t m_minute = 0;
    std::uint8_t m_second = 0;
    // A DTType; a number outside the enumeration is kept modulo 256.
    std::int8_t m_type = dt_yearZero;
    // -23..23 and 0..59, as SetTimeZone allows.
    std::int8_t m_zoneHour : 6;
    bool m_zoned : 1;
    // The hour field cannot be -0, so offsets -00:01 .. -00:59 keep their sign here.
    bool m_zoneMinuteNegative : 1;
    std::uint8_t m_zoneMinute : 6;
    bool m_hasOffset : 1;
};

// An XSD duration: a sign and unnormalised counts (90 minutes stay 90 minutes) of years,
// months, days, hours, minutes, seconds and fractional seconds.
class TESSEL16_API CDateTimeSpan {
public:
    // A zero duration.
    CDateTimeSpan();
    CDateTimeSpan(unsigned short years, std::uint32_t months, std::uint32_t days,
                  std::uint32_t hours, unsigned long long minutes, unsigned long long seconds,
                  unsigned short milli, unsigned short micro, unsigned short nano);
    CDateTimeSpan(unsigned short years, std::uint32_t months, std::uint32_t days,
                  std::uint32_t hours, unsigned long long minutes, unsigned long long seconds);
    CDateTimeSpan(std::uint32_t hours, unsigned long long minutes, unsigned long long seconds);
    CDateTimeSpan(const CDateTimeSpan& other) = default;
    CDateTimeSpan& operator=(const CDateTimeSpan& other) = default;
    virtual ~CDateTimeSpan();

    // Each sets the fields as the matching constructor does, sign positive.
    void SetDateTimeSpan(unsigned short years, std::uint32_t months, std::uint32_t days,
                         std::uint32_t hours, unsigned long long minutes,
                         unsigned long long seconds, unsigned short milli, unsigned short micro,
                         unsigned short nano);
    void SetDateTimeSpan(unsigned short years, std::uint32_t months, std::uint32_t days,
                         std::uint32_t hours, unsigned long long minutes,
                         unsigned long long seconds);
    void SetDateTimeSpan(std::uint32_t hours, unsigned long long minutes,
                         unsigned long long seconds);

    unsigned short GetYears() const { return m_years; }
    std::uint32_t GetMonths() const { return m_months; }
    std::uint32_t GetDays() const { return m_days; }
    std::uint32_t GetHours() const { return m_hours; }
    unsigned long long GetMinutes() const { return m_minutes; }
    unsigned long long GetSeconds() const { return m_seconds; }
    unsigned short GetMilliSeconds() const { return m_milli; }
    unsigned short GetMicroSeconds() const { return m_micro; }
    unsigned short GetNanoSeconds() const { return m_nano; }
    // The setters store the value as given, without range checks.
    void SetYears(unsigned short v) { m_years = v; }
    void SetMonths(std::uint32_t v) { m_months = v; }
    void SetDays(std::uint32_t v) { m_days = v; }
    void SetHours(std::uint32_t v) { m_hours = v; }
    void SetMinutes(unsigned long long v) { m_minutes = v; }
    void SetSeconds(unsigned long long v) { m_seconds = v; }
    void SetMilliSeconds(unsigned short v) { m_milli = v; }
    void SetMicroSeconds(unsigned short v) { m_micro = v; }
    void SetNanoSeconds(unsigned short v) { m_nano = v; }

    bool IsNegative() const { return m_negative; }
    // Reverses the sign.
    void Negate() { m_negative = !m_negative; }
    // A copy whose sign is negative, whatever the sign of this value.
    CDateTimeSpan GetAsNegative() const;

    // Parses [-]PnYnMnDTnHnMn.fffS; throws CTsInvalidValueException on a bad form (the
    // value is left unchanged then).
    void ParseXSDDuration(const char* text);
    // The XSD lexical form; a zero duration is "P".
    std::string ToString() const;

    // The XSD order: both durations are added to four reference dateTimes and the four
    // results must agree, else Indeterminate (P1M against P30D).
    CDateTime::DTCompareResult CompareTo(const CDateTimeSpan& other) const;
    bool operator==(const CDateTimeSpan& other) const;
    bool operator!=(const CDateTimeSpan& other) const;  // also true for Indeterminate
    bool operator<(const CDateTimeSpan& other) const;
    bool operator>(const CDateTimeSpan& other) const;

private:
    std::uint16_t m_years = 0;
    std::uint32_t m_months = 0;
    std::uint32_t m_days = 0;
    std::uint32_t m_hours = 0;
    std::uint64_t m_minutes = 0;
    std::uint64_t m_seconds = 0;
    std::uint16_t m_milli = 0;
    std::uint16_t m_micro = 0;
    std::uint16_t m_nano = 0;
    bool m_negative = false;
};

}  // namespace Tessel16
