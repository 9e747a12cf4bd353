// The W3C datatype cases (shared/corpora/w3c-datatypes/cases.tsv): strict reading takes every
// valid lexical value and refuses every invalid one; either reading writes what it accepted as
// text that reads back to the same value.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_table.h"
#include "support/value_roundtrip.h"
#include "tessel16/tessel16.h"

using namespace Tessel16;

namespace {

struct Case {
    std::string id;
    std::string kind;
    std::string value;
    bool valid = false;
};

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out.push_back(text[i]);
            continue;
        }
        const char next = text[++i];
        out.push_back(next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next);
    }
    return out;
}

std::vector<Case> LoadCases(const std::string& path) {
    std::vector<Case> cases;
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::stringstream fields(line);
        std::string field;
        while (std::getline(fields, field, '\t')) f.push_back(field);
        if (f.size() < 9 || f[8] == "queried") continue;  // disputed by the suite itself
        cases.push_back({f[0], f[2], Unescape(f[3]), f[4] == "valid"});
    }
    return cases;
}

bool SameDuration(const CDateTimeSpan& a, const CDateTimeSpan& b) {
    return a.IsNegative() == b.IsNegative() && a.GetYears() == b.GetYears() &&
           a.GetMonths() == b.GetMonths() && a.GetDays() == b.GetDays() &&
           a.GetHours() == b.GetHours() && a.GetMinutes() == b.GetMinutes() &&
           a.GetSeconds() == b.GetSeconds() && a.GetMilliSeconds() == b.GetMilliSeconds() &&
           a.GetMicroSeconds() == b.GetMicroSeconds() && a.GetNanoSeconds() == b.GetNanoSeconds();
}

bool SameDate(const CDateTime& a, const CDateTime& b) {
    return a.GetType() == b.GetType() && a.IsUTC() == b.IsUTC() &&
           a.HasTimeZone() == b.HasTimeZone() && a.CompareTo(b) == CDateTime::Equal;
}

// Compares the values, not their texts.
bool SameValue(ItemType kind, const TsVariant& a, const TsVariant& b) {
    using test::roundtrip_detail::SameReal;
    if (kind == ItemType_r4) return SameReal(a.GetR4(), b.GetR4());
    if (kind == ItemType_r8) return SameReal(a.GetR8(), b.GetR8());
    if (kind == ItemType_decimal) return a.GetDecimal() == b.GetDecimal();
    if (kind == ItemType_integer) return a.GetInteger() == b.GetInteger();
    if (kind == ItemType_duration) return SameDuration(a.GetDuration(), b.GetDuration());
    if (kind == ItemType_datetime) return SameDate(a.GetDateTime(), b.GetDateTime());
    if (kind == ItemType_date) return SameDate(a.GetDate(), b.GetDate());
    if (kind == ItemType_time) return SameDate(a.GetTime(), b.GetTime());
    if (kind == ItemType_yearMonth) return SameDate(a.GetYearMonth(), b.GetYearMonth());
    if (kind == ItemType_monthDay) return SameDate(a.GetMonthDay(), b.GetMonthDay());
    if (kind == ItemType_hexBinary) return a.GetHexBinary() == b.GetHexBinary();
    if (kind == ItemType_base64Binary) return a.GetBase64Binary() == b.GetBase64Binary();
    return a.ToString() == b.ToString();  // integers, booleans, bare g* numbers
}

TEST(DatatypeCorpus, ValidValuesReadAndInvalidOnesAreRefused) {
    const std::string path = std::string(TESSEL16_SHARED_DIR) + "/corpora/w3c-datatypes/cases.tsv";
    if (!std::ifstream(path)) GTEST_SKIP() << "corpus not found at " << path;
    const std::vector<Case> cases = LoadCases(path);
    ASSERT_GT(cases.size(), 3800u);
    constexpr auto kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;
    // Valid values that a documented choice of ours refuses, "kind:value"; the reasons are in
    // the table.
    std::set<std::string> refusedByChoice;
    for (const test::TableRow& row : test::ReadTable("conversion/refused_by_choice.txt"))
        refusedByChoice.insert(row[0] + ":" + row[1]);
    int checked = 0;
    for (const Case& c : cases) {
        const ItemType type = test::ItemTypeNamed(c.kind);
        const bool byChoice = refusedByChoice.count(c.kind + ":" + c.value) != 0;
        for (bool strict : {true, false}) {
            SCOPED_TRACE("case " + c.id + " " + c.kind + " [" + c.value + "]" +
                         (strict ? " strict" : " lenient"));
            TsVariant value;
            std::string error;
            try {
                value.FromString(c.value, type, kCollapse, strict);
            } catch (const CTsException& e) {
                error = e.GetMessage();
            }
            if (!error.empty()) {
                EXPECT_TRUE(!c.valid || byChoice) << "valid value refused: " << error;
                continue;
            }
            EXPECT_FALSE(byChoice) << "listed as refused but read";
            if (strict) {
                EXPECT_TRUE(c.valid) << "invalid value read as " << value.ToString();
            }
            // What was read is written as text that reads back, in either mode, to the same
            // value.
            const std::string written = value.ToString();
            TsVariant back;
            try {
                back.FromString(written, type, kCollapse, true);
            } catch (const CTsException& e) {
                ADD_FAILURE() << "written [" << written << "] refused: " << e.GetMessage();
                continue;
            }
            EXPECT_TRUE(SameValue(type, value, back)) << "written [" << written << "]";
            ++checked;
        }
    }
    EXPECT_GT(checked, 7000);
}

// The forms the lenient readers take beyond the exact lexical space, each refused strictly.
TEST(StrictReading, RefusesWhatOnlyLenientReadingTakes) {
    constexpr auto kNone = CWhitespaceUtils::WhitespaceRule_None;
    for (const test::TableRow& c : test::ReadTable("conversion/lenient_only.txt")) {
        SCOPED_TRACE(c.line);
        const ItemType kind = test::ItemTypeNamed(c[0]);
        TsVariant lenient;
        lenient.FromString(c[1], kind, kNone, false);
        TsVariant strict;
        if (c[2] == "yes") {
            strict.FromString(c[1], kind, kNone, true);
            EXPECT_EQ(strict.ToString(), lenient.ToString());
        } else {
            EXPECT_THROW(strict.FromString(c[1], kind, kNone, true), CTsInvalidValueException);
        }
    }
}

}  // namespace
