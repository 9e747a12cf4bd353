// date_time_span_test.cpp: CDateTimeSpan's lexical form (every designator state and every
// refusal), writing, sign handling and the four-reference-date order.
#include "tessel16/date_time_span.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/expect_exception.h"
#include "support/test_table.h"
#include "tessel16/exception.h"

namespace Tessel16 {
namespace {

using test::ThrowsExactly;
using DT = CDateTime;

CDateTimeSpan Span(const char* text) {
    CDateTimeSpan s;
    s.ParseXSDDuration(text);
    return s;
}

TEST(DateTimeSpan, ParsesEveryPart) {
    for (const test::TableRow& c : test::ReadTable("values/span_fields.txt")) {
        SCOPED_TRACE(c.line);
        const CDateTimeSpan s = Span(c[0].c_str());
        const unsigned long long fields[] = {
            s.GetYears(),        s.GetMonths(),       s.GetDays(),
            s.GetHours(),        s.GetMinutes(),      s.GetSeconds(),
            s.GetMilliSeconds(), s.GetMicroSeconds(), s.GetNanoSeconds()};
        EXPECT_EQ(s.IsNegative(), c[1] == "true");
        for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(fields[i], std::stoull(c[i + 2])) << i;
    }
}

TEST(DateTimeSpan, WritesBackWhatItReads) {
    for (const test::TableRow& c : test::ReadTable("values/span_texts.txt")) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(Span(c[0].c_str()).ToString(), c[1]);
    }
    EXPECT_EQ(CDateTimeSpan().ToString(), "PT0S");
    EXPECT_EQ(CDateTimeSpan(0, 0, 0, 0, 0, 0, 0, 0, 5).ToString(), "PT0.000000005S");
    EXPECT_EQ(CDateTimeSpan(1, 2, 3).ToString(), "PT1H2M3S");
    EXPECT_EQ(CDateTimeSpan(0, 0, 0, 0, 0, 0, 120, 0, 0).ToString(), "PT0.12S");
    CDateTimeSpan big;
    big.SetMinutes(~0ull);
    EXPECT_EQ(big.ToString(), "PT18446744073709551615M");
}

TEST(DateTimeSpan, RejectsMalformedText) {
    const auto shape = [](const std::string& text) {
        return "Invalid XSD Duration [" + text + "] expected [-]P[nY][nM][nD][T[nH][nM][nS.ff]]";
    };
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([] { Span(nullptr); },
                                                        "Invalid XSD Duration (Null String)"));
    for (const test::TableRow& c : test::ReadTable("values/span_malformed.txt")) {
        const char* text = c[0].c_str();
        SCOPED_TRACE(c.line);
        CDateTimeSpan target = Span("P7D");
        const std::string message = c.cells.size() > 1 ? c[1] : shape(text);
        EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([&] { target.ParseXSDDuration(text); },
                                                            message));
        EXPECT_EQ(target.ToString(), "P7D");
    }
}

TEST(DateTimeSpan, Signs) {
    const CDateTimeSpan neg = Span("-P1D");
    EXPECT_TRUE(neg.GetAsNegative().IsNegative());
    EXPECT_TRUE(Span("P1D").GetAsNegative().IsNegative());
    CDateTimeSpan flipped = neg;
    flipped.Negate();
    EXPECT_FALSE(flipped.IsNegative());
    EXPECT_EQ(flipped.ToString(), "P1D");
    CDateTimeSpan reset = neg;
    reset.SetDateTimeSpan(1, 0, 0);
    EXPECT_FALSE(reset.IsNegative());
    EXPECT_EQ(reset.ToString(), "PT1H");
}

TEST(DateTimeSpan, PartialOrder) {
    const std::vector<std::string> kResults = {"Equal", "LessThan", "GreaterThan", "Indeterminate"};
    for (const test::TableRow& c : test::ReadTable("values/span_order.txt")) {
        SCOPED_TRACE(c.line);
        const CDateTimeSpan a = Span(c[0].c_str());
        const CDateTimeSpan b = Span(c[1].c_str());
        const DT::DTCompareResult r = a.CompareTo(b);
        EXPECT_EQ(kResults.at(r), c[2]);
        EXPECT_EQ(a == b, r == DT::Equal);
        EXPECT_EQ(a != b, r != DT::Equal);
        EXPECT_EQ(a < b, r == DT::LessThan);
        EXPECT_EQ(a > b, r == DT::GreaterThan);
    }
    EXPECT_EQ(CDateTimeSpan().CompareTo(CDateTimeSpan().GetAsNegative()), DT::Equal);
    // Huge counts are compared without overflow or a long walk.
    CDateTimeSpan huge;
    huge.SetSeconds(~0ull);
    huge.SetMinutes(~0ull);
    EXPECT_EQ(huge.CompareTo(Span("P1000Y")), DT::GreaterThan);
    EXPECT_EQ(huge.GetAsNegative().CompareTo(Span("-P1000Y")), DT::LessThan);
}

}  // namespace
}  // namespace Tessel16
