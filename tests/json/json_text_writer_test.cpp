// json_text_writer_test.cpp: the JSON writer driven through the writer interface the way the
// binding engine drives it: layout at each round-trip level, formatted and not; escapes;
// namespaces; arrays of objects and of simple values; null, non-finite numbers, xsi members.
// Every text that is meant to be JSON also goes through two strict third-party parsers.
#include "tessel16/json_text_writer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/expect_exception.h"
#include "support/strict_json.h"
#include "support/test_table.h"

using namespace Tessel16;
using Tessel16::test::IsStrictJson;
using Tessel16::test::ThrowsExactly;

namespace {

// Runs `body` between the document object's braces, as the entry points do.
std::string Write(JsonRoundTrip level, bool formatted,
                  const std::function<void(CJsonTextWriter&)>& body) {
    CTextStream stream(XmlEncoding_None);
    CJsonTextWriter writer(&stream);
    writer.StartDocument();
    writer.SetFormatted(formatted);
    writer.SetSupportRoundtrip(level);
    writer.WriteObjectStart();
    body(writer);
    writer.WriteObjectEnd();
    writer.EndDocument();
    return stream.GetString();
}

void Simple(CJsonTextWriter& w, const char* name, const char* text,
            ItemType type = ItemType_string) {
    w.StartElement(name, "");
    w.WriteText(text, type, false);
    w.EndElement();
}

// <Order><Item id="1"/><Item id="2"/></Order>, Item being a repeated member.
void Order(CJsonTextWriter& w) {
    w.StartElement("Order", "");
    w.SetCollectionState(CollectionState_Starting);
    for (const char* id : {"1", "2"}) {
        w.StartElement("Item", "");
        w.AddAttribute("id", "", id, ItemType_string);
        w.EndElement();
    }
    w.SetCollectionState(CollectionState_Ended);
    w.EndElement();
}

}  // namespace

TEST(JsonTextWriter, RepeatedObjectsFormattedLayout) {
    const std::string text = Write(JsonRoundTrip_Full, true, Order);
    EXPECT_EQ(text,
              "{\n"
              "\t\"Order\": {\n"
              "\t\t\"Item\": [\n"
              "\t\t\t{\n"
              "\t\t\t\t\"@id\": \"1\"\n"
              "\t\t\t},\n"
              "\t\t\t{\n"
              "\t\t\t\t\"@id\": \"2\"\n"
              "\t\t\t}\n"
              "\t\t]\n"
              "\t}\n"
              "}");
    EXPECT_TRUE(IsStrictJson(text));
}

TEST(JsonTextWriter, LayoutPerLevel) {
    // One element with an attribute, text and a child: the same calls at every level.
    auto body = [](CJsonTextWriter& w) {
        w.StartElement("E", "");
        w.AddAttribute("a", "", "x", ItemType_string);
        Simple(w, "n", "5", ItemType_i4);
        w.WriteText("t", ItemType_string, false);
        w.EndElement();
    };
    const struct {
        JsonRoundTrip level;
        bool formatted;
        const char* expected;
    } kCases[] = {
        {JsonRoundTrip_Full, false, "{\"E\": {\"@a\": \"x\",\"n\": 5,\"#text\": \"t\"}}"},
        {JsonRoundTrip_Attributes, false, "{\"E\": {\"@a\": \"x\",\"n\": 5,\"#text\": \"t\"}}"},
        {JsonRoundTrip_None, false, "{\"E\": {\"a\": \"x\",\"n\": 5,\"\": \"t\"}}"},
        {JsonRoundTrip_Attributes, true,
         "{\n\t\"E\": {\n\t\t\"@a\": \"x\",\n\t\t\"n\": 5,\n\t\t\"#text\": \"t\"\n\t}\n}"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.expected);
        const std::string text = Write(c.level, c.formatted, body);
        EXPECT_EQ(text, c.expected);
        EXPECT_TRUE(IsStrictJson(text));
    }
}

TEST(JsonTextWriter, TypedValuesBareOrQuoted) {
    for (const test::TableRow& c : test::ReadTable("json/writer_typed_values.txt")) {
        SCOPED_TRACE(c.line);
        const ItemType type = test::ItemTypeNamed(c[1]);
        const std::string text = Write(JsonRoundTrip_Full, false, [&](CJsonTextWriter& w) {
            Simple(w, "R", c[0].c_str(), type);
        });
        EXPECT_EQ(text, "{\"R\": " + c[2] + "}");
        EXPECT_TRUE(IsStrictJson(text));
    }
}

TEST(JsonTextWriter, StringEscapes) {
    const std::string raw = "q\" b\\ t\t n\n r\r f\f b\b c\x01 d\x1f / \xC3\xA9";
    const std::string text =
        Write(JsonRoundTrip_Full, true, [&](CJsonTextWriter& w) { Simple(w, "R", raw.c_str()); });
    EXPECT_EQ(text,
              "{\n\t\"R\": \"q\\\" b\\\\ t\\t n\\n r\\r f\\f b\\b c\\u0001 d\\u001F / "
              "\xC3\xA9\"\n}");
    EXPECT_TRUE(IsStrictJson(text));
}

TEST(JsonTextWriter, EmptyElementIsNullAndEmptyTextAnEmptyString) {
    const std::string text = Write(JsonRoundTrip_Full, false, [](CJsonTextWriter& w) {
        w.StartElement("R", "");
        w.StartElement("nil", "");
        w.AddXsiNil();
        w.EndElement();
        Simple(w, "empty", "");
        w.EndElement();
    });
    EXPECT_EQ(text, "{\"R\": {\"nil\": null,\"empty\": \"\"}}");
    EXPECT_TRUE(IsStrictJson(text));
}

