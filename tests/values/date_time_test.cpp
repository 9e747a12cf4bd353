// date_time_test.cpp: CDateTime's lexical forms, validation messages, kinds, zones,
// arithmetic, order and platform conversions, mostly as tables of cases; plus round trips
// over generated values and a cross-check against calendar data computed by Python.
#include "tessel16/date_time.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/expect_exception.h"
#include "support/test_table.h"
#include "tessel16/exception.h"

namespace Tessel16 {
namespace {

using test::ThrowsExactly;
using DT = CDateTime;

// Parses `text` in the form named "Date", "Time" or "DateTime".
CDateTime Parse(const std::string& form, const char* text) {
    CDateTime v;
    if (form == "Date") {
        v.ParseXSDDate(text);
    } else if (form == "Time") {
        v.ParseXSDTime(text);
    } else {
        v.ParseXSDDateTime(text);
    }
    return v;
}

// Parses `text` in the form its shape shows.
CDateTime ParseAny(const char* text) {
    const bool time = text[0] != '-' && text[1] != '\0' && text[2] == ':';
    return Parse(std::strchr(text, 'T') ? "DateTime" : time ? "Time" : "Date", text);
}

CDateTime::DTType KindNamed(const std::string& name) {
    for (int i = 0; i < 9; ++i) {
        const auto kind = static_cast<DT::DTType>(i);
        if (CDateTime::GetTypeAsString(kind) == name) {
            return kind;
        }
    }
    return static_cast<DT::DTType>(std::stoi(name));  // a kind past the enumeration
}

TEST(DateTime, ParsesAndWritesEveryForm) {
    for (const test::TableRow& c : test::ReadTable("values/date_time_good.txt")) {
        SCOPED_TRACE(c.line);
        const CDateTime v = Parse(c[0], c[1].c_str());
        EXPECT_EQ(v.GetType(), KindNamed(c[2]));
        EXPECT_EQ(v.ToString(), c[3]);
    }
}

TEST(DateTime, RejectsMalformedAndInvalidText) {
    for (const test::TableRow& c : test::ReadTable("values/date_time_bad.txt")) {
        SCOPED_TRACE(c.line);
        CDateTime target("2010-05-05T05:05:05Z");
        const char* text = c[1] == "(null)" ? nullptr : c[1].c_str();
        const auto call = [&] { target = Parse(c[0], text); };
        EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(call, c[2]));
        EXPECT_EQ(target.ToString(), "2010-05-05T05:05:05Z");
    }
}

// Calls the constructor, assignment or kind setter a row of date_time_setters.txt names with
// its numbers.
CDateTime CallSetter(const std::string& call, const std::string& numbers) {
    std::vector<long long> n;
    std::istringstream in(numbers);
    for (long long v; in >> v;) n.push_back(v);
    n.resize(9, 0);
    const auto s = [&](std::size_t i) { return static_cast<short>(n[i]); };
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(n[i]); };
    const auto w = [&](std::size_t i) { return static_cast<unsigned short>(n[i]); };
    CDateTime v;
    if (call == "date") v = CDateTime(s(0), b(1), b(2));
    if (call == "datetime") v = CDateTime(s(0), b(1), b(2), b(3), b(4), b(5), w(6), w(7), w(8));
    if (call == "systemtime") v = CDateTime(TsSystemTime{w(0), w(1), 0, w(2)});
    if (call == "filetime") v = CDateTime(TsFileTime::FromTicks(static_cast<std::uint64_t>(n[0])));
    if (call == "time_t") v = CDateTime(static_cast<std::time_t>(n[0]));
    if (call == "=filetime") v = TsFileTime::FromTicks(static_cast<std::uint64_t>(n[0]));
    if (call == "=time_t") v = static_cast<std::time_t>(n[0]);
    if (call == "SetGYear") v.SetGYear(s(0));
    if (call == "SetGYearMonth") v.SetGYearMonth(s(0), b(1));
    if (call == "SetGMonth") v.SetGMonth(b(0));
    if (call == "SetGMonthDay") v.SetGMonthDay(b(0), b(1));
    if (call == "SetGDay") v.SetGDay(b(0));
    if (call == "SetTime") v.SetTime(b(0), b(1), b(2));
    if (call == "SetFracTime") v.SetFracTime(w(0), w(1), w(2));
    if (call == "SetTimeZone") v.SetTimeZone(s(0), b(1));
    return v;
}

