// date_time_span_test.cpp: CDateTimeSpan's lexical form (every designator state and every
// refusal), writing, sign handling and the four-reference-date order.
#include "tessel16/date_time_span.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/expect_exception.h"
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
    const CDateTimeSpan s = Span("-P1Y2M3DT4H5M6.789S");
    EXPECT_TRUE(s.IsNegative());
    EXPECT_EQ(s.GetYears(), 1);
    EXPECT_EQ(s.GetMonths(), 2u);
    EXPECT_EQ(s.GetDays(), 3u);
    EXPECT_EQ(s.GetHours(), 4u);
    EXPECT_EQ(s.GetMinutes(), 5u);
    EXPECT_EQ(s.GetSeconds(), 6u);
    EXPECT_EQ(s.GetMilliSeconds(), 789);
    EXPECT_EQ(s.GetMicroSeconds(), 0);
    EXPECT_EQ(s.GetNanoSeconds(), 0);

    const CDateTimeSpan f = Span("PT0.123456789S");
    EXPECT_EQ(f.GetMilliSeconds(), 123);
    EXPECT_EQ(f.GetMicroSeconds(), 456);
    EXPECT_EQ(f.GetNanoSeconds(), 789);
    EXPECT_EQ(Span("PT0.000000001S").GetNanoSeconds(), 1);
    EXPECT_EQ(Span("PT1.5S").GetMilliSeconds(), 500);
    EXPECT_EQ(Span("PT90M").GetMinutes(), 90u);  // not normalised
    EXPECT_EQ(Span("P4294967295D").GetDays(), 4294967295u);
}

TEST(DateTimeSpan, WritesBackWhatItReads) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"-P1Y2M3DT4H5M6.789S", "-P1Y2M3DT4H5M6.789S"},
        {"PT1.5S", "PT1.5S"},
        {"PT1.500S", "PT1.5S"},
        {"PT0.000000001S", "PT0.000000001S"},
        {"P1Y2M", "P1Y2M"},
        {"P2M1Y", "P1Y2M"},  // Y is accepted after anything
        {"P0Y", "PT0S"},
        {"PT0S", "PT0S"},
        {"P1DT0H", "P1D"},
        {"PT36H", "PT36H"},
        {"P1DT1M", "P1DT1M"},
        {"PT.5S", "PT0.5S"},
        {"PT1H.5S", "PT1H0.5S"},
        {"PT5.S", "PT5S"},
        {"PY", "PT0S"},  // an empty digit run counts as 0
        {"P10000Y", "P10000Y"},
        {"PT18446744073709551615S", "PT18446744073709551615S"},
        {"-P0D", "-PT0S"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(Span(c.in).ToString(), c.out);
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
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([] { Span(""); },
                                                        "Invalid XSD Duration (Empty String)"));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [] { Span("PT1.1234567891S"); },
        "Invalid XSD Duration [PT1.1234567891S] Fraction part too long"));
    const char* malformed[] = {
        "P",      "-P",     "P1DT",  "PT",       "PT1M2H", "1D",   "-",    "--P1D",  "P-1D",
        "P1",     "P1Y2",   "PT1H2", "P1D2M",    "P1H",    "P1S",  "PT1D", "P1DT1D", "PT1.5",
        "PT1.5M", "PT1S1M", "P1M1M", "P1DT2H1H", "P T1H",  "P1Y ", "p1Y",  "P1.5Y",
        // A count too large for its field would wrap round to another span.
        "P65536Y", "P4294967296M", "P4294967296D", "PT4294967296H", "PT99999999999999999999S",
        "PT18446744073709551616M",
    };
    for (const char* text : malformed) {
        SCOPED_TRACE(text);
        CDateTimeSpan target = Span("P7D");
        EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([&] { target.ParseXSDDuration(text); },
                                                            shape(text)));
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
    const struct {
        const char* a;
        const char* b;
        CDateTime::DTCompareResult expected;
    } cases[] = {
        {"P1D", "PT24H", DT::Equal},         {"P1M", "P30D", DT::Indeterminate},
        {"P1M", "P31D", DT::Indeterminate},  {"P1M", "P27D", DT::GreaterThan},
        {"P1M", "P32D", DT::LessThan},       {"PT1H", "PT2H", DT::LessThan},
        {"PT3600S", "PT1H", DT::Equal},      {"P1Y", "P12M", DT::Equal},
        {"P1Y", "P365D", DT::Indeterminate}, {"P1Y", "P364D", DT::GreaterThan},
        {"P400Y", "P146097D", DT::Equal},    {"-P1D", "P1D", DT::LessThan},
        {"-P1D", "-PT24H", DT::Equal},       {"PT0.000000001S", "PT0S", DT::GreaterThan},
        {"P2M", "P59D", DT::Indeterminate},  {"P5M", "P150D", DT::Indeterminate},
        {"P5M", "P154D", DT::LessThan},      {"P5M", "P149D", DT::GreaterThan},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        const CDateTimeSpan a = Span(c.a);
        const CDateTimeSpan b = Span(c.b);
        EXPECT_EQ(a.CompareTo(b), c.expected);
        EXPECT_EQ(a == b, c.expected == DT::Equal);
        EXPECT_EQ(a != b, c.expected != DT::Equal);
        EXPECT_EQ(a < b, c.expected == DT::LessThan);
        EXPECT_EQ(a > b, c.expected == DT::GreaterThan);
    }
    EXPECT_EQ(CDateTimeSpan().CompareTo(CDateTimeSpan().GetAsNegative()), DT::Equal);
    // Huge counts are compared without overflow or a long walk.
    CDateTimeSpan huge;
    huge.SetSeconds(~0ull);
    huge.SetMinutes(~0ull);
    EXPECT_EQ(huge.CompareTo(Span("P1000Y")), DT::GreaterThan);
    EXPECT_EQ(huge.GetAsNegative().CompareTo(Span("-P1000Y")), DT::LessThan);
}

