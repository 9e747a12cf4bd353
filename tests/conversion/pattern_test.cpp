#include "conversion/pattern.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tessel16/exception.h"
#include "tessel16/switches.h"

using namespace Tessel16;
using detail::MatchesXsdPattern;
using detail::MatchesXsdPatternUncached;

TEST(XsdPattern, TranslationRewritesOnlyTheXsdEscapes) {
    struct Case {
        const char* xsd;
        const char* pcre;
    };
    const Case cases[] = {
        {"[a-z]+", "^([a-z]+)$"},
        {"\\i\\c*", "^(([^\\W\\d]|:)(\\w|\\.|-|:)*)$"},
        {"\\I\\C", "^(([\\W\\d])([^\\w\\.\\-\\:]))$"},
        {"\\\\i", "^(\\\\i)$"},                // an escaped backslash followed by i
        {"\\\\\\i", "^(\\\\([^\\W\\d]|:))$"},  // escaped backslash, then \i
        {"\\p{IsBasicLatin}", "^([\\000-\\177])$"},
        {"\\p{IsLatin-1Supplement}", "^([\\200-\\377])$"},
        {"\\p{IsLatinExtended-A}", "^([\\400-\\577])$"},
        {"\\p{IsLatinExtended-B}", "^([\\600-\\1117])$"},
        {"\\d{3}|\\p{Lu}", "^(\\d{3}|\\p{Lu})$"},
        {"", "^()$"},
    };
    for (const auto& c : cases) EXPECT_EQ(detail::TranslateXsdPattern(c.xsd), c.pcre) << c.xsd;
}

TEST(XsdPattern, MatchesTheWholeValueOnly) {
    struct Case {
        const char* pattern;
        const char* value;
        bool matches;
    };
    const Case cases[] = {
        {"[a-z]+", "abc", true},
        {"[a-z]+", "abc1", false},
        {"[a-z]+", "1abc", false},
        {"[a-z]+", "abc\n", false},  // "$" would accept the final LF; the span check does not
        {"[a-z]+", "", false},
        {"a|b", "b", true},  // the wrapping group keeps the alternation inside the anchors
        {"a|b", "ab", false},
        {"\\i\\c*", "xs:element", true},
        {"\\i\\c*", "_a-b.c", true},
        {"\\i\\c*", "1abc", false},
        {"\\i\\c*", "a b", false},
        {"\\\\i", "\\i", true},
        {"\\\\i", "x", false},
        {"\\d{3}-\\d{4}", "555-1234", true},
        {"\\d{3}-\\d{4}", "555-12345", false},
        {"\\p{IsBasicLatin}+", "Hello", true},
        {"\\p{IsBasicLatin}+", "H\xC3\xA9llo", false},
        {"\\p{IsLatin-1Supplement}", "\xC3\xA9", true},  // U+00E9 as one character
        {"\\p{IsLatinExtended-A}", "\xC5\x93", true},    // U+0153
        {".", "\xE2\x82\xAC", true},                     // U+20AC is one character in UTF mode
        {"\\p{Lu}\\p{Ll}*", "\xC3\x89t\xC3\xA9", true},
        {"[^abc]*", "xyz", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " ~ " + c.value);
        EXPECT_EQ(MatchesXsdPattern(c.pattern, c.value), c.matches);
        EXPECT_EQ(MatchesXsdPatternUncached(c.pattern, c.value), c.matches);
    }
}

TEST(XsdPattern, InvalidUtf8SubjectDoesNotMatch) {
    EXPECT_FALSE(MatchesXsdPattern(".*", "ab\xC3"));
    EXPECT_FALSE(MatchesXsdPattern(".*", "\xFF"));
}

TEST(XsdPattern, InvalidPatternThrowsOnEveryCheck) {
    const std::string prefix = "Invalid Regular Expression: ^((abc)$ Error: '";
    for (int i = 0; i < 3; ++i) {
        for (bool cached : {true, false}) {
            try {
                cached ? MatchesXsdPattern("(abc", "abc")
                       : MatchesXsdPatternUncached("(abc", "abc");
                ADD_FAILURE() << "no exception";
            } catch (const CTsException& e) {
                EXPECT_EQ(typeid(e), typeid(CTsException));
                EXPECT_EQ(e.GetMessage().compare(0, prefix.size(), prefix), 0) << e.GetMessage();
                EXPECT_EQ(e.GetMessage().back(), '\'');
                EXPECT_GT(e.GetMessage().size(), prefix.size() + 1);  // PCRE's text is there
            }
        }
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
    struct Restore {
        unsigned int codePage = detail::LocalCharEncoding();
        ~Restore() { SetLocalCharEncoding(codePage); }
    } restore;
    SetLocalCharEncoding(1252);
    EXPECT_TRUE(MatchesXsdPattern("\\p{IsLatin-1Supplement}", "\xE9"));  // e-acute in 1252
    EXPECT_TRUE(MatchesXsdPattern("caf\xE9", "caf\xE9"));
    EXPECT_TRUE(MatchesXsdPattern(".", "\x80"));  // the euro sign: one character, U+20AC
    SetLocalCharEncoding(65001);
    EXPECT_FALSE(MatchesXsdPattern("\\p{IsLatin-1Supplement}", "\xE9"));  // not UTF-8 text
    EXPECT_TRUE(MatchesXsdPattern("caf\xC3\xA9", "caf\xC3\xA9"));
}
