#include "tessel16/conversions.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "conversion/conversion_messages.h"
#include "support/expect_exception.h"
#include "tessel16/exception.h"

using namespace Tessel16;
using Tessel16::test::ThrowsExactly;
using C = CConversions;
using WS = CWhitespaceUtils;
constexpr WS::WhitespaceRule kNone = WS::WhitespaceRule_None;
constexpr WS::WhitespaceRule kCollapse = WS::WhitespaceRule_Collapse;

namespace {

std::string Msg(const char* format, const std::string& text) {
    return FormatString(format, text.c_str());
}

// Outcome of a conversion: a value, or one of the two failure messages of the kind.
enum Outcome { kOk, kNotConverted, kTooLarge };

struct I4Case {
    const char* text;
    WS::WhitespaceRule rule;
    Outcome outcome;
    std::int32_t value;
};
constexpr I4Case kI4Cases[] = {
    {"0", kNone, kOk, 0},
    {"2147483647", kNone, kOk, 2147483647},
    {"-2147483648", kNone, kOk, INT32_MIN},
    {"+17", kNone, kOk, 17},
    {"-0", kNone, kOk, 0},
    {"000042", kNone, kOk, 42},
    {" \t\n\v\f\r42", kNone, kOk, 42},  // leading C whitespace is skipped by the conversion
    {" 42 ", kCollapse, kOk, 42},
    {"2147483648", kNone, kTooLarge, 0},
    {"-2147483649", kNone, kTooLarge, 0},
    {"99999999999999999999999", kNone, kTooLarge, 0},
    {"99999999999x", kNone, kTooLarge, 0},  // the range error is reported first
    {"", kNone, kNotConverted, 0},
    {"   ", kCollapse, kNotConverted, 0},
    {"42 ", kNone, kNotConverted, 0},
    {"12abc", kNone, kNotConverted, 0},
    {"-", kNone, kNotConverted, 0},
    {"+", kNone, kNotConverted, 0},
    {"+-1", kNone, kNotConverted, 0},
    {"abc", kNone, kNotConverted, 0},
    {"0x10", kNone, kNotConverted, 0},
    {"1.0", kNone, kNotConverted, 0},
    {"1e3", kNone, kNotConverted, 0},
    {"- 1", kNone, kNotConverted, 0},
    {"\xEF\xBC\x91", kNone, kNotConverted, 0},  // a full-width digit is not a digit
};

}  // namespace

TEST(Conversions, I4FromStringTable) {
    for (const auto& c : kI4Cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
        auto call = [&] { return C::i4FromString(c.text, c.rule); };
        const std::string t = WS::ApplyRule(c.rule, c.text);
        switch (c.outcome) {
            case kOk:
                EXPECT_EQ(call(), c.value);
                break;
            case kNotConverted:
                EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
                    call, Msg(detail::kMsgI4NotConverted, t)));
                break;
            case kTooLarge:
                EXPECT_TRUE(
                    ThrowsExactly<CTsInvalidValueException>(call, Msg(detail::kMsgI4TooLarge, t)));
                break;
        }
    }
}

TEST(Conversions, I8AndUnsignedLimits) {
    EXPECT_EQ(C::i8FromString("9223372036854775807", kNone), INT64_MAX);
    EXPECT_EQ(C::i8FromString("-9223372036854775808", kNone), INT64_MIN);
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [] { C::i8FromString("9223372036854775808", kNone); },
        Msg(detail::kMsgI8TooLarge, "9223372036854775808")));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [] { C::i8FromString("-9223372036854775809", kNone); },
        Msg(detail::kMsgI8TooLarge, "-9223372036854775809")));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([] { C::i8FromString("1 2", kNone); },
                                                        Msg(detail::kMsgI8NotConverted, "1 2")));

    EXPECT_EQ(C::ui4FromString("4294967295", kNone), 4294967295u);
    EXPECT_EQ(C::ui4FromString("-0", kNone), 0u);
    // A negative value is out of range, never wrapped round to a large one.
    for (const char* text : {"-1", "-4294967295"}) {
        EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
            [&] { C::ui4FromString(text, kNone); }, Msg(detail::kMsgUI4TooLarge, text)));
    }
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [] { C::ui4FromString("4294967296", kNone); }, Msg(detail::kMsgUI4TooLarge, "4294967296")));
    EXPECT_TRUE(
        ThrowsExactly<CTsInvalidValueException>([] { C::ui4FromString("-4294967296", kNone); },
                                                Msg(detail::kMsgUI4TooLarge, "-4294967296")));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([] { C::ui4FromString("", kNone); },
                                                        Msg(detail::kMsgUI4NotConverted, "")));

    EXPECT_EQ(C::ui8FromString("18446744073709551615", kNone), UINT64_MAX);
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([] { C::ui8FromString("-1", kNone); },
                                                        Msg(detail::kMsgUI8TooLarge, "-1")));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [] { C::ui8FromString("18446744073709551616", kNone); },
        Msg(detail::kMsgUI8TooLarge, "18446744073709551616")));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([] { C::ui8FromString("7-", kNone); },
                                                        Msg(detail::kMsgUI8NotConverted, "7-")));
}