TEST(JsonTextWriter, ArraysOfSimpleValuesCloseWhereTheMemberEnds) {
    // street twice, then city; then two repeated members back to back.
    const std::string text = Write(JsonRoundTrip_Full, true, [](CJsonTextWriter& w) {
        w.StartElement("A", "");
        w.SetCollectionState(CollectionState_Starting);
        Simple(w, "street", "a");
        Simple(w, "street", "b");
        w.SetCollectionState(CollectionState_Ended);
        Simple(w, "city", "c");
        w.SetCollectionState(CollectionState_Starting);
        Simple(w, "x", "1", ItemType_i4);
        w.SetCollectionState(CollectionState_Ended);
        w.SetCollectionState(CollectionState_Starting);
        w.StartElement("y", "");
        w.EndElement();
        w.SetCollectionState(CollectionState_Ended);
        w.EndElement();
    });
    EXPECT_EQ(text,
              "{\n\t\"A\": {\n"
              "\t\t\"street\": [\n\t\t\t\"a\",\n\t\t\t\"b\"\n\t\t],\n"
              "\t\t\"city\": \"c\",\n"
              "\t\t\"x\": [\n\t\t\t1\n\t\t],\n"
              "\t\t\"y\": [\n\t\t\tnull\n\t\t]\n"
              "\t}\n}");
    EXPECT_TRUE(IsStrictJson(text));
}

TEST(JsonTextWriter, RootNamespaceGetsPrefixAndDeclaration) {
    auto body = [](CJsonTextWriter& w) {
        w.StartElement("R", "urn:a");
        Simple(w, "c", "1");
        w.StartElement("q", "urn:a");
        w.AddAttribute("at", "urn:a", "v", ItemType_string);
        w.EndElement();
        w.EndElement();
    };
    std::string text = Write(JsonRoundTrip_Full, false, body);
    EXPECT_EQ(text,
              "{\"AA:R\": {\"@xmlns:AA\": \"urn:a\",\"c\": \"1\",\"AA:q\": {\"@AA:at\": \"v\"}}}");
    EXPECT_TRUE(IsStrictJson(text));
    text = Write(JsonRoundTrip_Attributes, false, body);
    EXPECT_EQ(text, "{\"R\": {\"c\": \"1\",\"q\": {\"@at\": \"v\"}}}");
}

TEST(JsonTextWriter, DocumentNamespacesDeclaredOnTheRoot) {
    const std::string text = Write(JsonRoundTrip_Full, false, [](CJsonTextWriter& w) {
        w.SetDefaultNamespace("urn:d");
        w.AddNamespaceAlias("p", "urn:p");
        w.StartElement("R", "urn:d");
        Simple(w, "c", "1");
        w.StartElement("k", "urn:p");
        w.EndElement();
        w.EndElement();
    });
    EXPECT_EQ(
        text,
        "{\"R\": {\"@xmlns\": \"urn:d\",\"@xmlns:p\": \"urn:p\",\"c\": \"1\",\"p:k\": null}}");
    EXPECT_TRUE(IsStrictJson(text));
}

TEST(JsonTextWriter, UndeclaredNamespaceBelowTheRoot) {
    auto body = [](CJsonTextWriter& w) {
        w.StartElement("R", "");
        w.StartElement("c", "urn:x");
        w.EndElement();
        w.EndElement();
    };
    EXPECT_TRUE(ThrowsExactly<CTsException>([&] { Write(JsonRoundTrip_Full, false, body); },
                                            "Unknown Namespace: urn:x."));
    EXPECT_EQ(Write(JsonRoundTrip_None, false, body), "{\"R\": {\"c\": null}}");
    auto attribute = [](CJsonTextWriter& w) {
        w.StartElement("R", "");
        w.AddAttribute("a", "urn:y", "v", ItemType_string);
        w.EndElement();
    };
    EXPECT_TRUE(ThrowsExactly<CTsException>([&] { Write(JsonRoundTrip_Full, false, attribute); },
                                            "Unknown Namespace: urn:y."));
}

TEST(JsonTextWriter, XsiTypeOnlyAtFullLevel) {
    auto body = [](CJsonTextWriter& w) {
        w.AddNamespaceAlias("xsi", "http://www.w3.org/2001/XMLSchema-instance");
        w.AddNamespaceAlias("t", "urn:t");
        w.StartElement("R", "");
        w.AddXsiType("urn:t", "Derived", ItemType_string);
        w.EndElement();
    };
    EXPECT_EQ(Write(JsonRoundTrip_Full, false, body),
              "{\"R\": {\"@xmlns:xsi\": \"http://www.w3.org/2001/XMLSchema-instance\","
              "\"@xmlns:t\": \"urn:t\",\"@xsi:type\": \"t:Derived\"}}");
    EXPECT_EQ(Write(JsonRoundTrip_Attributes, false, body), "{\"R\": null}");
}

TEST(JsonTextWriter, CommentsAndLineEnds) {
    CTextStream stream(XmlEncoding_None);
    CJsonTextWriter writer(&stream);
    writer.StartDocument();
    writer.SetEOLType(EOLType_CRLF);
    writer.WriteComment("a \"b\"");
    writer.WriteObjectStart();
    Simple(writer, "R", "x\ny");
    writer.WriteObjectEnd();
    writer.EndDocument();
    EXPECT_EQ(std::string(stream.GetString()), "/* a \\\"b\\\" */\r\n{\r\n\t\"R\": \"x\\ny\"\r\n}");
    EXPECT_TRUE(ThrowsExactly<CTsException>([&] { writer.SetEOLType(static_cast<EOLType>(2)); },
                                            "Invalid EOL type."));
}
