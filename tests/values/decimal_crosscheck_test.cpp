// decimal_crosscheck_test.cpp: replays the random table that tools/gen_decimal_cases.py
// computed with Python's int and decimal modules, so arithmetic, rounding and writing are
// checked against an implementation that shares no code with ours.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "tessel16/decimal.h"
#include "tessel16/exception.h"

using namespace Tessel16;

namespace {

struct Case {
    int line;
    std::vector<std::string> fields;
};

std::vector<Case> LoadCases() {
    std::ifstream in(std::string(TESSEL16_TEST_DATA_DIR) + "/values/decimal_cases.tsv");
    std::vector<Case> cases;
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        if (text.empty() || text[0] == '#') continue;
        Case c{line, {}};
        std::stringstream fields(text);
        std::string field;
        while (std::getline(fields, field, '\t')) c.fields.push_back(field);
        cases.push_back(c);
    }
    return cases;
}

std::string Describe(const Case& c) {
    std::string out = "line " + std::to_string(c.line) + ":";
    for (const auto& f : c.fields) out += " [" + f + "]";
    return out;
}

class DecimalCrossCheck : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_cases = new std::vector<Case>(LoadCases()); }
    static void TearDownTestSuite() {
        delete s_cases;
        s_cases = nullptr;
    }
    void SetUp() override {
        ASSERT_GT(s_cases->size(), 5000u) << "the generated table is missing or truncated";
        CDecimal::SetMaxDecimalPlaces(30);
    }
    // Runs fn on every case whose kind field is `kind`; returns how many there were.
    template <class Fn>
    static int ForEach(const char* kind, Fn fn) {
        int count = 0;
        for (const auto& c : *s_cases) {
            if (c.fields[0] != kind) continue;
            SCOPED_TRACE(Describe(c));
            ++count;
            fn(c.fields);
        }
        return count;
    }
    static std::vector<Case>* s_cases;
};

std::vector<Case>* DecimalCrossCheck::s_cases = nullptr;

int Sign(int v) { return (v > 0) - (v < 0); }

// The operator kind[1] of a row, both as a binary operator and in its assignment form.
template <class T>
void ExpectArithmetic(char op, const std::vector<std::string>& f) {
    const T a(f[1].c_str());
    const T b(f[2].c_str());
    T result;
    T assigned(a);
    switch (op) {
        case '+':
            result = a + b;
            assigned += b;
            break;
        case '-':
            result = a - b;
            assigned -= b;
            break;
        case '*':
            result = a * b;
            assigned *= b;
            break;
        case '/':
            result = a / b;
            assigned /= b;
            break;
        default:
            if constexpr (std::is_same_v<T, CBigInteger>) {
                result = a % b;
                assigned %= b;
            }
            break;
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

TEST_F(DecimalCrossCheck, Arithmetic) {
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

TEST_F(DecimalCrossCheck, Comparison) {
    EXPECT_EQ(ForEach("Ic", ExpectOrder<CBigInteger>), 400);
    EXPECT_EQ(ForEach("Dc", ExpectOrder<CDecimal>), 400);
}

TEST_F(DecimalCrossCheck, ParseWritesTheRoundedValue) {
    const int count = ForEach("P", [](const std::vector<std::string>& f) {
        const CDecimal value(f[1].c_str());
        EXPECT_EQ(value.ToString(), f[2]);
        EXPECT_LE(value.GetFractionDivider(), 30);
    });
    EXPECT_EQ(count, 400);
}

TEST_F(DecimalCrossCheck, ToStringWithFractionDigits) {
    const int count = ForEach("R", [](const std::vector<std::string>& f) {
        EXPECT_EQ(CDecimal(f[1].c_str()).ToString(std::stoi(f[2])), f[3]);
    });
    EXPECT_EQ(count, 400);
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            out.push_back(next == 'r' ? '\r' : next == 'n' ? '\n' : next);
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// Reads text with make(); expected is the written value, or "!p" for a refusal at p.
template <class Make>
void ExpectReading(const std::string& text, const std::string& expected, Make make) {
    if (expected[0] != '!') {
        EXPECT_EQ(make(text), expected);
        return;
    }
    const std::string message = FormatString(
        "The string representing a Decimal, contained an invalid char at position "
        "%d [%s].",
        std::stoi(expected.substr(1)), text.c_str());
    try {
        make(text);
        ADD_FAILURE() << "accepted";
    } catch (const CTsInvalidValueException& e) {
        EXPECT_EQ(e.GetMessage(), message);
    }
}

TEST_F(DecimalCrossCheck, ArbitraryTextsReadOrFailAtTheRightPlace) {
    int refused = 0;
    const int count = ForEach("X", [&refused](const std::vector<std::string>& f) {
        const std::string text = Unescape(f.size() > 1 ? f[1] : "");
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