TEST(Conversions, NarrowKindsCheckTheirRangeWithTheTextAsPassed) {
    EXPECT_EQ(C::i1FromString("-128", kNone), static_cast<char>(-128));
    EXPECT_EQ(C::i1FromString("127", kNone), 127);
    EXPECT_EQ(C::i2FromString("-32768", kNone), -32768);
    EXPECT_EQ(C::ui1FromString("255", kNone), 255);
    EXPECT_EQ(C::ui2FromString("65535", kNone), 65535);

    // The range messages of the narrow kinds show the text before the whitespace rule.
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [] { C::i1FromString(" 200\t", kCollapse); }, Msg(detail::kMsgI1TooLarge, " 200\t")));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([] { C::i1FromString("-129", kNone); },
                                                        Msg(detail::kMsgI1TooLarge, "-129")));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([] { C::i2FromString("32768", kNone); },
                                                        Msg(detail::kMsgI2TooLarge, "32768")));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([] { C::ui1FromString("-1", kNone); },
                                                        Msg(detail::kMsgUI1TooLarge, "-1")));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([] { C::ui2FromString("65536", kNone); },
                                                        Msg(detail::kMsgUI2TooLarge, "65536")));
    // Malformed text and a value past 32 bits fail in the 32-bit conversion, with its message.
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([] { C::i1FromString("1x", kNone); },
                                                        Msg(detail::kMsgI4NotConverted, "1x")));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [] { C::i2FromString("3000000000", kNone); }, Msg(detail::kMsgI4TooLarge, "3000000000")));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([] { C::ui2FromString("", kNone); },
                                                        Msg(detail::kMsgUI4NotConverted, "")));
}

TEST(Conversions, IntegerWriters) {
    EXPECT_EQ(C::i1ToString(static_cast<char>(-128)), "-128");
    EXPECT_EQ(C::i1ToString(static_cast<char>(0xFF)), "-1");  // sign-extended
    EXPECT_EQ(C::i2ToString(-32768), "-32768");
    EXPECT_EQ(C::i4ToString(INT32_MIN), "-2147483648");
    EXPECT_EQ(C::i4ToString(INT32_MAX), "2147483647");
    EXPECT_EQ(C::i8ToString(INT64_MIN), "-9223372036854775808");
    EXPECT_EQ(C::i8ToString(0), "0");
    EXPECT_EQ(C::ui1ToString(255), "255");
    EXPECT_EQ(C::ui2ToString(65535), "65535");
    EXPECT_EQ(C::ui4ToString(4294967295u), "4294967295");
    EXPECT_EQ(C::ui8ToString(UINT64_MAX), "18446744073709551615");
    EXPECT_EQ(C::yearToString(5), "0005");  // a gYear has at least four digits
    EXPECT_EQ(C::yearToString(2024), "2024");
    EXPECT_EQ(C::monthToString(3), "--03");
    EXPECT_EQ(C::monthToString(12), "--12");
    EXPECT_EQ(C::dayToString(7), "---07");
    EXPECT_EQ(C::dayToString(31), "---31");
}