TEST(DateTime, KindSettersValidate) {
    for (const test::TableRow& c : test::ReadTable("values/date_time_setters.txt")) {
        SCOPED_TRACE(c.line);
        if (c[2].compare(0, 2, "= ") == 0) {
            EXPECT_EQ(CallSetter(c[0], c[1]).ToString(), c[2].substr(2));
        } else {
            EXPECT_TRUE(
                ThrowsExactly<CTsInvalidValueException>([&] { CallSetter(c[0], c[1]); }, c[2]));
        }
    }
}

// Runs the operation a row of date_time_fields.txt or date_time_kind_operations.txt names on
// a copy of `v`; what a getter gives comes back as text.
std::string Operate(CDateTime v, const std::string& operation) {
    using std::to_string;
    if (operation == "GetYear") return to_string(v.GetYear());
    if (operation == "GetMonth") return to_string(v.GetMonth());
    if (operation == "GetDay") return to_string(v.GetDay());
    if (operation == "GetHour") return to_string(v.GetHour());
    if (operation == "GetMinute") return to_string(v.GetMinute());
    if (operation == "GetSecond") return to_string(v.GetSecond());
    if (operation == "GetRealSecond") return to_string(v.GetRealSecond());
    if (operation == "GetMilliSecond") return to_string(v.GetMilliSecond());
    if (operation == "GetMicroSecond") return to_string(v.GetMicroSecond());
    if (operation == "GetNanoSecond") return to_string(v.GetNanoSecond());
    if (operation == "GetZoneHour") return to_string(v.GetZoneHour());
    if (operation == "GetZoneMinute") return to_string(v.GetZoneMinute());
    if (operation == "IsUTC") return v.IsUTC() ? "true" : "false";
    if (operation == "HasTimeZone") return v.HasTimeZone() ? "true" : "false";
    if (operation == "GetDayOfYear") return to_string(v.GetDayOfYear());
    if (operation == "GetDayOfWeek") return to_string(v.GetDayOfWeek());
    if (operation == "GetTime") return to_string(v.GetTime());
    if (operation == "GetAsSystemTime") v.GetAsSystemTime();
    if (operation == "SetHour") v.SetHour(1);
    if (operation == "SetNanoSecond") v.SetNanoSecond(1);
    if (operation == "SetMonth") v.SetMonth(1);
    if (operation == "SetDate") v.SetDate(2004, 1, 1);
    if (operation == "SetGDay") v.SetGDay(1);
    if (operation == "AssignTime_t") v = std::time_t(0);
    if (operation == "SubtractTime") (void)(v - Parse("Time", "10:00:00"));
    return "";
}

TEST(DateTime, ParsedFieldsAndZone) {
    for (const test::TableRow& c : test::ReadTable("values/date_time_fields.txt")) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(Operate(ParseAny(c[0].c_str()), c[1]), c[2]);
    }
    // The kind comes from the text, not from the kind the value held before.
    CDateTime month(DT::dt_date);
    month.ParseXSDDate("--05");
    EXPECT_EQ(month.GetType(), DT::dt_gMonth);
    EXPECT_EQ(month.GetMonth(), 5);
}

