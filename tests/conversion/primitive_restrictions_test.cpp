#include "tessel16/primitive_restrictions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "conversion/conversion_messages.h"
#include "support/expect_exception.h"
#include "tessel16/conversions.h"
#include "tessel16/exception.h"
#include "tessel16/switches.h"
#include "tessel16/variant.h"

using namespace Tessel16;
using Tessel16::test::ThrowsExactly;
using C = CConversions;
constexpr auto kNone = CWhitespaceUtils::WhitespaceRule_None;

namespace {

// Facets by name, so each case states only what it sets.
struct Facets {
    const char* pattern = nullptr;
    std::int32_t minLength = -1;
    std::int32_t maxLength = -1;
    const char* minInclusive = nullptr;
    const char* maxInclusive = nullptr;
    const char* minExclusive = nullptr;
    const char* maxExclusive = nullptr;
    std::int32_t length = -1;
    std::int32_t totalDigits = -1;
    std::int32_t fractionDigits = -1;

    CPrimitiveRestrictions Make() const {
        return CPrimitiveRestrictions(pattern, minLength, maxLength, minInclusive, maxInclusive,
                                      minExclusive, maxExclusive, length, totalDigits,
                                      fractionDigits);
    }
};

Facets MaxInclusive(const char* bound) {
    Facets f;
    f.maxInclusive = bound;
    return f;
}
Facets MinInclusive(const char* bound) {
    Facets f;
    f.minInclusive = bound;
    return f;
}
Facets MaxExclusive(const char* bound) {
    Facets f;
    f.maxExclusive = bound;
    return f;
}
Facets MinExclusive(const char* bound) {
    Facets f;
    f.minExclusive = bound;
    return f;
}
Facets TotalDigits(int digits) {
    Facets f;
    f.totalDigits = digits;
    return f;
}

// One value given as text of its kind, the facets, and the message it must fail with ("" for
// a value that passes).
struct Case {
    ItemType type;
    const char* text;
    Facets facets;
    const char* failure;
};

void RunCases(const std::vector<Case>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " as type " + std::to_string(c.type));
        TsVariant value;
        value.FromString(c.text, c.type, kNone);
        const CPrimitiveRestrictions r = c.facets.Make();
        if (*c.failure == '\0') {
            EXPECT_NO_THROW(r.CheckValue("v", value, c.type));
        } else {
            EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
                [&] { r.CheckValue("v", value, c.type); }, c.failure));
        }
    }
}

}  // namespace

TEST(PrimitiveRestrictions, DefaultAndFieldOrder) {
    const CPrimitiveRestrictions none;
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_EQ(none.GetMinLength(), -1);
    EXPECT_EQ(none.GetPattern(), "");
    const CPrimitiveRestrictions r("p", 1, 2, "3", "4", "5", "6", 7, 8, 9);
    const CPrimitiveRestrictions copy = r;
    EXPECT_FALSE(copy.IsEmpty());
    EXPECT_EQ(copy.GetPattern(), "p");
    EXPECT_EQ(copy.GetMinLength(), 1);
    EXPECT_EQ(copy.GetMaxLength(), 2);
    EXPECT_EQ(copy.GetMinInclusive(), "3");
    EXPECT_EQ(copy.GetMaxInclusive(), "4");
    EXPECT_EQ(copy.GetMinExclusive(), "5");
    EXPECT_EQ(copy.GetMaxExclusive(), "6");
    EXPECT_EQ(copy.GetLength(), 7);
    EXPECT_EQ(copy.GetTotalDigits(), 8);
    EXPECT_EQ(copy.GetFractionDigits(), 9);
}