TEST(Conversions, FloatingSpecialWords) {
    EXPECT_TRUE(std::isnan(C::r8FromString("NaN", kNone)));
    EXPECT_TRUE(std::isnan(C::r8FromString("1.#QNAN", kNone)));
    EXPECT_TRUE(std::isnan(C::r8FromString("-NAN", kNone)));
    EXPECT_TRUE(std::isnan(C::r4FromString("NaN", kNone)));
    EXPECT_EQ(C::r8FromString("INF", kNone), std::numeric_limits<double>::infinity());
    EXPECT_EQ(C::r8FromString("-INF", kNone), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(C::r4FromString(" INF ", kCollapse), std::numeric_limits<float>::infinity());
    EXPECT_EQ(C::r8ToString(C::r8FromString("1.#QNAN", kNone)), "NaN");
    EXPECT_EQ(C::r8ToString(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(C::r4ToString(std::numeric_limits<float>::infinity()), "INF");
    EXPECT_EQ(C::r4ToString(std::nanf("")), "NaN");
    // Special words are honoured only in their exact spelling; the C library's own spellings
    // and hexadecimal numbers are refused.
    for (const char* bad :
         {"inf", "Inf", "nan", "NAN", "infinity", "+INF", " INF", "0x1p3", "0X10", "",   ".",
          "e5",  "1e",  "1e+", "--1", "1.2.3",    "1,5",  "1 ",   "1d",    "1f",   "+-1"}) {
        SCOPED_TRACE(bad);
        EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([&] { C::r8FromString(bad, kNone); },
                                                            Msg(detail::kMsgR8NotConverted, bad)));
        EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([&] { C::r4FromString(bad, kNone); },
                                                            Msg(detail::kMsgR4NotConverted, bad)));
    }
}

TEST(Conversions, FloatingNumbers) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"0", 0.0},
        {"-0", -0.0},
        {"+1.5", 1.5},
        {"1.", 1.0},
        {".5", 0.5},
        {"1e3", 1000.0},
        {"1E-3", 0.001},
        {"-2.5e+2", -250.0},
        {" \n7", 7.0},
        {"0.1", 0.1},
        {"1e-400", 0.0},
        {"-1e-400", -0.0},
        {"000.25", 0.25},
        {"123456789012345678901234567890", 1.2345678901234568e29},
        {"4.9e-324", 4.9e-324},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const double got = C::r8FromString(c.text, kNone);
        EXPECT_EQ(got, c.value);
        EXPECT_EQ(std::signbit(got), std::signbit(c.value));
    }
    EXPECT_EQ(C::r8FromString("1e400", kNone), std::numeric_limits<double>::infinity());
    EXPECT_EQ(C::r8FromString("-1e99999999999999999999", kNone),
              -std::numeric_limits<double>::infinity());
    // Beyond the float range the narrowing gives an infinity, not a failure.
    EXPECT_EQ(C::r4FromString("1e39", kNone), std::numeric_limits<float>::infinity());
    EXPECT_EQ(C::r4FromString("-3.5e38", kNone), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(C::r4FromString("3.4028234e38", kNone), FLT_MAX);
    EXPECT_EQ(C::r4FromString("0.1", kNone), 0.1f);
}

