#include "conversion/pattern.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "support/expect_exception.h"
#include "support/test_node.h"
#include "support/test_table.h"
#include "tessel16/exception.h"
#include "tessel16/switches.h"

using namespace Tessel16;
using detail::MatchesXsdPattern;
using detail::MatchesXsdPatternUncached;
using Tessel16::test::ReadTable;
using Tessel16::test::TableRow;

TEST(XsdPattern, TranslationRewritesOnlyTheXsdEscapes) {
    const std::vector<TableRow> rows = ReadTable("conversion/pattern_translation.txt");
    ASSERT_GT(rows.size(), 10u);
    for (const TableRow& row : rows)
        EXPECT_EQ(detail::TranslateXsdPattern(row[0]), row[1]) << "line " << row.line;
}

TEST(XsdPattern, MatchesTheWholeValueOnly) {
    const std::vector<TableRow> rows = ReadTable("conversion/pattern_matches.txt");
    ASSERT_GT(rows.size(), 20u);
    for (const TableRow& row : rows) {
        SCOPED_TRACE("pattern_matches.txt line " + std::to_string(row.line));
        const bool matches = row[2] == "yes";
        EXPECT_EQ(MatchesXsdPattern(row[0], row[1]), matches);
        EXPECT_EQ(MatchesXsdPatternUncached(row[0], row[1]), matches);
    }
}

TEST(XsdPattern, CacheCompilesEachDistinctPatternOnce) {
    detail::ClearPatternCache();
    EXPECT_EQ(detail::PatternCacheSize(), 0u);
    EXPECT_TRUE(MatchesXsdPattern("[0-9]+", "12"));
    EXPECT_FALSE(MatchesXsdPattern("[0-9]+", "1a"));
    EXPECT_EQ(detail::PatternCacheSize(), 1u);
    EXPECT_THROW(MatchesXsdPattern("[", "x"), CTsException);
    EXPECT_THROW(MatchesXsdPattern("[", "x"), CTsException);
    EXPECT_EQ(detail::PatternCacheSize(), 2u);
    MatchesXsdPatternUncached("[a]", "a");
    EXPECT_EQ(detail::PatternCacheSize(), 2u);
}

TEST(XsdPattern, ConcurrentChecksAgree) {
    detail::ClearPatternCache();
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&wrong, t] {
            for (int i = 0; i < 500; ++i) {
                const std::string pattern = "[a-z]{" + std::to_string(1 + (i + t) % 7) + "}";
                const std::string value(static_cast<std::size_t>(1 + i % 7), 'q');
                const bool expected = (1 + (i + t) % 7) == (1 + i % 7);
                if (MatchesXsdPattern(pattern, value) != expected) ++wrong;
                if (i % 100 == 0 && t == 0) detail::ClearPatternCache();
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(wrong.load(), 0);
}

// With a single-byte local code page the value and the pattern are converted to UTF-8 before
// matching, and string lengths count bytes; switching code pages must not reuse patterns
// compiled for the other one.
TEST(XsdPattern, FollowsTheLocalCodePage) {
    test::CodePageScope latin1(1252);
    EXPECT_TRUE(MatchesXsdPattern("\\p{IsLatin-1Supplement}", "\xE9"));  // e-acute in 1252
    EXPECT_TRUE(MatchesXsdPattern("caf\xE9", "caf\xE9"));
    EXPECT_TRUE(MatchesXsdPattern(".", "\x80"));  // the euro sign: one character, U+20AC
    SetLocalCharEncoding(65001);
    EXPECT_FALSE(MatchesXsdPattern("\\p{IsLatin-1Supplement}", "\xE9"));  // not UTF-8 text
    EXPECT_TRUE(MatchesXsdPattern("caf\xC3\xA9", "caf\xC3\xA9"));
}

// A pattern that does not compile, and patterns whose backtracking explodes, must end, cached
// or not and on every check, in a root-class exception that says which, with the engine's
// reason: never in a long stall or a silent "no match". Values that a sane pattern handles in
// linear time must still be decided, however long.
TEST(XsdPattern, FailuresEndInAnExceptionOnEveryCheck) {
    const struct {
        const char* pattern;
        std::string value;
        bool compiles;
    } cases[] = {
        {"(abc", "abc", false},
        {"(a+)+(b|c)", std::string(40, 'a'), true},
        {"(a|aa)+(b|c)", std::string(80, 'a'), true},
        {"(.*a){20}", std::string(3000, 'a') + "b", true},
        {"((((((((((a))))))))))*", std::string(1000000, 'a'), true},
    };
    for (const auto& c : cases) {
        const std::string translated = detail::TranslateXsdPattern(c.pattern);
        const std::string gaveUp = " gave up before deciding on the value. Error: '";
        const std::string prefix = c.compiles
                                       ? "Regular Expression: " + translated + gaveUp
                                       : "Invalid Regular Expression: " + translated + " Error: '";
        for (int check = 0; check < 2; ++check) {
            for (bool cached : {true, false}) {
                SCOPED_TRACE(std::string(c.pattern) + (cached ? " cached" : " uncached"));
                const auto e = test::Caught<CTsException>([&] {
                    cached ? MatchesXsdPattern(c.pattern, c.value)
                           : MatchesXsdPatternUncached(c.pattern, c.value);
                });
                ASSERT_TRUE(e);
                const std::string& m = e->GetMessage();
                EXPECT_EQ(m.compare(0, prefix.size(), prefix), 0) << m;
                EXPECT_EQ(m.back(), '\'');
                EXPECT_GT(m.size(), prefix.size() + 1);  // the engine's text is there
            }
        }
    }
    std::string alternating;
    for (int i = 0; i < 100000; ++i) alternating += "ab";
    EXPECT_TRUE(MatchesXsdPattern("(a|b)*", alternating));
    EXPECT_TRUE(MatchesXsdPattern("(ab)*", alternating));
    EXPECT_FALSE(MatchesXsdPattern("(ab)*", alternating + "a"));
    EXPECT_TRUE(MatchesXsdPattern("[a-z]+", std::string(1000000, 'q')));
}
