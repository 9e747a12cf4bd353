// json_text_writer_test.cpp: the JSON writer driven through the writer interface the way the
// binding engine drives it, from scripts in tests/data/json: layout at each round-trip level,
// formatted and not; namespaces; arrays of objects and of simple values; null, xsi members;
// typed values and escapes. Every text meant to be JSON also goes through strict parsers.
#include "tessel16/json_text_writer.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/expect_exception.h"
#include "support/strict_json.h"
#include "support/test_table.h"
#include "support/writer_script.h"

using namespace Tessel16;
using Tessel16::test::IsStrictJson;
using Tessel16::test::ThrowsExactly;

namespace {

void Simple(CXmlWriter& w, const char* name, const char* text, ItemType type = ItemType_string) {
    w.StartElement(name, "");
    w.WriteText(text, type, false);
    w.EndElement();
}

}  // namespace

TEST(JsonTextWriter, ScriptsGiveTheirText) {
    const std::map<std::string, JsonRoundTrip> levels = {{"full", JsonRoundTrip_Full},
                                                         {"attributes", JsonRoundTrip_Attributes},
                                                         {"none", JsonRoundTrip_None}};
    for (const test::TableRow& c : test::ReadTable("json/writer_scripts.txt")) {
        SCOPED_TRACE("writer_scripts.txt line " + std::to_string(c.line));
        const auto run = [&] {
            return test::WriteJson(levels.at(c[0]), c[1] == "formatted",
                                   [&](CXmlWriter& w) { test::RunWriterScript(w, c[2]); });
        };
        if (c[3][0] == '!') {
            EXPECT_TRUE(ThrowsExactly<CTsException>(run, c[3].substr(1)));
            continue;
        }
        const std::string text = run();
        EXPECT_EQ(text, c[3]);
        EXPECT_TRUE(IsStrictJson(text));
    }
}

TEST(JsonTextWriter, TypedValuesBareOrQuoted) {
    for (const test::TableRow& c : test::ReadTable("json/writer_typed_values.txt")) {
        SCOPED_TRACE(c.line);
        const ItemType type = test::ItemTypeNamed(c[1]);
        const std::string text = test::WriteJson(
            JsonRoundTrip_Full, false, [&](CXmlWriter& w) { Simple(w, "R", c[0].c_str(), type); });
        EXPECT_EQ(text, "{\"R\": " + c[2] + "}");
        EXPECT_TRUE(IsStrictJson(text));
    }
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