TEST(Conversions, FloatingWriters) {
    // The shortest text that reads back to the same bits, in "%g" shapes: plain from 1e-4 up
    // to 1e7 (float) or 1e16 (double), scientific outside.
    const struct {
        double value;
        const char* r8;
        const char* r4;
    } kCases[] = {
        {0.1, "0.1", "0.1"},
        {1.0 / 3.0, "0.3333333333333333", "0.33333334"},
        {0.0, "0", "0"},
        {-0.0, "-0", "-0"},
        {1e20, "1e+20", "1e+20"},
        {123456.0, "123456", "123456"},
        {1e-5, "1e-05", "1e-05"},
        {0.0001, "0.0001", "0.0001"},
        {16777216.0, "16777216", "1.6777216e+07"},
        {1e16, "1e+16", "1e+16"},
        {1234567890123456.0, "1234567890123456", "1.234568e+15"},
        {0.1 + 0.2, "0.30000000000000004", "0.3"},
        {1.7976931348623157e308, "1.7976931348623157e+308", "INF"},
        {4.9406564584124654e-324, "5e-324", "0"},
        {-1.2345678901234567e-300, "-1.2345678901234568e-300", "-0"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.r8);
        EXPECT_EQ(C::r8ToString(c.value), c.r8);
        EXPECT_EQ(C::r4ToString(static_cast<float>(c.value)), c.r4);
    }
    EXPECT_EQ(C::r4ToString(FLT_MAX), "3.4028235e+38");
    EXPECT_EQ(C::r4ToString(std::numeric_limits<float>::denorm_min()), "1e-45");
    EXPECT_EQ(C::r8ToString(1.5, "%.3f"), "1.500");
    EXPECT_EQ(C::r4ToString(2.25f, "value=%08.2f"), "value=00002.25");
    EXPECT_EQ(C::r8ToString(1.5, "100%% %g"), "100% 1.5");
    // The result is cut to 31 (r4) and 47 (r8) characters.
    EXPECT_EQ(C::r4ToString(1.0f, "%40f").size(), 31u);
    EXPECT_EQ(C::r8ToString(1e300, "%f").size(), 47u);
}

TEST(Conversions, FloatingFormatMustTakeOneDouble) {
    for (const char* bad : {"%s", "%d", "%f %f", "%*f", "%.*f", "%n", "%Lf", "%", "%5", "%p"}) {
        SCOPED_TRACE(bad);
        EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>([&] { C::r8ToString(1.0, bad); },
                                                            Msg(detail::kMsgBadFloatFormat, bad)));
    }
    // Text without any conversion is printed as it stands.
    EXPECT_EQ(C::r8ToString(1.0, "none"), "none");
}

TEST(Conversions, Boolean) {
    struct Case {
        const char* text;
        bool value;
    };
    for (const Case& c :
         {Case{"true", true}, Case{"TRUE", true}, Case{"TrUe", true}, Case{"1", true},
          Case{"false", false}, Case{"False", false}, Case{"0", false}}) {
        EXPECT_EQ(C::booleanFromString(c.text, kNone), c.value) << c.text;
    }
    EXPECT_TRUE(C::booleanFromString("\ttrue\n", kCollapse));
    for (const char* bad : {"yes", "on", "", "01", "true ", " 1", "t", "truee", "00"}) {
        EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
            [&] { C::booleanFromString(bad, kNone); }, Msg(detail::kMsgBadBoolean, bad)))
            << bad;
    }
    // The message shows the text as passed in, before the whitespace rule.
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [] { C::booleanFromString("  yes ", kCollapse); }, Msg(detail::kMsgBadBoolean, "  yes ")));
    EXPECT_EQ(C::booleanToString(true), "true");
    EXPECT_EQ(C::booleanToString(false), "false");
    for (bool b : {true, false}) EXPECT_EQ(C::booleanFromString(C::booleanToString(b), kNone), b);
}

TEST(Conversions, CharAndString) {
    EXPECT_EQ(C::charFromString("x", kNone), 'x');
    EXPECT_EQ(C::charFromString(" x ", kCollapse), 'x');
    EXPECT_EQ(C::charFromString(" ", kNone), ' ');
    for (const char* bad : {"", "ab"}) {
        EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([&] { C::charFromString(bad, kNone); },
                                                            Msg(detail::kMsgBadChar, bad)));
    }
    // The char message shows the text after the rule.
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [] { C::charFromString(" a b ", kCollapse); }, Msg(detail::kMsgBadChar, "a b")));
    EXPECT_EQ(C::charToString('q'), "q");
    EXPECT_EQ(C::charToString('\0'), "");
    for (int c = 1; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        ASSERT_EQ(C::charFromString(C::charToString(ch), kNone), ch);
    }
    EXPECT_EQ(C::stringFromString(" a \n b ", kCollapse), "a b");
    EXPECT_EQ(C::stringFromString(" a\r\n", WS::WhitespaceRule_Preserve), " a\n");
    EXPECT_EQ(C::stringFromString(" a\r\n", kNone), " a\r\n");
    EXPECT_EQ(C::stringToString("x\ty"), "x\ty");
}