TEST(DateTimeSpan, RoundTripsThroughText) {
    std::mt19937 rng(99);
    auto pick = [&rng](unsigned long long hi) {
        return std::uniform_int_distribution<unsigned long long>(0, hi)(rng);
    };
    for (int i = 0; i < 3000; ++i) {
        CDateTimeSpan s(static_cast<unsigned short>(pick(3) == 0 ? 0 : pick(65535)),
                        static_cast<std::uint32_t>(pick(2) == 0 ? 0 : pick(0xFFFFFFFFu)),
                        static_cast<std::uint32_t>(pick(2) == 0 ? 0 : pick(0xFFFFFFFFu)),
                        static_cast<std::uint32_t>(pick(2) == 0 ? 0 : pick(0xFFFFFFFFu)),
                        pick(2) == 0 ? 0 : pick(0xFFFFFFFFu), pick(2) == 0 ? 0 : pick(0xFFFFFFFFu),
                        static_cast<unsigned short>(pick(999)),
                        static_cast<unsigned short>(pick(1) == 0 ? 0 : pick(999)),
                        static_cast<unsigned short>(pick(1) == 0 ? 0 : pick(999)));
        if (pick(1) != 0) {
            s.Negate();
        }
        const std::string text = s.ToString();
        SCOPED_TRACE(text);
        if (text == "-P") {
            continue;  // a negative zero has no lexical form of its own
        }
        const CDateTimeSpan back = Span(text.c_str());
        ASSERT_EQ(back.ToString(), text);
        ASSERT_EQ(back.IsNegative(), s.IsNegative());
        ASSERT_EQ(back.GetDays(), s.GetDays());
        ASSERT_EQ(back.GetNanoSeconds(), s.GetNanoSeconds());
    }
}

}  // namespace
}  // namespace Tessel16