TEST(DateTime, OperationsOutsideTheKindAreRefused) {
    for (const test::TableRow& c : test::ReadTable("values/date_time_kind_operations.txt")) {
        SCOPED_TRACE(c.line);
        const CDateTime value = c[0] == "(unset)" ? CDateTime() : ParseAny(c[0].c_str());
        const auto call = [&] { Operate(value, c[1]); };
        if (c[2] == "state") {
            EXPECT_TRUE(ThrowsExactly<CTsInvalidStateException>(call, c[3]));
        } else {
            EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(call, c[3]));
        }
    }
}

TEST(DateTime, KindConversionTable) {
    const CDateTime source("2004-07-08T09:10:11.5+01:00");
    CDateTime date;
    date.SetDateTime(source, DT::dt_date);
    for (const test::TableRow& c : test::ReadTable("values/date_time_kind_conversions.txt")) {
        SCOPED_TRACE(c.line);
        CDateTime v;
        v.SetDateTime(c[0] == "date" ? date : source, KindNamed(c[1]));
        EXPECT_EQ(v.GetTypeAsString(), c[1]);
        EXPECT_EQ(v.ToString(), c[2]);
    }
    CDateTime ym;
    ym.SetDateTime(date, DT::dt_gYearMonth);
    CDateTime month;
    month.SetDateTime(ym, DT::dt_gMonth);
    EXPECT_EQ(month.ToString(), "--07+01:00");

    for (const test::TableRow& c : test::ReadTable("values/date_time_kind_refusals.txt")) {
        SCOPED_TRACE(c.line);
        CDateTime target;
        EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
            [&] { target.SetDateTime(CDateTime(KindNamed(c[0])), KindNamed(c[1])); }, c[2]));
    }
    // Every kind's name was read back through KindNamed(); kinds past the enumeration have none.
    EXPECT_EQ(CDateTime::GetTypeAsString(static_cast<DT::DTType>(9)), "");
    EXPECT_EQ(CDateTime::GetTypeAsString(static_cast<DT::DTType>(-1)), "");
}

TEST(DateTime, WritingFormats) {
    EXPECT_EQ(CDateTime().ToString(), "Error: Date Not Set");
    EXPECT_EQ(CDateTime(DT::dt_date).ToString("s"), "Error: Date Not Set");
    EXPECT_EQ(CDateTime(DT::dt_time).ToString(), "00:00:00");
    const CDateTime v(2004, 2, 29);
    EXPECT_EQ(v.ToString("s"), "2004-02-29");
    EXPECT_EQ(v.ToString("G"), "");
    EXPECT_EQ(v.ToString(""), "");
    EXPECT_EQ(v.ToString(nullptr), "");
    EXPECT_EQ(v.ToString("S"), "Unknown Format: S");
    EXPECT_EQ(v.ToString("yyyy"), "Unknown Format: yyyy");
}

TEST(DateTime, PartialOrder) {
    const std::vector<std::string> kResults = {"Equal", "LessThan", "GreaterThan", "Indeterminate"};
    for (const test::TableRow& c : test::ReadTable("values/date_time_order.txt")) {
        SCOPED_TRACE(c.line);
        const CDateTime a = ParseAny(c[0].c_str());
        const CDateTime b = ParseAny(c[1].c_str());
        const auto r = a.CompareTo(b);
        EXPECT_EQ(kResults.at(r), c[2]);
        EXPECT_EQ(a == b, r == DT::Equal);
        EXPECT_EQ(a != b, r != DT::Equal);
        EXPECT_EQ(a < b, r == DT::LessThan);
        EXPECT_EQ(a <= b, r == DT::LessThan || r == DT::Equal);
        EXPECT_EQ(a > b, r == DT::GreaterThan);
        EXPECT_EQ(a >= b, r == DT::GreaterThan || r == DT::Equal);
    }
}

TEST(DateTime, Normalisation) {
    for (const test::TableRow& c : test::ReadTable("values/date_time_normalise.txt")) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(ParseAny(c[0].c_str()).GetNormalized().ToString(), c[1]);
    }
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [] { CDateTime("9999-12-31T23:00:00-02:00").GetNormalized(); },
        "Invalid Year [10000] (-9999 <= year <= 9999 && year != 0)"));
}

