#include "tessel16/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>

#include "conversion/conversion_messages.h"
#include "support/expect_exception.h"
#include "support/test_table.h"
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

WS::WhitespaceRule RuleNamed(const std::string& name) {
    if (name == "collapse") return kCollapse;
    return name == "preserve" ? WS::WhitespaceRule_Preserve : kNone;
}

// The value read, written with the standard library (any NaN as "NaN") so the rows do not
// lean on the library's own writers.
std::string ReadAs(const std::string& kind, const char* text, WS::WhitespaceRule rule) {
    if (kind == "i1") return std::to_string(static_cast<int>(C::i1FromString(text, rule)));
    if (kind == "i2") return std::to_string(C::i2FromString(text, rule));
    if (kind == "i4") return std::to_string(C::i4FromString(text, rule));
    if (kind == "i8") return std::to_string(C::i8FromString(text, rule));
    if (kind == "ui1") return std::to_string(static_cast<unsigned>(C::ui1FromString(text, rule)));
    if (kind == "ui2") return std::to_string(C::ui2FromString(text, rule));
    if (kind == "ui4") return std::to_string(C::ui4FromString(text, rule));
    if (kind == "ui8") return std::to_string(C::ui8FromString(text, rule));
    const auto real = [](double v) {
        return std::isnan(v) ? std::string("NaN") : std::to_string(v);
    };
    if (kind == "r4") return real(C::r4FromString(text, rule));
    if (kind == "r8") return real(C::r8FromString(text, rule));
    if (kind == "boolean") return C::booleanFromString(text, rule) ? "true" : "false";
    if (kind == "char") return std::string(1, C::charFromString(text, rule));
    if (kind == "string") return C::stringFromString(text, rule);
    if (kind == "integer") return C::integerFromString(text, rule).ToString();
    if (kind == "year") return std::to_string(C::yearFromString(text, rule));
    if (kind == "month") return std::to_string(C::monthFromString(text, rule));
    if (kind == "day") return std::to_string(C::dayFromString(text, rule));
    if (kind == "time") return C::timeFromString(text, rule).ToString();
    if (kind == "decimal") return C::decimalToString(C::decimalFromString(text, rule));
    if (kind == "hexBinary") return C::hexBinaryToString(C::hexBinaryFromString(text, rule));
    if (kind == "base64Binary")
        return C::base64BinaryToString(C::base64BinaryFromString(text, rule));
    if (kind == "date") return C::dateToString(C::dateFromString(text, rule));
    if (kind == "datetime") return C::datetimeToString(C::datetimeFromString(text, rule));
    if (kind == "yearMonth") return C::yearMonthToString(C::yearMonthFromString(text, rule));
    if (kind == "monthDay") return C::monthDayToString(C::monthDayFromString(text, rule));
    if (kind == "duration") return C::durationToString(C::durationFromString(text, rule));
    throw std::runtime_error("no kind " + kind);
}

}  // namespace

TEST(Conversions, TextReadsAsEachKind) {
    const std::map<std::string, const char*> messages = {
        {"I1TooLarge", detail::kMsgI1TooLarge},
        {"I2TooLarge", detail::kMsgI2TooLarge},
        {"I4TooLarge", detail::kMsgI4TooLarge},
        {"I4NotConverted", detail::kMsgI4NotConverted},
        {"I8TooLarge", detail::kMsgI8TooLarge},
        {"I8NotConverted", detail::kMsgI8NotConverted},
        {"UI1TooLarge", detail::kMsgUI1TooLarge},
        {"UI2TooLarge", detail::kMsgUI2TooLarge},
        {"UI4TooLarge", detail::kMsgUI4TooLarge},
        {"UI4NotConverted", detail::kMsgUI4NotConverted},
        {"UI8TooLarge", detail::kMsgUI8TooLarge},
        {"UI8NotConverted", detail::kMsgUI8NotConverted},
        {"R4NotConverted", detail::kMsgR4NotConverted},
        {"R8NotConverted", detail::kMsgR8NotConverted},
        {"BadBoolean", detail::kMsgBadBoolean},
        {"BadChar", detail::kMsgBadChar}};
    for (const test::TableRow& c : test::ReadTable("conversion/text_reads.txt")) {
        SCOPED_TRACE(c.line);
        const auto call = [&] { return ReadAs(c[0], c[2].c_str(), RuleNamed(c[1])); };
        if (c[3].empty() || c[3][0] != '!') {
            EXPECT_EQ(call(), c[3]);
            continue;
        }
        // "!!" and a message of the base class (binary data refusals are not value errors);
        // "!" and a message's name, formatted with the text; or "!" and the whole message.
        if (c[3].compare(0, 2, "!!") == 0) {
            EXPECT_TRUE(ThrowsExactly<CTsException>(call, c[3].substr(2)));
            continue;
        }
        const auto named = messages.find(c[3].substr(1));
        const std::string& shown = c.cells.size() > 4 ? c[4] : c[2];
        const std::string message =
            named == messages.end() ? c[3].substr(1) : Msg(named->second, shown);
        EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(call, message));
    }
}