TEST(PrimitiveRestrictions, IntegerKinds) {
    RunCases({
        {ItemType_i4, "10", MaxExclusive("10"), "Invalid Value for v [10]"},
        {ItemType_i4, "10", MaxInclusive("10"), ""},
        {ItemType_i4, "9", MaxExclusive("10"), ""},
        {ItemType_i4, "-5", MinInclusive("-5"), ""},
        {ItemType_i4, "-6", MinInclusive("-5"), "Invalid Value for v [-6]"},
        {ItemType_i4, "-5", MinExclusive("-5"), "Invalid Value for v [-5]"},
        {ItemType_i4, "-2147483648", MinInclusive("-2147483648"), ""},
        {ItemType_i4, "-99", TotalDigits(2), ""},
        {ItemType_i4, "100", TotalDigits(2), "Invalid Value for v [100]"},
        {ItemType_i4, "0", TotalDigits(1), ""},
        {ItemType_i1, "-128", TotalDigits(2), "Invalid Value for v [-128]"},
        {ItemType_i2, "300", MaxInclusive("299"), "Invalid Value for v [300]"},
        {ItemType_ui1, "255", MaxExclusive("255"), "Invalid Value for v [255]"},
        {ItemType_ui2, "7", MinInclusive("8"), "Invalid Value for v [7]"},
        {ItemType_ui4, "2147483647", MaxInclusive("100"), "Invalid Value for v [2147483647]"},
        // The narrow kinds' message prints with %d, so the top half of ui4 shows negative.
        {ItemType_ui4, "4294967295", MaxInclusive("100"), "Invalid Value for v [-1]"},
        {ItemType_i8, "9223372036854775807", MaxInclusive("9223372036854775806"),
         "Invalid Value for v [9223372036854775807]."},
        {ItemType_i8, "-9223372036854775808", TotalDigits(19), ""},
        {ItemType_ui8, "18446744073709551615", TotalDigits(19),
         "Invalid Value for v [18446744073709551615]."},
    });
}

TEST(PrimitiveRestrictions, BoundsAreReadAsTheValuesKind) {
    // Read as a float, the bound 0.1 equals the float 0.1; read as a double it would be less.
    RunCases({{ItemType_r4, "0.1", MaxInclusive("0.1"), ""},
              {ItemType_r8, "1.5", MaxExclusive("1.5"), "Invalid Value for v [1.500000]"},
              {ItemType_r8, "NaN", MinInclusive("0"), "Invalid Value for v [nan]"},
              {ItemType_r8, "INF", MaxInclusive("1e308"), "Invalid Value for v [inf]"},
              {ItemType_r8, "-INF", MinInclusive("-INF"), ""}});
    // A bound that does not convert reports the conversion's own failure.
    TsVariant value;
    value.SetI1(5);
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [&] { MaxInclusive("200").Make().CheckValue("v", value, ItemType_i1); },
        FormatString(detail::kMsgI1TooLarge, "200")));
    value.SetI4(5);
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [&] { MaxInclusive("abc").Make().CheckValue("v", value, ItemType_i4); },
        FormatString(detail::kMsgI4NotConverted, "abc")));
}

TEST(PrimitiveRestrictions, DecimalAndInteger) {
    Facets digits32;
    digits32.totalDigits = 3;
    digits32.fractionDigits = 2;
    RunCases({
        {ItemType_decimal, "12.3", digits32, ""},
        {ItemType_decimal, "0.12", digits32, ""},   // a zero integer part has no digits
        {ItemType_decimal, "-1.50", digits32, ""},  // trailing zeros are not significant
        {ItemType_decimal, "1.234", digits32, "Invalid Value for v [1.234]."},
        {ItemType_decimal, "0.123", digits32, "Invalid Value for v [0.123]."},  // fraction
        {ItemType_decimal, "1234", digits32, "Invalid Value for v [1234]."},
        {ItemType_decimal, "10.5", MaxInclusive("10.50"), ""},
        {ItemType_decimal, "10.51", MaxInclusive("10.50"), "Invalid Value for v [10.51]."},
        {ItemType_decimal, "-0.001", MinExclusive("-0.001"), "Invalid Value for v [-0.001]."},
        {ItemType_integer, "123456789012345678901234567890", TotalDigits(30), ""},
        {ItemType_integer, "-1234567890123456789012345678901", TotalDigits(30),
         "Invalid Value for v [-1234567890123456789012345678901]."},
        {ItemType_integer, "100000000000000000000", MaxExclusive("100000000000000000000"),
         "Invalid Value for v [100000000000000000000]."},
        {ItemType_integer, "-5", MinInclusive("-5"), ""},
    });
}

