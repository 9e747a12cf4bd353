// calendar.h: proleptic Gregorian arithmetic shared by CDateTime and CDateTimeSpan: day
// numbers, adding a duration with carries, and the field-by-field order. Works on wide
// integers so that huge durations and intermediate years outside -9999..9999 cannot overflow.
#pragma once

#include <cstdint>
#include <string>

#include "tessel16/date_time.h"

namespace Tessel16::detail {

// The year range of every value, and the calendar constants the CDateTime files share.
inline constexpr int kMinYear = -9999;
inline constexpr int kMaxYear = 9999;
inline constexpr std::int64_t kSecondsPerDay = 86400;
// Days of a common year before the first of each month (index 1..12).
inline constexpr int kDaysBeforeMonth[13] = {0,   0,   31,  59,  90,  120, 151,
                                             181, 212, 243, 273, 304, 334};

// A point on the calendar with every field present. Kinds that lack a field get a
// reference value (1972-12-31 for times, the first of the period for the g-kinds), so
// every kind can be shifted by offsets and durations the same way.
struct CalendarFields {
    std::int64_t year = 1972;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milli = 0;
    int micro = 0;
    int nano = 0;
};

enum class DtField { Year, Month, Day, Hour, Minute, Second };

bool IsLeapYear(std::int64_t year);
// 28 or 29 for February, else the fixed table.
int DaysInMonth(std::int64_t year, int month);
// Days since 1970-01-01 (negative before it); year numbers are taken as written.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);
void CivilFromDays(std::int64_t days, std::int64_t& year, int& month, int& day);
// Whether values of the kind carry the field (Second stands for every part of the second).
bool KindUses(CDateTime::DTType kind, DtField field);

// Adds span (or its negation) by the XSD rule: months with a year carry, then the clock
// from nanoseconds up with carries, then the day clamped to its month and moved by the
// carried days.
void AddSpan(CalendarFields& f, const CDateTimeSpan& span, bool negate);
// Compares field by field (year, month, day, hour, minute, second with fraction): a field
// carried by only one of the kinds gives Indeterminate; fields neither kind carries are
// compared too, as they hold the effect of a zone shift.
CDateTime::DTCompareResult CompareFields(const CalendarFields& a, CDateTime::DTType ka,
                                         const CalendarFields& b, CDateTime::DTType kb);

// ".fff", ".ffffff" or ".fffffffff" with trailing zeros of the last group dropped; "" for 0.
std::string FormatFraction(unsigned milli, unsigned micro, unsigned nano);

}  // namespace Tessel16::detail

namespace Tessel16 {

// The CDateTime member files work in these names throughout.
using detail::CalendarFields;
using detail::DtField;
using detail::KindUses;
using detail::kDaysBeforeMonth;
using detail::kMaxYear;
using detail::kMinYear;
using detail::kSecondsPerDay;

}  // namespace Tessel16
