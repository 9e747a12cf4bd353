#include "tessel16/whitespace_utils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conversion/whitespace_keep.h"
#include "support/test_table.h"

using namespace Tessel16;
using WS = CWhitespaceUtils;

TEST(WhitespaceUtils, RulesOverTable) {
    for (const test::TableRow& c : test::ReadTable("conversion/whitespace_rules.txt")) {
        SCOPED_TRACE(c.line);
        const char* input = c[0].c_str();
        EXPECT_EQ(WS::Preserve(input), c[1]);
        EXPECT_EQ(WS::Replace(input), c[2]);
        EXPECT_EQ(WS::Collapse(input), c[3]);
        // The rules None, Preserve, Replace and Collapse give the columns 0 to 3.
        for (int rule = 0; rule < 4; ++rule)
            EXPECT_EQ(WS::ApplyRule(static_cast<WS::WhitespaceRule>(rule), input), c[rule]);
    }
}

// The no-copy path must give exactly what the rule gives, including where a single space
// sits at either end, spaces double up, or a zero byte hides inside the string.
TEST(WhitespaceUtils, KeepingTheTextAgreesWithTheRule) {
    // A zero byte ends the text for the rules but not for the table's C strings.
    std::vector<std::string> texts = {std::string("a\0b", 3), std::string(40, 'w') + '\0'};
    for (const test::TableRow& c : test::ReadTable("conversion/whitespace_rules.txt"))
        texts.push_back(c[0]);
    for (WS::WhitespaceRule rule : {WS::WhitespaceRule_None, WS::WhitespaceRule_Preserve,
                                    WS::WhitespaceRule_Replace, WS::WhitespaceRule_Collapse}) {
        for (const std::string& text : texts) {
            SCOPED_TRACE(testing::PrintToString(text) + " rule " + std::to_string(rule));
            std::string scratch;
            const std::string& kept = detail::ApplyRuleOrKeep(rule, text, scratch);
            EXPECT_EQ(kept, WS::ApplyRule(rule, text));
            EXPECT_EQ(&kept == &text, detail::RuleKeepsText(rule, text));
        }
    }
    EXPECT_TRUE(detail::RuleKeepsText(WS::WhitespaceRule_Collapse, "12.50"));
    EXPECT_FALSE(detail::RuleKeepsText(WS::WhitespaceRule_Collapse, " 12.50"));
    EXPECT_FALSE(detail::RuleKeepsText(static_cast<WS::WhitespaceRule>(9), "x"));
}

TEST(WhitespaceUtils, EmbeddedNulOrLengthEndsTheTextExceptForRuleNone) {
    const std::string text("a b\0c d", 7);
    EXPECT_EQ(WS::Preserve(text), "a b");
    EXPECT_EQ(WS::Replace(text), "a b");
    EXPECT_EQ(WS::Collapse(text), "a b");
    EXPECT_EQ(WS::ApplyRule(WS::WhitespaceRule_None, text), text);
    // With a length, Preserve stops there or at a zero byte, whichever comes first.
    EXPECT_EQ(WS::Preserve("a\r\nbc", 3), "a\n");
    // A CR at the last allowed position is lone even when an LF follows beyond the length.
    EXPECT_EQ(WS::Preserve("a\r\nb", 2), "a\n");
    EXPECT_EQ(WS::Preserve("ab\0cd", 5), "ab");
    EXPECT_EQ(WS::Preserve(nullptr, 4), "");
    EXPECT_EQ(WS::Preserve("abc", 0), "");
    EXPECT_EQ(WS::Preserve("abc", -1), "");
}

TEST(WhitespaceUtils, IsWhiteSpaceOnlyTheFourXmlCharacters) {
    for (int c = 0; c < 256; ++c) {
        bool expected = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        EXPECT_EQ(WS::IsWhiteSpace(static_cast<char>(c)), expected) << c;
    }
}