TEST(PrimitiveRestrictions, DatesDurationsAndBareNumbers) {
    RunCases({
        {ItemType_date, "2004-02-29", MaxInclusive("2004-02-28"),
         "Invalid Value for v [2004-02-29]."},
        {ItemType_date, "2004-02-28", MaxInclusive("2004-02-28"), ""},
        {ItemType_datetime, "2000-01-15T00:00:00", MaxExclusive("2000-01-16T12:00:00Z"), ""},
        // Without a zone the value may lie on either side of a zoned bound this close.
        {ItemType_datetime, "2000-01-15T12:00:00", MinInclusive("2000-01-15T12:00:00Z"),
         "Invalid Value for v [2000-01-15T12:00:00]."},
        {ItemType_time, "12:30:00.5", MinExclusive("12:30:00"), ""},
        {ItemType_time, "12:30:00", MinExclusive("12:30:00"), "Invalid Value for v [12:30:00]."},
        {ItemType_yearMonth, "2004-05", MaxInclusive("2004-04"), "Invalid Value for v [2004-05]."},
        {ItemType_monthDay, "--05-01", MinInclusive("--04-30"), ""},
        {ItemType_duration, "PT1H", MaxInclusive("PT2H"), ""},
        {ItemType_duration, "P1D", MaxExclusive("PT24H"), "Invalid Value for v [P1D]."},
        {ItemType_duration, "P1M", MaxInclusive("P30D"), "Invalid Value for v [P1M]."},
        {ItemType_year, "2005", MaxInclusive("2004"), "Invalid Value for v [2005]"},
        {ItemType_month, "--05", MinInclusive("--06"), "Invalid Value for v [5]"},
        {ItemType_day, "---31", MaxInclusive("---31"), ""},
    });
}

TEST(PrimitiveRestrictions, StringLengthsAndPattern) {
    Facets length4;
    length4.length = 4;
    Facets exactly5;
    exactly5.minLength = 5;
    exactly5.maxLength = 5;
    Facets letters;
    letters.pattern = "[a-z]+";
    Facets name;
    name.pattern = "\\i\\c*";
    name.maxLength = 10;
    RunCases({
        {ItemType_string, "hello", length4, "Invalid Value for v [hello]."},
        {ItemType_string, "hello", exactly5, ""},
        {ItemType_string, "h\xC3\xA9llo", exactly5, ""},  // five characters, six bytes
        {ItemType_string, "hell", exactly5, "Invalid Value for v [hell]."},
        {ItemType_string, "abc", letters, ""},
        {ItemType_string, "abc1", letters, "Invalid Value for v [abc1]."},
        {ItemType_string, "xs:element", name, ""},
        {ItemType_string, "xs:elements", name, "Invalid Value for v [xs:elements]."},
        {ItemType_string, "1st", name, "Invalid Value for v [1st]."},
    });
}

TEST(PrimitiveRestrictions, InvalidPatternIsReportedWithTheValue) {
    Facets broken;
    broken.pattern = "(abc";
    const CPrimitiveRestrictions r = broken.Make();
    for (int i = 0; i < 2; ++i) {
        try {
            r.CheckString("code", "abc");
            ADD_FAILURE() << "no exception";
        } catch (const CTsInvalidValueException& e) {
            const std::string m = e.GetMessage();
            const std::string head = "Invalid Regular Expression: ^((abc)$ Error: '";
            const std::string tail = "'\nInvalid Value for code [abc].";
            EXPECT_EQ(m.compare(0, head.size(), head), 0) << m;
            ASSERT_GT(m.size(), head.size() + tail.size());
            EXPECT_EQ(m.substr(m.size() - tail.size()), tail) << m;
        }
    }
}

