#include "conversion/char_encoding.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/test_table.h"
#include "tessel16/switches.h"

using namespace Tessel16;

namespace {
std::string Hex(const CBinaryData& d) { return d.GetAsHexString(); }
std::string Hex(const std::string& s) { return CBinaryData(s.c_str()).GetAsHexString(); }

// Restores the process-wide encoding switches after each test.
class CharEncoding : public ::testing::Test {
protected:
    void TearDown() override {
        ASCIIOnly(false);
        SetLocalCharEncoding(3);
    }
};
}  // namespace

TEST_F(CharEncoding, Utf8CodePagesKeepTextUnchanged) {
    for (unsigned cp : {0u, 3u, 65001u}) {
        SetLocalCharEncoding(cp);
        EXPECT_TRUE(detail::LocalIsUtf8());
        EXPECT_EQ(Hex(detail::Utf8ToLocal("\xC3\xA9t\xC3\xA9")), "C3A974C3A9");
        EXPECT_EQ(Hex(detail::LocalToUtf8("\xC3\xA9")), "C3A9");
    }
    // Malformed UTF-8 is replaced, never passed through as it is.
    EXPECT_EQ(Hex(detail::Utf8ToLocal("a\xFF" "b")), "61EFBFBD62");
    EXPECT_EQ(Hex(detail::Utf8ToLocal("\xC3")), "EFBFBD");
}

TEST_F(CharEncoding, Utf8OutputPassesValidTextAndNotBadBytesBehindAsciiRuns) {
    // Long ASCII runs are checked in blocks; what follows them must still be checked.
    const std::string run = "0123456789abcdef";
    EXPECT_EQ(Hex(detail::LocalToUtf8((run + "\xC3\xA9" + run).c_str())),
              Hex(run + "\xC3\xA9" + run));
    for (const char* bad : {"\xFF", "\xC3", "\xC3(", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
        const std::string text = run + bad + "tail!";
        EXPECT_NE(Hex(detail::LocalToUtf8(text.c_str())), Hex(text)) << Hex(bad);
    }
}

TEST_F(CharEncoding, SingleByteCodePagesThroughIconv) {
    SetLocalCharEncoding(1252);
    EXPECT_FALSE(detail::LocalIsUtf8());
    EXPECT_EQ(Hex(detail::Utf8ToLocal("\xC3\xA9")), "E9");
    EXPECT_EQ(Hex(detail::LocalToUtf8("\xE9")), "C3A9");
    EXPECT_EQ(Hex(detail::Utf8ToLocal("\xE2\x82\xAC")), "80");  // euro sign in 1252
    EXPECT_EQ(Hex(detail::Utf8ToLocal("\xE4\xB8\xAD")), "3F");  // not representable: '?'
    EXPECT_EQ(Hex(detail::LocalToUtf16("\xE9" "A")), "E9004100");

    SetLocalCharEncoding(28591);
    EXPECT_EQ(Hex(detail::Utf8ToLocal("\xC3\xBF")), "FF");
    EXPECT_EQ(Hex(detail::LocalToUtf8("\xFF")), "C3BF");
    const unsigned short units[] = {0x00E9, 0x0041};
    EXPECT_EQ(Hex(detail::Utf16ToLocal(units, 2)), "E941");
}

TEST_F(CharEncoding, AsciiOnlyCopiesBytes) {
    SetLocalCharEncoding(1252);
    ASCIIOnly(true);
    EXPECT_TRUE(detail::LocalIsUtf8());
    EXPECT_EQ(Hex(detail::Utf8ToLocal("\xC3\xA9")), "C3A9");
    EXPECT_EQ(Hex(detail::LocalToUtf8("\xE9\xFF")), "E9FF");
    // UTF-16 conversions ignore the switch.
    EXPECT_EQ(Hex(detail::LocalToUtf16("\xE9")), "E900");
}

TEST_F(CharEncoding, Utf16ToUtf8SurrogateRules) {
    for (const test::TableRow& c : test::ReadTable("conversion/utf16_to_utf8.txt")) {
        SCOPED_TRACE("utf16_to_utf8.txt line " + std::to_string(c.line));
        std::vector<unsigned short> units;
        std::istringstream words(c[0]);
        for (unsigned unit = 0; words >> std::hex >> unit;)
            units.push_back(static_cast<unsigned short>(unit));
        units.push_back(0);
        EXPECT_EQ(Hex(detail::Utf16ToUtf8(units.data())), c.cells.size() > 1 ? c[1] : "");
    }
}

TEST_F(CharEncoding, Utf16RoundTripThroughLocalText) {
    CBinaryData utf16 = detail::LocalToUtf16("a\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(Hex(utf16), "6100E9003DD800DE");
    std::string back = detail::Utf16ToLocal(reinterpret_cast<unsigned short*>(utf16.GetData()),
                                            utf16.GetLength() / 2);
    EXPECT_EQ(back, "a\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(detail::Utf16ToLocal(nullptr, 0), "");
    EXPECT_EQ(detail::LocalToUtf16("").GetLength(), 0u);
}
