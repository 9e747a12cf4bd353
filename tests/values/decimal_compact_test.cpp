// decimal_compact_test.cpp: CDecimal keeps values whose digits fit 64 bits in a compact form
// and larger ones in the unbounded form. Every operation is run both ways on the same
// operands, mostly near the 64-bit boundary, and the results must agree to the last digit.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/test_table.h"
#include "tessel16/decimal.h"
#include "tessel16/exception.h"
#include "values/wide_decimal.h"

using namespace Tessel16;
using detail::WideDecimal;

namespace {

WideDecimal Wide(const std::string& text) {
    WideDecimal value;
    value.Parse(text.c_str());
    return value;
}

// Fixed texts at the edges of the compact form, then random ones of 1 to 22 digits.
std::vector<std::string> Operands() {
    std::vector<std::string> texts;
    for (const test::TableRow& row : test::ReadTable("values/decimal_compact_operands.txt"))
        texts.push_back(row[0]);
    std::mt19937_64 random(12);
    for (int i = 0; i < 150; ++i) {
        std::string text = random() % 3 == 0 ? "-" : "";
        const int digits = 1 + static_cast<int>(random() % 22);
        const int point = static_cast<int>(random() % static_cast<unsigned>(digits + 1));
        for (int d = 0; d < digits; ++d) {
            if (d == point && d > 0) text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        texts.push_back(text);
    }
    return texts;
}

template <class Decimal>
std::string LongText(const Decimal& value) {
    try {
        return std::to_string(value.ToLong());
    } catch (const CTsOverFlowException&) {
        return "overflow";
    }
}

}  // namespace

TEST(DecimalCompact, AgreesWithTheUnboundedForm) {
    const std::vector<std::string> texts = Operands();
    for (const int places : {30, 3, 0}) {
        CDecimal::SetMaxDecimalPlaces(places);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const std::string& a = texts[i];
            const std::string& b = texts[(i * 7 + 3) % texts.size()];
            SCOPED_TRACE(a + " and " + b + ", places " + std::to_string(places));
            const CDecimal x(a.c_str());
            const CDecimal y(b.c_str());
            const WideDecimal wx = Wide(a);
            const WideDecimal wy = Wide(b);
            EXPECT_EQ(x.ToString(), wx.ToString());
            EXPECT_EQ(x.GetFractionDivider(), wx.m_count);
            EXPECT_EQ(x.GetIntegerPart(), wx.m_integer);
            EXPECT_EQ(x.GetFractionPart(), wx.m_fraction);
            EXPECT_EQ(x.ToDouble(), wx.ToDouble());
            EXPECT_EQ(LongText(x), LongText(wx));
            EXPECT_EQ(x.CompareTo(y), wx.CompareTo(wy));
            for (int digits = -1; digits <= 21; digits += 2)
                EXPECT_EQ(x.ToString(digits), wx.ToString(digits)) << digits;

            WideDecimal sum = wx;
            sum.Add(wy, false);
            WideDecimal difference = wx;
            difference.Add(wy, true);
            WideDecimal product = wx;
            product.Multiply(wy);
            EXPECT_EQ((x + y).ToString(), sum.ToString());
            EXPECT_EQ((x - y).ToString(), difference.ToString());
            EXPECT_EQ((x * y).ToString(), product.ToString());
            EXPECT_EQ((x + y).GetFractionDivider(), sum.m_count);
            EXPECT_EQ((x * y).GetFractionDivider(), product.m_count);

            CDecimal scaled(x);
            WideDecimal wideScaled = wx;
            scaled.ChangeFractionalDivider(static_cast<int>(i % 23) - 2);
            wideScaled.ChangeFractionalDivider(static_cast<int>(i % 23) - 2);
            EXPECT_EQ(scaled.ToString(), wideScaled.ToString());
            EXPECT_EQ(scaled.GetFractionDivider(), wideScaled.m_count);
        }
    }
    CDecimal::SetMaxDecimalPlaces(30);
}

// Values move between the two forms through arithmetic; copies and moves keep each form's
// value (a leak or double free shows under the sanitizers).
TEST(DecimalCompact, ValuesCrossTheBoundaryBothWays) {
    const CDecimal large("18446744073709551616");  // 2^64: unbounded
    const CDecimal one(1);
    CDecimal value = large - one;  // 2^64 - 1 needs 20 digits with its fraction digit
    EXPECT_EQ(value.ToString(), "18446744073709551615");
    value = value - CDecimal("18446744073709551614");
    EXPECT_EQ(value.ToString(), "1");
    EXPECT_EQ(value.GetFractionDivider(), 1);

    CDecimal copy(large);
    CDecimal moved(std::move(copy));
    EXPECT_EQ(moved, large);
    EXPECT_EQ(copy.ToString(), "0");  // NOLINT(bugprone-use-after-move): the moved-from state
    copy = moved;
    moved = one;
    EXPECT_EQ(copy.ToString(), "18446744073709551616");
    EXPECT_EQ(moved.ToString(), "1");
    copy = std::move(moved);
    EXPECT_EQ(copy.ToString(), "1");

    CDecimal counter("1844674407370955160.9");
    ++counter;  // the carry leaves the compact range
    EXPECT_EQ(counter.ToString(), "1844674407370955161.9");
    --counter;
    EXPECT_EQ(counter.ToString(), "1844674407370955160.9");
    EXPECT_EQ(CDecimal(-9223372036854775807LL - 1).ToLongLong(), -9223372036854775807LL - 1);
    EXPECT_EQ(CDecimal(18446744073709551615ULL).ToString(), "18446744073709551615");
}
