// decimal_test.cpp: the documented behaviour of CBigInteger and CDecimal case by case: text
// forms, rounding, the quotient limit, conversions and every message. The random
// cross-check against Python lives in decimal_crosscheck_test.cpp.
#include "tessel16/decimal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "support/expect_exception.h"
#include "support/test_table.h"
#include "tessel16/exception.h"
#include "values/decimal_messages.h"

using namespace Tessel16;
using Tessel16::test::ThrowsExactly;

namespace {

// Restores the process-wide quotient limit whatever a test sets.
class DecimalTest : public ::testing::Test {
protected:
    void SetUp() override { CDecimal::SetMaxDecimalPlaces(30); }
    void TearDown() override { CDecimal::SetMaxDecimalPlaces(30); }
};

std::string InvalidChar(int position, const std::string& text) {
    return FormatString(detail::kDecimalInvalidChar, position, text.c_str());
}

struct BigIntegerSample : CBigInteger {
    BigIntegerSample(int sign, const std::vector<char>& digits) : CBigInteger(sign, digits) {}
};

}  // namespace

TEST_F(DecimalTest, ParsesAndWritesTexts) {
    for (const test::TableRow& c : test::ReadTable("values/decimal_texts.txt")) {
        SCOPED_TRACE(c.line);
        const CDecimal value(c[0].c_str());
        EXPECT_EQ(value.ToString(), c[1]);
        EXPECT_EQ(value.GetFractionDivider(), std::stoi(c[2]));
        EXPECT_EQ(value.GetIntegerPart().ToString(), c[3]);
        EXPECT_EQ(value.GetFractionPart().ToString(), c[4]);
    }
    EXPECT_EQ(CDecimal(static_cast<const char*>(nullptr)).ToString(), "0");
    EXPECT_EQ(CDecimal("1.7E+308").ToString(), "17" + std::string(307, '0'));
}

TEST_F(DecimalTest, ReportsTheFirstInvalidCharacter) {
    for (const test::TableRow& c : test::ReadTable("values/decimal_invalid_chars.txt")) {
        SCOPED_TRACE(c.line);
        const char* text = c[0].c_str();
        const std::string message = InvalidChar(std::stoi(c[1]), c[0]);
        EXPECT_TRUE(
            ThrowsExactly<CTsInvalidValueException>([&] { CDecimal value(text); }, message));
        // Texts outside the integer alphabet go through the decimal reader.
        EXPECT_TRUE(
            ThrowsExactly<CTsInvalidValueException>([&] { CBigInteger value(text); }, message));
        // A failed parse leaves the value alone.
        CDecimal kept("4.5");
        EXPECT_THROW(kept.Parse(text), CTsInvalidValueException);
        EXPECT_EQ(kept.ToString(), "4.5");
    }
    // A positive exponent past the limit is refused with a message that names the limit.
    for (const char* text : {"1e1001", "1E100001", "0.5e99999999999999999999999"}) {
        EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
            [&] { CDecimal value(text); },
            FormatString(detail::kDecimalExponentLimit, text, 1000)));
    }
    EXPECT_EQ(CDecimal("1e1000").ToString(), "1" + std::string(1000, '0'));
}

TEST_F(DecimalTest, BigIntegerReadsItsOwnAlphabet) {
    for (const test::TableRow& c : test::ReadTable("values/big_integer_texts.txt")) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(CBigInteger(c[0].c_str()).ToString(), c[1]);
    }
    EXPECT_EQ(CBigInteger(static_cast<const char*>(nullptr)).ToString(), "0");
    // Text that is no whole number is refused, never cut down to one.
    for (const test::TableRow& c : test::ReadTable("values/big_integer_refused.txt")) {
        SCOPED_TRACE(c.line);
        EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
            [&] { CBigInteger value(c[0].c_str()); }, InvalidChar(std::stoi(c[1]), c[0])));
    }
}

