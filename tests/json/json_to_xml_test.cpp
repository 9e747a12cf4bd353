// json_to_xml_test.cpp: the mapping of JSON onto XML text through CXmlDocument::LoadJson*:
// members, "@" attributes and "#text" at each level, arrays of objects and of simple values,
// the root element name, the mapping's own messages, and the byte-level input handling
// (compression, byte-order mark, UTF-16 text, empty input).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/expect_exception.h"
#include "support/test_node.h"
#include "support/test_table.h"
#include "tessel16/tessel16.h"

using namespace Tessel16;
using Tessel16::test::ThrowsExactly;

namespace {

using Tessel16::test::BytesOf;
constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string Map(const char* json, JsonRoundTrip level = JsonRoundTrip_Full,
                const char* root = nullptr) {
    CSerializationContext context;
    context.GetJsonContext().SetSupportRoundtrip(level);
    if (root) context.GetJsonContext().SetRootElementName(root);
    CXmlDocument document(context);
    return BytesOf(document.LoadJson(json));
}

}  // namespace

TEST(JsonToXml, MembersAttributesTextAndArrays) {
    const std::map<std::string, JsonRoundTrip> levels = {{"None", JsonRoundTrip_None},
                                                         {"Attributes", JsonRoundTrip_Attributes},
                                                         {"Full", JsonRoundTrip_Full}};
    for (const test::TableRow& c : test::ReadTable("json/json_to_xml.txt")) {
        SCOPED_TRACE(c.line);
        const char* root = c.cells.size() > 3 ? c[3].c_str() : nullptr;
        EXPECT_EQ(Map(c[0].c_str(), levels.at(c[1]), root), kDeclaration + c[2]);
    }
}

TEST(JsonToXml, MappingMessagesAndByteInput) {
    EXPECT_TRUE(ThrowsExactly<CTsInvalidStateException>(
        [] { Map("{\"R\": {\"a\": \"x\", \"@id\": \"7\"}}"); },
        "Failed to convert value '7' to Attribute string value in XML."));
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>([] { Map("[1, 2]"); },
                                                      "JSON Array has no Name.\nPath: $"));
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>([] { Map("{\"R\": {\"a\": {\"\": 1}}}"); },
                                                      "JSON item has an empty Name.\nPath: $.R.a"));
    // Syntax errors of the reader pass through unchanged.
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [] { Map("{\"R\": tru}"); }, "Expected 'true' at line 1, position 10.\nPath: $.R"));
    // Comments follow the context; they are allowed by default.
    EXPECT_EQ(Map("// c\n{\"R\": 1}"), std::string(kDeclaration) + "<R>1</R>\n");
    CSerializationContext strict;
    strict.GetJsonContext().SetAllowComments(false);
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] { CXmlDocument(strict).LoadJson("// c\n{\"R\": 1}"); },
        "Expected Value '{', '[', '\"', '0-9', '-', 'true', 'false' or 'null', found '/' at "
        "line 1, position 1.\nPath: $"));
    strict.GetJsonContext().SetAllowComments(true);
    EXPECT_EQ(BytesOf(CXmlDocument(strict).LoadJson("// c\n{\"R\": 1}")),
              std::string(kDeclaration) + "<R>1</R>\n");

    // Byte input is inflated and decoded.
    const std::string json = "\xEF\xBB\xBF{\"R\": \"\xC3\xA9\"}";
    const std::string expected = std::string(kDeclaration) + "<R>\xC3\xA9</R>\n";
    CXmlDocument document;
    const auto stream = [&](std::string bytes) {
        return BytesOf(document.LoadJsonStream(reinterpret_cast<unsigned char*>(&bytes[0]),
                                               static_cast<std::uint32_t>(bytes.size())));
    };
    EXPECT_EQ(stream(json), expected);
    // gzip framing: the loader detects it by itself.
    EXPECT_EQ(stream(test::Compress(json, 31)), expected);
    const unsigned short wide[] = {'{', '"', 'R', '"', ':', '"', 0xE9, '"', '}', 0};
    EXPECT_EQ(BytesOf(document.LoadJson(wide)), expected);
    // Broken UTF-8 in a string is refused, not passed on.
    EXPECT_THROW(stream("{\"R\": \"\xC3(\"}"), CTsValidationException);
    EXPECT_TRUE(
        ThrowsExactly<CTsException>([&] { document.LoadJson(""); }, "JSON String is empty!"));
    const unsigned short empty16[] = {0};
    EXPECT_TRUE(
        ThrowsExactly<CTsException>([&] { document.LoadJson(empty16); }, "JSON String is empty!"));
    EXPECT_TRUE(ThrowsExactly<CTsException>([&] { stream(""); }, "JSON Stream is empty!"));
    EXPECT_EQ(document.GetDocumentElement(), nullptr);
}
