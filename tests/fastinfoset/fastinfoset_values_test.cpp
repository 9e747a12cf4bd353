// fastinfoset_values_test.cpp: the built-in encoding algorithms both ways, the vocabulary's
// index rules and limits, and what a copy of the context keeps.
#include <gtest/gtest.h>

#include "fastinfoset/fi_test_support.h"
#include "support/expect_exception.h"
#include "support/test_table.h"
#include "tessel16/fastinfoset_binary_data.h"

using namespace Tessel16;
using namespace Tessel16::test;

namespace {

std::string Encode(std::uint32_t algorithm, const char* text) {
    CFastInfosetBinaryData data;
    data.SetAsEncodedString(algorithm, text);
    return Hex(data);
}

std::string Decode(std::uint32_t algorithm, const std::string& hex) {
    std::vector<unsigned char> bytes = Octets(hex);
    CFastInfosetBinaryData data(bytes.data(), static_cast<std::uint32_t>(bytes.size()), false);
    return data.GetAsString(algorithm);
}

TEST(FastInfosetBinaryData, EncodesAndDecodesEachAlgorithm) {
    for (const test::TableRow& c : test::ReadTable("fastinfoset/encode.txt"))
        EXPECT_EQ(Encode(static_cast<std::uint32_t>(std::stoul(c[0])), c[1].c_str()), c[2])
            << c.line;
    EXPECT_TRUE(ThrowsExactly<CTsException>([] { Encode(11, "1"); }, "Unknown byte encoding."));
    EXPECT_THROW(Encode(3, "40000"), CTsException);

    for (const test::TableRow& c : test::ReadTable("fastinfoset/decode.txt")) {
        SCOPED_TRACE(c.line);
        const auto algorithm = static_cast<std::uint32_t>(std::stoul(c[0]));
        if (c[2].empty() || c[2][0] != '!') {
            EXPECT_EQ(Decode(algorithm, c[1]), c[2]);
        } else {
            EXPECT_TRUE(
                ThrowsExactly<CTsException>([&] { Decode(algorithm, c[1]); }, c[2].substr(1)));
        }
    }
}

TEST(FastInfosetVocabulary, IndicesFollowTheOrderOfAddition) {
    CFIVocabulary v;
    std::uint32_t i = 0;
    ASSERT_TRUE(v.FindPrefix("xml", i));
    EXPECT_EQ(i, 1u);
    ASSERT_TRUE(v.FindNamespaceName("http://www.w3.org/XML/1998/namespace", i));
    EXPECT_EQ(i, 1u);
    v.AddPrefixName("p");
    ASSERT_TRUE(v.FindPrefix("p", i));
    EXPECT_EQ(i, 2u);
    v.AddElement("p", "urn:x", "a");
    v.AddElement("p", "urn:x", "a");
    v.AddElement("q", "urn:x", "a");
    EXPECT_EQ(v.GetElementNamesTable().size(), 2u);
    EXPECT_EQ(v.GetLocalNamesTable().size(), 1u);
    EXPECT_EQ(v.GetElementNamesTable().Get(1).localName, v.GetElementNamesTable().Get(2).localName);
    EXPECT_EQ(v.GetElementNamesTable().Get(2).prefix, 3u);
    EXPECT_TRUE(v.FindElement("q", "urn:x", "a", i));
    EXPECT_EQ(i, 2u);
    EXPECT_FALSE(v.FindAttribute("q", "urn:x", "a", i));
    CFIVocabulary copy(v);
    EXPECT_TRUE(copy.FindElement("p", "urn:x", "a", i));
    // A copy of the context carries its vocabulary (the suggested encodings are listed in
    // tests/binding/serialization_context_test).
    CFastInfosetContext context;
    context.GetVocabulary()->AddLocalName("kept");
    EXPECT_TRUE(CFastInfosetContext(context).GetVocabulary()->FindLocalName("kept", i));
}

TEST(FastInfosetVocabulary, AFullTableIgnoresAdditions) {
    CFIVocabulary v;
    for (std::uint32_t n = 0; n < CFIVocabulary::kMaxTableSize; ++n)
        v.AddElementValue(std::to_string(n));
    v.AddElementValue("one too many");
    std::uint32_t i = 0;
    EXPECT_EQ(v.GetCharacterChunksTable().size(), CFIVocabulary::kMaxTableSize);
    EXPECT_FALSE(v.FindElementValue("one too many", i));
    EXPECT_TRUE(v.FindElementValue("1048575", i));
    EXPECT_EQ(i, CFIVocabulary::kMaxTableSize);
}

}  // namespace