TEST_F(DecimalTest, BigIntegerFromNativeValues) {
    EXPECT_EQ(CBigInteger(LLONG_MIN).ToString(), "-9223372036854775808");
    EXPECT_EQ(CBigInteger(ULLONG_MAX).ToString(), "18446744073709551615");
    EXPECT_EQ(CBigInteger(INT_MIN).ToString(), "-2147483648");
    EXPECT_EQ(CBigInteger(4294967295u).ToString(), "4294967295");
    EXPECT_EQ(CBigInteger(-7L).ToString(), "-7");
    EXPECT_EQ(CBigInteger(1.9).ToString(), "1");
    EXPECT_EQ(CBigInteger(-1e20).ToString(), "-100000000000000000000");
    EXPECT_EQ(CBigInteger(CDecimal("-12.99")).ToString(), "-12");
    EXPECT_EQ(BigIntegerSample(-1, {3, 2, 1}).ToString(), "-123");
    EXPECT_EQ(BigIntegerSample(-1, {0, 0}).ToString(), "0");
    EXPECT_EQ(BigIntegerSample(1, {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}).ToString(), "10000000010");
    EXPECT_EQ(CBigInteger::Pow10(0).ToString(), "1");
    EXPECT_EQ(CBigInteger::Pow10(20).ToString(), "1" + std::string(20, '0'));
    EXPECT_THROW(CBigInteger(std::numeric_limits<double>::infinity()), CTsInvalidValueException);
}

TEST_F(DecimalTest, SignOperations) {
    CBigInteger x(5);
    -x;  // in place
    EXPECT_EQ(x.ToString(), "-5");
    EXPECT_EQ(x.GetAbs().ToString(), "5");
    EXPECT_EQ(x.GetNegative().ToString(), "5");
    EXPECT_EQ(x.ToString(), "-5");
    x.Abs();
    EXPECT_EQ(x.ToString(), "5");
    CBigInteger zero;
    zero.Negate();
    EXPECT_EQ(zero.GetSign(), 1);
    EXPECT_EQ(zero.ToString(), "0");
    EXPECT_EQ(CBigInteger("-100").GetDigitCount(), 3u);
    EXPECT_EQ(CBigInteger(0).GetDigitCount(), 1u);
    CBigInteger self(12);
    self += self;
    EXPECT_EQ(self.ToString(), "24");
    self -= self;
    EXPECT_EQ(self.ToString(), "0");
    EXPECT_EQ(CDecimal("-0.5").GetNegative().ToString(), "0.5");
    CDecimal flipped("2.75");
    flipped.Negate();
    EXPECT_EQ(flipped.ToString(), "-2.75");
    EXPECT_EQ(flipped.ToBigInteger().ToString(), "-2");
    EXPECT_EQ(CDecimal("1.50"), CDecimal("1.5"));
}

TEST_F(DecimalTest, DivisionByZeroNamesTheOperator) {
    CBigInteger one(1);
    CDecimal half("0.5");
    const struct {
        std::function<void()> call;
        const char* message;
    } cases[] = {
        {[&] { (void)(one / CBigInteger()); }, "ERROR: Overflow in operator/."},
        {[&] { (void)(one % CBigInteger()); }, "ERROR: Overflow in operator%."},
        {[&] { one /= CBigInteger(); }, "ERROR: Overflow in operator /=."},
        {[&] { one %= CBigInteger(); }, "ERROR: Overflow in operator%=."},
        {[&] { (void)(half / CDecimal("0.000")); }, "ERROR: Overflow in operator/."},
        {[&] { half /= CDecimal(); }, "ERROR: Overflow in operator /=."},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(c.call, c.message));
    EXPECT_EQ(one.ToString(), "1");
    EXPECT_EQ(half.ToString(), "0.5");
}

TEST_F(DecimalTest, SquareRootRoundsDown) {
    for (const test::TableRow& c : test::ReadTable("values/big_integer_roots.txt")) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(CBigInteger(c[0].c_str()).SquareRoot().ToString(), c[1]);
    }
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [] { (void)CBigInteger(-4).SquareRoot(); },
        "ERROR: Negative Number in function SquareRoot()."));
}

