// calendar.cpp: the calendar arithmetic behind CDateTime and CDateTimeSpan. Day numbers use
// the era-based civil-date conversion, so adding millions of days costs no more than adding
// one (a month-by-month walk would hang on a huge duration).
#include "values/calendar.h"

namespace Tessel16::detail {
namespace {

// Durations carry 64-bit minute and second counts; their sum with carries needs more.
__extension__ typedef __int128 Wide;

template <class T>
T FloorDiv(T value, T divisor) {
    T q = value / divisor;
    if (value % divisor < 0) {
        --q;
    }
    return q;
}

template <class T>
T FloorMod(T value, T divisor) {
    T r = value % divisor;
    if (r < 0) {
        r += divisor;
    }
    return r;
}

// One clock field: returns the new field value and leaves the carry for the next field.
int Step(int field, int sign, Wide amount, Wide& carry, int radix) {
    Wide t = static_cast<Wide>(field) + (sign < 0 ? -amount : amount) + carry;
    carry = FloorDiv<Wide>(t, radix);
    return static_cast<int>(FloorMod<Wide>(t, radix));
}

constexpr int kDaysInMonth[13] = {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

}  // namespace

bool IsLeapYear(std::int64_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(std::int64_t year, int month) {
    if (month < 1 || month > 12) {
        return 31;
    }
    if (month == 2 && !IsLeapYear(year)) {
        return 28;
    }
    return kDaysInMonth[month];
}

std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    const std::int64_t y = month <= 2 ? year - 1 : year;
    const std::int64_t era = FloorDiv<std::int64_t>(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t days, std::int64_t& year, int& month, int& day) {
    const std::int64_t z = days + 719468;
    const std::int64_t era = FloorDiv<std::int64_t>(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = yoe + era * 400 + (month <= 2 ? 1 : 0);
}

bool KindUses(CDateTime::DTType kind, DtField field) {
    switch (field) {
        case DtField::Year:
            return kind == CDateTime::dt_dateTime || kind == CDateTime::dt_date ||
                   kind == CDateTime::dt_gYearMonth || kind == CDateTime::dt_gYear;
        case DtField::Month:
            return kind == CDateTime::dt_dateTime || kind == CDateTime::dt_date ||
                   kind == CDateTime::dt_gYearMonth || kind == CDateTime::dt_gMonthDay ||
                   kind == CDateTime::dt_gMonth;
        case DtField::Day:
            return kind == CDateTime::dt_dateTime || kind == CDateTime::dt_date ||
                   kind == CDateTime::dt_gMonthDay || kind == CDateTime::dt_gDay;
        case DtField::Hour:
        case DtField::Minute:
        case DtField::Second:
            return kind == CDateTime::dt_dateTime || kind == CDateTime::dt_time;
    }
    return false;
}

void AddSpan(CalendarFields& f, const CDateTimeSpan& span, bool negate) {
    const int sign = (span.IsNegative() != negate) ? -1 : 1;

    const std::int64_t t = f.month + sign * static_cast<std::int64_t>(span.GetMonths());
    f.month = static_cast<int>(FloorMod<std::int64_t>(t - 1, 12) + 1);
    f.year += sign * static_cast<std::int64_t>(span.GetYears()) + FloorDiv<std::int64_t>(t - 1, 12);

    Wide carry = 0;
    f.nano = Step(f.nano, sign, span.GetNanoSeconds(), carry, 1000);
    f.micro = Step(f.micro, sign, span.GetMicroSeconds(), carry, 1000);
    f.milli = Step(f.milli, sign, span.GetMilliSeconds(), carry, 1000);
    f.second = Step(f.second, sign, static_cast<Wide>(span.GetSeconds()), carry, 60);
    f.minute = Step(f.minute, sign, static_cast<Wide>(span.GetMinutes()), carry, 60);
    f.hour = Step(f.hour, sign, span.GetHours(), carry, 24);

    const int last = DaysInMonth(f.year, f.month);
    if (f.day > last) {
        f.day = last;
    }
    const Wide days = (sign < 0 ? -static_cast<Wide>(span.GetDays()) : span.GetDays()) + carry;
    // Walking month by month from a valid day is plain day-number arithmetic.
    CivilFromDays(DaysFromCivil(f.year, f.month, f.day) + static_cast<std::int64_t>(days), f.year,
                  f.month, f.day);
}

CDateTime::DTCompareResult CompareFields(const CalendarFields& a, CDateTime::DTType ka,
                                         const CalendarFields& b, CDateTime::DTType kb) {
    const std::int64_t av[6] = {
        a.year,
        a.month,
        a.day,
        a.hour,
        a.minute,
        (static_cast<std::int64_t>(a.second) * 1000 + a.milli) * 1000000 + a.micro * 1000 + a.nano};
    const std::int64_t bv[6] = {
        b.year,
        b.month,
        b.day,
        b.hour,
        b.minute,
        (static_cast<std::int64_t>(b.second) * 1000 + b.milli) * 1000000 + b.micro * 1000 + b.nano};
    const DtField fields[6] = {DtField::Year, DtField::Month,  DtField::Day,
                               DtField::Hour, DtField::Minute, DtField::Second};
    for (int i = 0; i < 6; ++i) {
        if (KindUses(ka, fields[i]) != KindUses(kb, fields[i])) {
            return CDateTime::Indeterminate;
        }
        if (av[i] != bv[i]) {
            return av[i] < bv[i] ? CDateTime::LessThan : CDateTime::GreaterThan;
        }
    }
    return CDateTime::Equal;
}

std::string FormatFraction(unsigned milli, unsigned micro, unsigned nano) {
    char digits[10];
    int count = 0;
    const unsigned groups[3] = {milli, micro, nano};
    const int used = nano != 0 ? 3 : micro != 0 ? 2 : milli != 0 ? 1 : 0;
    for (int g = 0; g < used; ++g) {
        digits[count++] = static_cast<char>('0' + groups[g] / 100 % 10);
        digits[count++] = static_cast<char>('0' + groups[g] / 10 % 10);
        digits[count++] = static_cast<char>('0' + groups[g] % 10);
    }
    while (count > 0 && digits[count - 1] == '0') {
        --count;
    }
    if (count == 0) {
        return std::string();
    }
    return "." + std::string(digits, static_cast<std::size_t>(count));
}

}  // namespace Tessel16::detail