TEST(Conversions, DecimalFormatGivesTheFractionDigits) {
    // A non-empty format is read like atoi.
    const CDecimal d = C::decimalFromString("3.14159", kNone);
    EXPECT_EQ(C::decimalToString(d, "2"), "3.14");
    EXPECT_EQ(C::decimalToString(d, "4 digits"), "3.1416");
    EXPECT_EQ(C::decimalToString(d, ""), "3.14159");
    EXPECT_EQ(C::decimalToString(C::decimalFromString("2", kNone), "3"), "2.000");
    EXPECT_EQ(C::decimalToString(d, "x"), C::decimalToString(d, "0"));
}

// The shortcuts for plain digits, canonical booleans and text no rule changes still meet an
// unknown whitespace rule with its error, as applying the rule itself does.
TEST(Conversions, UnknownRuleRefusedBeforeAnyShortcut) {
    const std::function<void(WS::WhitespaceRule)> reads[] = {
        [](WS::WhitespaceRule r) { C::i4FromString("42", r); },
        [](WS::WhitespaceRule r) { C::i8FromString("-42", r); },
        [](WS::WhitespaceRule r) { C::booleanFromString("true", r); },
        [](WS::WhitespaceRule r) { C::stringFromString("abc", r); },
        [](WS::WhitespaceRule r) { C::decimalFromString("1.5", r); },
        [](WS::WhitespaceRule r) { WS::ApplyRule(r, "x"); }};
    for (int rule : {-1, 4, 7}) {
        for (const auto& read : reads) {
            EXPECT_TRUE(
                ThrowsExactly<CTsException>([&] { read(static_cast<WS::WhitespaceRule>(rule)); },
                                            detail::kMsgUnknownWhitespaceRule))
                << "rule " << rule;
        }
    }
}

TEST(Conversions, FloatingNumbers) {
    for (const test::TableRow& c : test::ReadTable("conversion/double_reads.txt")) {
        SCOPED_TRACE(c.line);
        const double expected = std::strtod(c[1].c_str(), nullptr);
        const double got = C::r8FromString(c[0], kNone);
        EXPECT_EQ(got, expected);
        EXPECT_EQ(std::signbit(got), std::signbit(expected));
    }
    // Narrowing to float rounds to the nearest float (the float rows are in text_reads.txt).
    EXPECT_EQ(C::r4FromString("0.1", kNone), 0.1f);
}

TEST(Conversions, FloatingWriters) {
    // The shortest text that reads back to the same bits, in "%g" shapes: plain from 1e-4 up
    // to 1e7 (float) or 1e16 (double), scientific outside.
    for (const test::TableRow& c : test::ReadTable("conversion/float_writes.txt")) {
        SCOPED_TRACE(c.line);
        const double value = std::strtod(c[0].c_str(), nullptr);
        EXPECT_EQ(C::r8ToString(value), c[1]);
        EXPECT_EQ(C::r4ToString(static_cast<float>(value)), c[2]);
    }
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

// The writers of every kind are checked through the variant (values/variant_kinds.txt).
TEST(Conversions, EveryCharReadsBackFromItsText) {
    for (int c = 1; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        ASSERT_EQ(C::charFromString(C::charToString(ch), kNone), ch);
    }
}