TEST_F(DecimalTest, ChangeFractionalDividerRoundsHalfTowardZeroAndRationaliseUndoesIt) {
    for (const test::TableRow& c : test::ReadTable("values/decimal_change_divider.txt")) {
        SCOPED_TRACE(c.line);
        CDecimal value(c[0].c_str());
        value.ChangeFractionalDivider(std::stoi(c[1]));
        EXPECT_EQ(value.ToString(), c[2]);
        EXPECT_EQ(value.GetFractionDivider(), std::stoi(c[3]));
        EXPECT_EQ(value.GetFractionPart().ToString(), c[4]);
        // Rationalise drops the trailing zeros: the value as its written text reads back.
        value.Rationalise();
        const CDecimal reread(c[2].c_str());
        EXPECT_EQ(value.ToString(), reread.ToString());
        EXPECT_EQ(value.GetFractionDivider(), reread.GetFractionDivider());
    }
}

TEST_F(DecimalTest, ProductsAndQuotientsKeepTheConfiguredPlaces) {
    for (const test::TableRow& c : test::ReadTable("values/decimal_place_limit.txt")) {
        SCOPED_TRACE(c.line);
        CDecimal::SetMaxDecimalPlaces(std::stoi(c[0]));
        const CDecimal a(c[1].c_str());
        const CDecimal b(c[3].c_str());
        EXPECT_EQ((c[2] == "*" ? a * b : a / b).ToString(), c[4]);
    }
    CDecimal::SetMaxDecimalPlaces(30);
    EXPECT_EQ((CDecimal(1) / CDecimal(3)).GetFractionDivider(), 30);
    CDecimal::SetMaxDecimalPlaces(-3);
    EXPECT_EQ(CDecimal::GetMaxDecimalPlaces(), 0);
}

TEST_F(DecimalTest, SumsCarryBetweenTheParts) {
    for (const test::TableRow& c : test::ReadTable("values/decimal_sums.txt")) {
        SCOPED_TRACE(c.line);
        const CDecimal a(c[0].c_str());
        const CDecimal b(c[1].c_str());
        EXPECT_EQ((a + b).ToString(), c[2]);
        EXPECT_EQ((a - b).ToString(), c[3]);
    }
    CDecimal d("-0.5");
    EXPECT_EQ((++d).ToString(), "0.5");
    EXPECT_EQ((d++).ToString(), "0.5");
    EXPECT_EQ(d.ToString(), "1.5");
    EXPECT_EQ((d--).ToString(), "1.5");
    EXPECT_EQ((--d).ToString(), "-0.5");
}

namespace {

// The native value a conversion gives, as text. A conversion of CBigInteger fails as an
// invalid value, one of CDecimal as an overflow.
std::string Convert(const std::string& conversion, const char* text) {
    if (conversion == "BigInteger to long long")
        return std::to_string(static_cast<long long>(CBigInteger(text)));
    if (conversion == "BigInteger to int")
        return std::to_string(static_cast<int>(CBigInteger(text)));
    if (conversion == "Decimal to long") return std::to_string(CDecimal(text).ToLong());
    if (conversion == "Decimal to long long") return std::to_string(CDecimal(text).ToLongLong());
    if (conversion == "Decimal to BigInteger") return CDecimal(text).ToBigInteger().ToString();
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", CDecimal(text).ToDouble());
    return buffer;
}

}  // namespace

TEST_F(DecimalTest, NativeConversionsCheckTheRange) {
    for (const test::TableRow& c : test::ReadTable("values/decimal_native.txt")) {
        SCOPED_TRACE(c.line);
        const auto call = [&] { return Convert(c[0], c[1].c_str()); };
        if (c[2].compare(0, 2, "= ") == 0) {
            const std::string expected = c[2].substr(2);
            if (c[0] == "Decimal to double") {
                EXPECT_EQ(std::stod(call()), std::stod(expected));
            } else {
                EXPECT_EQ(call(), expected);
            }
        } else if (c[0].compare(0, 10, "BigInteger") == 0) {
            EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(call, c[2]));
        } else {
            EXPECT_TRUE(ThrowsExactly<CTsOverFlowException>(call, c[2]));
        }
    }
}

