// decimal_crosscheck_test.cpp: replays the random table that tools/gen_decimal_cases.py
// computed with Python's int and decimal modules, so arithmetic, rounding and writing are
// checked against an implementation that shares no code with ours.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "support/expect_exception.h"
#include "support/test_table.h"
#include "tessel16/decimal.h"
#include "tessel16/exception.h"
#include "values/decimal_messages.h"

using namespace Tessel16;

namespace {

// The table, read once; the expected count of each kind's rows catches a truncated table.
const std::vector<test::TableRow>& Cases() {
    static const std::vector<test::TableRow> cases = test::ReadTable("values/decimal_cases.txt");
    return cases;
}

// Runs fn on the cells of every case whose kind cell is `kind`; returns how many there were.
template <class Fn>
int ForEach(const char* kind, Fn fn) {
    CDecimal::SetMaxDecimalPlaces(30);
    int count = 0;
    for (const test::TableRow& c : Cases()) {
        if (c[0] != kind) continue;
        SCOPED_TRACE("decimal_cases.txt line " + std::to_string(c.line));
        ++count;
        fn(c.cells);
    }
    return count;
}

int Sign(int v) { return (v > 0) - (v < 0); }

// The operator kind[1] of a row, both as a binary operator and in its assignment form.
template <class T>
void ExpectArithmetic(char op, const std::vector<std::string>& f) {
    const T a(f[1].c_str());
    const T b(f[2].c_str());
    T result;
    T assigned(a);
    if (op == '+') {
        result = a + b;
        assigned += b;
    } else if (op == '-') {
        result = a - b;
        assigned -= b;
    } else if (op == '*') {
        result = a * b;
        assigned *= b;
    } else if (op == '/') {
        result = a / b;
        assigned /= b;
    } else if constexpr (std::is_same_v<T, CBigInteger>) {
        result = a % b;
        assigned %= b;
    }
    EXPECT_EQ(result.ToString(), f[3]);
    EXPECT_EQ(assigned.ToString(), f[3]);
    EXPECT_EQ(result, T(f[3].c_str()));
}

// Every comparison operator agrees with the sign of the row's expected order.
template <class T>
void ExpectOrder(const std::vector<std::string>& f) {
    const T a(f[1].c_str());
    const T b(f[2].c_str());
    const int expected = std::stoi(f[3]);
    EXPECT_EQ(Sign(a.CompareTo(b)), expected);
    EXPECT_EQ(a == b, expected == 0);
    EXPECT_EQ(a != b, expected != 0);
    EXPECT_EQ(a < b, expected < 0);
    EXPECT_EQ(a > b, expected > 0);
    EXPECT_EQ(a <= b, expected <= 0);
    EXPECT_EQ(a >= b, expected >= 0);
}

TEST(DecimalCrossCheck, Arithmetic) {
    int count = 0;
    for (const char* kind : {"I+", "I-", "I*", "I/", "I%", "D+", "D-", "D*", "D/"}) {
        count += ForEach(kind, [kind](const std::vector<std::string>& f) {
            if (kind[0] == 'I')
                ExpectArithmetic<CBigInteger>(kind[1], f);
            else
                ExpectArithmetic<CDecimal>(kind[1], f);
        });
    }
    EXPECT_EQ(count, 3600);
}

TEST(DecimalCrossCheck, Comparison) {
    EXPECT_EQ(ForEach("Ic", ExpectOrder<CBigInteger>), 400);
    EXPECT_EQ(ForEach("Dc", ExpectOrder<CDecimal>), 400);
}

TEST(DecimalCrossCheck, ParseWritesTheRoundedValue) {
    const int count = ForEach("P", [](const std::vector<std::string>& f) {
        const CDecimal value(f[1].c_str());
        EXPECT_EQ(value.ToString(), f[2]);
        EXPECT_LE(value.GetFractionDivider(), 30);
    });
    EXPECT_EQ(count, 400);
}

TEST(DecimalCrossCheck, ToStringWithFractionDigits) {
    const int count = ForEach("R", [](const std::vector<std::string>& f) {
        EXPECT_EQ(CDecimal(f[1].c_str()).ToString(std::stoi(f[2])), f[3]);
    });
    EXPECT_EQ(count, 400);
}

// Reads text with make(); expected is the written value, or "!p" for a refusal at p.
template <class Make>
void ExpectReading(const std::string& text, const std::string& expected, Make make) {
    if (expected[0] != '!') {
        EXPECT_EQ(make(text), expected);
        return;
    }
    const std::string message =
        FormatString(detail::kDecimalInvalidChar, std::stoi(expected.substr(1)), text.c_str());
    EXPECT_TRUE(test::ThrowsExactly<CTsInvalidValueException>([&] { make(text); }, message));
}

TEST(DecimalCrossCheck, ArbitraryTextsReadOrFailAtTheRightPlace) {
    int refused = 0;
    const int count = ForEach("X", [&refused](const std::vector<std::string>& f) {
        const std::string& text = f[1];
        ExpectReading(text, f[2],
                      [](const std::string& t) { return CDecimal(t.c_str()).ToString(); });
        ExpectReading(text, f[3],
                      [](const std::string& t) { return CBigInteger(t.c_str()).ToString(); });
        refused += f[2][0] == '!';
    });
    EXPECT_EQ(count, 800);
    EXPECT_GT(refused, 100);
}

}  // namespace