TEST(PrimitiveRestrictions, BinaryLengthsShowTheKindsText) {
    Facets max1;
    max1.maxLength = 1;
    RunCases({
        {ItemType_hexBinary, "0FA0", max1, "Invalid Value for v [0FA0]."},
        {ItemType_base64Binary, "D6A=", max1, "Invalid Value for v [D6A=]."},
        {ItemType_hexBinary, "0F", max1, ""},
        {ItemType_hexBinary, "", max1, ""},
    });
}

TEST(PrimitiveRestrictions, KindsWithoutFacetsAndUnknownKinds) {
    // Char and boolean have no facets to break; without facets nothing can fail, whatever the
    // variant holds; an unknown kind is refused all the same.
    const CPrimitiveRestrictions all("x", 9, 9, "9", "9", "9", "9", 9, 0, 0);
    TsVariant value;
    value.SetChar('a');
    EXPECT_NO_THROW(all.CheckValue("v", value, ItemType_char));
    value.SetBoolean(true);
    EXPECT_NO_THROW(all.CheckValue("v", value, ItemType_boolean));
    const CPrimitiveRestrictions none;
    TsVariant text;
    text.SetString("not a number");
    TsVariant empty;
    for (int type = ItemType_hexBinary; type <= ItemType_integer; ++type) {
        SCOPED_TRACE(type);
        EXPECT_NO_THROW(none.CheckValue("v", text, static_cast<ItemType>(type)));
        EXPECT_NO_THROW(none.CheckValue("v", empty, static_cast<ItemType>(type)));
    }
    for (const CPrimitiveRestrictions* r : {&all, &none}) {
        for (int type : {0, 27, 28, 29, -1}) {
            EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
                [&] { r->CheckValue("v", text, static_cast<ItemType>(type)); },
                "Unknown type [" + std::to_string(type) + "]."));
        }
    }
}

TEST(PrimitiveRestrictions, StringLengthCountsCharactersOfTheLocalEncoding) {
    struct Restore {
        unsigned int codePage = detail::LocalCharEncoding();
        ~Restore() { SetLocalCharEncoding(codePage); }
    } restore;
    Facets three;
    three.length = 3;
    const CPrimitiveRestrictions r = three.Make();
    EXPECT_NO_THROW(r.CheckString("v", "\xC3\xA9t\xC3\xA9"));  // UTF-8: three characters
    SetLocalCharEncoding(1252);
    EXPECT_THROW(r.CheckString("v", "\xC3\xA9t\xC3\xA9"), CTsInvalidValueException);
    EXPECT_NO_THROW(r.CheckString("v", "\xE9t\xE9"));
}

// A pattern the engine gives up on is reported like an invalid pattern: the engine's
// reason first, then the value check's own message.
TEST(PrimitiveRestrictions, PatternThatGivesUpIsReportedWithTheValue) {
    Facets runaway;
    runaway.pattern = "(a+)+(b|c)";
    const std::string value(40, 'a');
    try {
        runaway.Make().CheckString("code", value);
        ADD_FAILURE() << "no exception";
    } catch (const CTsInvalidValueException& e) {
        const std::string m = e.GetMessage();
        const std::string head = "Regular Expression: ^((a+)+(b|c))$ gave up before deciding";
        const std::string tail = "'\nInvalid Value for code [" + value + "].";
        EXPECT_EQ(m.compare(0, head.size(), head), 0) << m;
        ASSERT_GT(m.size(), head.size() + tail.size());
        EXPECT_EQ(m.substr(m.size() - tail.size()), tail) << m;
    }
}
