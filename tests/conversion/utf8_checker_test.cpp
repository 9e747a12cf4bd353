// utf8_checker_test.cpp: checking a writer's output for valid UTF-8 piece by piece must give
// the verdict of checking it whole, wherever the pieces split a character; and the stream's
// UTF-8 result must be the same bytes whatever chunk boundaries fall inside a character.
#include <gtest/gtest.h>

#include <string>

#include "conversion/char_encoding.h"
#include "support/test_node.h"
#include "support/test_table.h"
#include "tessel16/streams.h"
#include "tessel16/switches.h"

using namespace Tessel16;

namespace {

const unsigned char* Bytes(const std::string& s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

bool CheckedInPieces(const std::string& text, std::size_t cut1, std::size_t cut2) {
    detail::Utf8Checker checker;
    checker.Add(Bytes(text), cut1);
    checker.Add(Bytes(text) + cut1, cut2 - cut1);
    checker.Add(Bytes(text) + cut2, text.size() - cut2);
    return checker.Finish();
}

}  // namespace

TEST(Utf8Checker, PiecesGiveTheVerdictOfTheWholeUnlessAsciiOnly) {
    SetLocalCharEncoding(65001);
    for (const test::TableRow& c : test::ReadTable("conversion/utf8_texts.txt")) {
        SCOPED_TRACE(c[0]);
        const std::string& text = c[1];
        const bool valid = c[2] == "valid";
        ASSERT_EQ(detail::LocalIsAlreadyUtf8(text.data(), text.size()), valid);
        for (std::size_t cut1 = 0; cut1 <= text.size(); ++cut1) {
            for (std::size_t cut2 = cut1; cut2 <= text.size(); ++cut2) {
                EXPECT_EQ(CheckedInPieces(text, cut1, cut2), valid) << cut1 << "," << cut2;
            }
        }
    }
    SetLocalCharEncoding(3);
    // With ASCIIOnly every byte is trusted.
    ASCIIOnly(true);
    detail::Utf8Checker checker;
    checker.Add(Bytes("\xFF\xC3"), 2);
    EXPECT_TRUE(checker.Finish());
    ASCIIOnly(false);
}

TEST(Utf8Checker, StreamResultAcrossChunkBoundaries) {
    // The stream's chunks hold 4095 bytes: a character is put across the first boundary at
    // every offset, valid and broken, and a zero byte ends the text in a later chunk.
    for (std::size_t lead = 4091; lead <= 4095; ++lead) {
        for (const std::string tail : {"\xF0\x9F\x98\x80", "\xF0\x9F\x98"}) {
            SCOPED_TRACE(std::to_string(lead) + (tail.size() == 4 ? " valid" : " broken"));
            const std::string text = std::string(lead, 'a') + tail + std::string(5000, 'b');
            CTextStream stream(XmlEncoding_UTF8);
            stream.Open();
            stream.Write(text);
            stream.Write('\0');
            stream.Write("after the zero", 14);
            const std::string result = test::BytesOf(stream.GetBinaryData());
            EXPECT_EQ(result, test::BytesOf(detail::LocalToUtf8(text.c_str())));
            if (tail.size() == 4) {
                EXPECT_EQ(result, text);
            }
        }
    }
}
