#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/expect_exception.h"
#include "tessel16/binary_data.h"
#include "tessel16/conversions.h"
#include "tessel16/decimal.h"
#include "tessel16/exception.h"
#include "values/decimal_messages.h"

using namespace Tessel16;
using Tessel16::test::ThrowsExactly;
using C = CConversions;
using WS = CWhitespaceUtils;
constexpr WS::WhitespaceRule kNone = WS::WhitespaceRule_None;
constexpr WS::WhitespaceRule kCollapse = WS::WhitespaceRule_Collapse;

TEST(ValueConversions, DecimalFormsAndFormat) {
    EXPECT_EQ(C::decimalToString(C::decimalFromString("1.50", kNone)), "1.5");
    EXPECT_EQ(C::decimalToString(C::decimalFromString(" -0012.250\n", kCollapse)), "-12.25");
    EXPECT_EQ(C::decimalToString(C::decimalFromString("12", kNone)), "12");
    // A non-empty format gives the fraction digits, read like atoi.
    const CDecimal d = C::decimalFromString("3.14159", kNone);
    EXPECT_EQ(C::decimalToString(d, "2"), "3.14");
    EXPECT_EQ(C::decimalToString(d, "4 digits"), "3.1416");
    EXPECT_EQ(C::decimalToString(d, ""), "3.14159");
    EXPECT_EQ(C::decimalToString(C::decimalFromString("2", kNone), "3"), "2.000");
    EXPECT_EQ(C::decimalToString(d, "x"), C::decimalToString(d, "0"));

    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [] { C::decimalFromString("12a", kNone); },
        FormatString(detail::kDecimalInvalidChar, 2, "12a")));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [] { C::decimalFromString("1.2.3", kNone); },
        FormatString(detail::kDecimalInvalidChar, 3, "1.2.3")));
}

TEST(ValueConversions, IntegerForms) {
    EXPECT_EQ(C::integerToString(C::integerFromString("-000123456789012345678901234567890", kNone)),
              "-123456789012345678901234567890");
    EXPECT_EQ(C::integerToString(C::integerFromString(" 42 ", kCollapse)), "42");
    EXPECT_EQ(C::integerToString(C::integerFromString("1.9", kNone)), "1");
    EXPECT_THROW(C::integerFromString("12x", kNone), CTsInvalidValueException);
}

TEST(ValueConversions, BinaryForms) {
    const CBinaryData hex = C::hexBinaryFromString("0fa0", kNone);
    ASSERT_EQ(hex.GetLength(), 2u);
    EXPECT_EQ(hex[0], 0x0F);
    EXPECT_EQ(hex[1], 0xA0);
    EXPECT_EQ(C::hexBinaryToString(hex), "0FA0");
    EXPECT_EQ(C::hexBinaryToString(C::hexBinaryFromString("  0FA0 ", kCollapse)), "0FA0");
    EXPECT_TRUE(ThrowsExactly<CTsException>([] { C::hexBinaryFromString("0FA", kNone); },
                                            "Invalid length in hex string"));
    EXPECT_TRUE(ThrowsExactly<CTsException>([] { C::hexBinaryFromString("0G", kNone); },
                                            "Invalid char in hex string [G]"));
    EXPECT_EQ(C::hexBinaryFromString("", kNone).GetLength(), 0u);

    EXPECT_EQ(C::base64BinaryToString(C::base64BinaryFromString("TWFu", kNone)), "TWFu");
    EXPECT_EQ(C::base64BinaryToString(C::base64BinaryFromString("TW\nFu", kNone)), "TWFu");
    EXPECT_EQ(C::base64BinaryFromString("TW*u", kNone).GetLength(), 0u);  // no exception
    EXPECT_EQ(C::base64BinaryToString(CBinaryData()), "");
}

TEST(ValueConversions, RoundTrips) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 500; ++i) {
        const std::string digits = std::to_string(random()) + std::to_string(random());
        const std::string decimalText = (i % 2 ? "-" : "") + digits.substr(0, 1 + i % 20) + "." +
                                        digits.substr(0, 1 + i % 13) + "7";
        const CDecimal d = C::decimalFromString(decimalText, kNone);
        ASSERT_EQ(C::decimalFromString(C::decimalToString(d), kNone), d) << decimalText;
        const CBigInteger b = C::integerFromString((i % 3 ? "" : "-") + digits, kNone);
        ASSERT_EQ(C::integerFromString(C::integerToString(b), kNone), b) << digits;

        std::string bytes(static_cast<std::size_t>(i % 40), '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        const CBinaryData data(reinterpret_cast<unsigned char*>(&bytes[0]),
                               static_cast<std::uint32_t>(bytes.size()), false);
        ASSERT_EQ(C::hexBinaryFromString(C::hexBinaryToString(data), kNone), data);
        ASSERT_EQ(C::base64BinaryFromString(C::base64BinaryToString(data), kNone), data);
    }
}