TEST(DateTime, AddingDurations) {
    for (const test::TableRow& c : test::ReadTable("values/date_time_add.txt")) {
        SCOPED_TRACE(c.line);
        const bool subtract = c[2] == "true";
        CDateTimeSpan span;
        span.ParseXSDDuration(c[1].c_str());
        const CDateTime start = ParseAny(c[0].c_str());
        const CDateTime result = subtract ? start - span : start + span;
        EXPECT_EQ(result.ToString(), c[3]);
        CDateTime inPlace = start;
        if (subtract) {
            inPlace -= span;
        } else {
            inPlace += span;
        }
        EXPECT_EQ(inPlace.ToString(), c[3]);
    }
    // A span far beyond the calendar must fail quickly rather than walk month by month.
    CDateTimeSpan huge(0, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, ~0ull, ~0ull);
    EXPECT_THROW(CDateTime("2000-01-01T00:00:00") + huge, CTsInvalidValueException);
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [] { CDateTime(9999, 12, 31) + CDateTimeSpan(24, 0, 0); },
        "Invalid Year [10000] (-9999 <= year <= 9999 && year != 0)"));
    // Years are counted as written, and the lexical space has no year 0 to land on.
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [] { CDateTime(1, 3, 1) - CDateTimeSpan(1, 0, 0, 0, 0, 0); },
        "Invalid Year [0] (-9999 <= year <= 9999 && year != 0)"));
}

TEST(DateTime, DifferenceIsTheElapsedTime) {
    for (const test::TableRow& c : test::ReadTable("values/date_time_difference.txt")) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ((ParseAny(c[0].c_str()) - ParseAny(c[1].c_str())).ToString(), c[2]);
    }
}

TEST(DateTime, DerivedValues) {
    for (const test::TableRow& c : test::ReadTable("values/date_time_derived.txt")) {
        SCOPED_TRACE(c.line);
        const CDateTime v = ParseAny(c[0].c_str());
        if (c[1] != "-") {
            EXPECT_EQ(v.GetDayOfYear(), std::stoi(c[1]));
        }
        EXPECT_EQ(v.GetDayOfWeek(), std::stoi(c[2]));
        EXPECT_EQ(static_cast<long long>(v.GetTime()), std::stoll(c[3]));
    }
}

TEST(DateTime, SystemAndFileTimes) {
    const CDateTime v(2004, 2, 29, 13, 14, 15, 678, 9, 10);
    const TsSystemTime st = v.GetAsSystemTime();
    EXPECT_EQ(st.wDayOfWeek, 1);  // a Sunday; the constructor reads every other field back
    EXPECT_EQ(CDateTime(st).ToString(), "2004-02-29T13:14:15.678");
}

TEST(DateTime, TickCountIsTheLocalClock) {
    const std::time_t before = std::time(nullptr);
    const CDateTime now = CDateTime::GetTickCount();
    const std::time_t after = std::time(nullptr);
    EXPECT_EQ(now.GetType(), DT::dt_dateTime);
    EXPECT_FALSE(now.IsUTC());
    // Reading the local fields as UTC and adding the zone's offset recovers the instant.
    std::tm local{};
    localtime_r(&before, &local);
    const std::time_t read = now.GetTime() - local.tm_gmtoff;
    EXPECT_GE(read, before - 1);
    EXPECT_LE(read, after + 1);
}

