// fastinfoset_values_test.cpp: the built-in encoding algorithms both ways, the vocabulary's
// index rules and limits, and the suggested encodings of the context.
#include <gtest/gtest.h>

#include "fastinfoset/fi_test_support.h"
#include "support/expect_exception.h"
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

TEST(FastInfosetBinaryData, EncodesEachAlgorithm) {
    struct Case {
        std::uint32_t algorithm;
        const char* text;
        const char* octets;
    } cases[] = {
        {1, "ABCD", "AB CD"},
        {2, "AQID", "01 02 03"},
        {3, "-2", "FF FE"},
        {4, "-1", "FF FF FF FF"},
        {5, "258", "00 00 00 00 00 00 01 02"},
        {6, "true", "38"},
        {6, "false", "30"},
        {7, "1.5", "3F C0 00 00"},
        {8, "1.5", "3F F8 00 00 00 00 00 00"},
        {9, "0102030405060708090a0b0c0d0e0f10", "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10"},
        {9, "01020304-0506-0708-090a-0b0c0d0e0f10", "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10"},
        {10, "x<y", "78 3C 79"},
    };
    for (const Case& c : cases) EXPECT_EQ(Encode(c.algorithm, c.text), c.octets) << c.text;
    EXPECT_TRUE(ThrowsExactly<CTsException>([] { Encode(11, "1"); }, "Unknown byte encoding."));
    EXPECT_THROW(Encode(3, "40000"), CTsException);
}

TEST(FastInfosetBinaryData, DecodesEachAlgorithm) {
    struct Case {
        std::uint32_t algorithm;
        const char* octets;
        const char* text;
    } cases[] = {
        {1, "AB CD", "ABCD"},
        {2, "01 02 03", "AQID"},
        {3, "FF FE 01 02", "-2 258"},
        {4, "FF FF FF FF 00 00 00 01", "-1 1"},
        {5, "80 00 00 00 00 00 00 00", "-9223372036854775808"},
        {6, "38", "true"},
        {6, "30", "false"},
        {6, "1A", "true false true"},
        {6, "7A 80", "true false true false true"},
        {7, "3F C0 00 00 42 C8 00 00", "1.5 100.0"},
        {7, "00 00 00 01 7F C0 00 00", "1.4E-45 NaN"},
        {8, "54 B2 49 AD 25 94 C3 7D", "1.0E100"},
        {8, "3E E4 F8 B5 88 E3 68 F1", "1.0E-5"},
        {8, "80 00 00 00 00 00 00 00", "-0.0"},
        {9, "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10", "01020304-0506-0708-090a-0b0c0d0e0f10"},
        {4, "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Decode(c.algorithm, c.octets), c.text) << c.octets;
    struct Bad {
        std::uint32_t algorithm;
        const char* octets;
        const char* message;
    } bad[] = {
        {3, "01 02 03", "Invalid value for SHORT byte encoding."},
        {4, "01 02", "Invalid value for INT byte encoding."},
        {5, "01", "Invalid value for LONG byte encoding."},
        {7, "01 02 03", "Invalid value for FLOAT byte encoding."},
        {8, "01 02 03 04", "Invalid value for DOUBLE byte encoding."},
        {9, "01", "Invalid value for UUID byte encoding."},
        {10, "41", "Unknown byte encoding."},
    };
    for (const Bad& b : bad)
        EXPECT_TRUE(ThrowsExactly<CTsException>([&] { Decode(b.algorithm, b.octets); }, b.message))
            << b.octets;
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

TEST(FastInfosetContext, SuggestedValues) {
    CFastInfosetContext context;
    context.SetSuggestedValues();
    using E = CFastInfosetContext::EncodedCharacterString;
    EXPECT_EQ(context.GetEncoding(ItemType_boolean), (E{2, 6}));
    EXPECT_EQ(context.GetEncoding(ItemType_string), (E{0, 0}));
    EXPECT_EQ(context.GetEncoding(ItemType_ui4), (E{2, 5}));
    EXPECT_EQ(context.GetEncoding(ItemType_time), (E{1, 2}));
    EXPECT_EQ(context.GetEncoding(ItemType_integer), (E{1, 1}));
    context.GetVocabulary()->AddLocalName("kept");
    CFastInfosetContext copy(context);
    std::uint32_t i = 0;
    EXPECT_TRUE(copy.GetVocabulary()->FindLocalName("kept", i));
}

}  // namespace