TEST_F(DecimalTest, FromDoubleUsesTheShortestForm) {
    for (const char* written : {"0.1", "-2.5", "100000000000000000000", "123456.789"})
        EXPECT_EQ(CDecimal(std::stod(written)).ToString(), written);
    for (double underflow : {0.0, -0.0, 1e-40, 5e-31})
        EXPECT_EQ(CDecimal(underflow).ToString(), "0");
    EXPECT_THROW(CDecimal(std::nan("")), CTsInvalidValueException);
    EXPECT_THROW(CDecimal(-std::numeric_limits<double>::infinity()), CTsInvalidValueException);
}

// Native numbers mix into expressions through the implicit constructors; the conversions the
// other way are explicit, so none of these is ambiguous or silently truncating.
TEST_F(DecimalTest, MixesWithNativeNumbers) {
    EXPECT_TRUE(CBigInteger(5) == 5);
    EXPECT_TRUE(CBigInteger(5) + 1 == 6);
    EXPECT_TRUE(CBigInteger(std::int64_t{-3}) < std::uint64_t{2});
    EXPECT_EQ(CBigInteger(std::size_t{7}).ToString(), "7");
    EXPECT_TRUE(CDecimal("1.5") + 1 == CDecimal("2.5"));
    EXPECT_TRUE(CDecimal("2.5") > 2);
    EXPECT_TRUE(CDecimal(CBigInteger(3)) == 3);
    EXPECT_TRUE(CDecimal("0.5") == 0.5);
    EXPECT_EQ((CDecimal("2.5") * CBigInteger(4)).ToString(), "10");
    EXPECT_EQ(CDecimal(std::int64_t{-9}).ToString(), "-9");
    EXPECT_EQ(CDecimal(4000000000u).ToString(), "4000000000");
}

// An exponent scales the mantissa by shifting digits; the result must be the product or
// quotient that the general arithmetic gives for the same power of ten, with the same
// guard digits, truncation and rounding, brought to its shortest form.
TEST_F(DecimalTest, ExponentsAgreeWithTheGeneralArithmetic) {
    const unsigned exponents[] = {0, 1, 2, 9, 10, 17, 29, 30, 31, 33, 40};
    int compared = 0;
    for (int places : {30, 5, 0}) {
        // The written forms of the text table serve as mantissas.
        for (const test::TableRow& row : test::ReadTable("values/decimal_texts.txt")) {
            const std::string& m = row[1];
            CDecimal::SetMaxDecimalPlaces(30);
            const CDecimal mantissa(m.c_str());
            // Reading a mantissa alone rounds it to the limit; the exponent form does not,
            // so only mantissas that the limit leaves whole can be compared this way.
            if (mantissa.GetFractionDivider() > std::max(places, 1)) continue;
            CDecimal::SetMaxDecimalPlaces(places);
            for (unsigned e : exponents) {
                const std::string tail = std::to_string(e);
                SCOPED_TRACE(m + " e" + tail + " places " + std::to_string(places));
                const CDecimal power(CBigInteger::Pow10(e));
                const CDecimal product = mantissa * power;
                CDecimal quotient = mantissa / power;
                quotient.Rationalise();
                const CDecimal up((m + "e" + tail).c_str());
                const CDecimal down((m + "E-" + tail).c_str());
                EXPECT_EQ(up.ToString(), product.ToString());
                EXPECT_EQ(up.GetFractionDivider(), product.GetFractionDivider());
                EXPECT_EQ(down.ToString(), quotient.ToString());
                EXPECT_EQ(down.GetFractionDivider(), quotient.GetFractionDivider());
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 200);
}

// A long mantissa with a large exponent is read in time linear in its length and keeps
// every digit the limit allows.
TEST_F(DecimalTest, LongMantissaWithLargeExponent) {
    std::string digits;
    while (digits.size() < 100000) digits += "1234567890";
    const CDecimal up((digits + "e1000").c_str());
    EXPECT_EQ(up.ToString(), digits + std::string(1000, '0'));
    EXPECT_EQ(up.GetFractionDivider(), 1);
    // 1234567890.1234...: 32 guard digits truncated, rounded to 30, trailing zero dropped.
    const CDecimal down((digits + "e-99990").c_str());
    EXPECT_EQ(down.ToString(), "1234567890.12345678901234567890123456789");
    const CDecimal negative(("-0." + digits + "E-5").c_str());
    EXPECT_EQ(negative.ToString(), "-0.000001234567890123456789012346");
}