TEST(DateTime, DifferenceAddsBack) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> year(-9999, 9999);
    std::uniform_int_distribution<int> month(1, 12);
    std::uniform_int_distribution<int> day(1, 28);
    std::uniform_int_distribution<int> clock(0, 59);
    for (int i = 0; i < 2000; ++i) {
        auto make = [&]() {
            const int y = year(rng);  // the lexical space has no year 0
            CDateTime v(
                static_cast<short>(y == 0 ? 1 : y), static_cast<unsigned char>(month(rng)),
                static_cast<unsigned char>(day(rng)), static_cast<unsigned char>(clock(rng) % 24),
                static_cast<unsigned char>(clock(rng)), static_cast<unsigned char>(clock(rng)),
                static_cast<unsigned short>(clock(rng) * 16), 0, 7);
            v.SetUTC();
            return v;
        };
        const CDateTime a = make();
        const CDateTime b = make();
        const CDateTimeSpan d = a - b;
        SCOPED_TRACE(a.ToString() + " - " + b.ToString() + " = " + d.ToString());
        ASSERT_EQ((b + d).CompareTo(a), DT::Equal);
        ASSERT_EQ(d.IsNegative(), a < b);
    }
}

// Each row of calendar.txt was computed by Python's datetime (tools/gen_calendar_data.py):
// lexical form, seconds since 1970, weekday, day of the year, the value moved to UTC.
TEST(DateTime, AgreesWithAnIndependentCalendar) {
    const std::vector<test::TableRow> rows = test::ReadTable("values/calendar.txt");
    ASSERT_EQ(rows.size(), 3000u);
    for (const test::TableRow& c : rows) {
        SCOPED_TRACE(c.line);
        const CDateTime v(c[0].c_str());
        EXPECT_EQ(v.ToString(), c[0]);
        EXPECT_EQ(static_cast<long long>(v.GetTime()), std::stoll(c[1]));
        EXPECT_EQ(v.GetDayOfWeek(), std::stoi(c[2]));
        EXPECT_EQ(v.GetDayOfYear(), std::stoi(c[3]));
        EXPECT_EQ(v.GetNormalized().ToString(), c[4]);
        EXPECT_EQ(CDateTime(v.GetTime()).ToString(), c[4].substr(0, 19));
    }
}

// The largest duration the fields can hold, added to or taken from every kind: kinds with a
// year leave the calendar, the others wrap around their cycle; a failed addition leaves the
// value as it was.
TEST(DateTime, ExtremeDurationsEndInAValueOrTheYearRange) {
    const CDateTimeSpan most(0xFFFF, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, ~0ull, ~0ull, 999, 999,
                             999);
    for (const test::TableRow& c : test::ReadTable("values/date_time_extreme_add.txt")) {
        SCOPED_TRACE(c.line);
        CDateTime value = ParseAny(c[0].c_str());
        const std::string before = value.ToString();
        const auto add = [&] {
            if (c[1] == "true") {
                value -= most;
            } else {
                value += most;
            }
        };
        if (c[3] == "fails") {
            EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(add, c[2]));
            EXPECT_EQ(value.ToString(), before);
        } else {
            add();
            EXPECT_EQ(value.ToString(), c[2]);
        }
    }
    // Kinds without a year stay inside their own lexical space.
    for (const char* start : {"---05", "--02-29", "--12"}) {
        SCOPED_TRACE(start);
        for (bool subtract : {false, true}) {
            const CDateTime start_value = ParseAny(start);
            const CDateTime moved = subtract ? start_value - most : start_value + most;
            CDateTime reread;
            reread.ParseXSDDate(moved.ToString().c_str());
            EXPECT_EQ(reread.GetType(), start_value.GetType());
            EXPECT_EQ(reread.ToString(), moved.ToString());
        }
    }
    // Durations of any size are ordered without leaving the calendar arithmetic.
    EXPECT_EQ(most.CompareTo(CDateTimeSpan()), CDateTime::GreaterThan);
    EXPECT_EQ(most.GetAsNegative().CompareTo(CDateTimeSpan()), CDateTime::LessThan);
    EXPECT_EQ(most.CompareTo(most), CDateTime::Equal);
}

}  // namespace
}  // namespace Tessel16
