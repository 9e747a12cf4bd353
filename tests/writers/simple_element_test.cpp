// simple_element_test.cpp: WriteSimpleElement, the one-call form of a text-only element, must
// give every writer's output exactly as StartElement, WriteText and EndElement give it. Each
// script of tests/data/writers/simple_element_scripts.txt runs twice per writer and setting,
// once per form, and the outputs are compared.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fastinfoset/fi_test_support.h"
#include "support/test_table.h"
#include "support/writer_script.h"
#include "tessel16/exception.h"
#include "tessel16/xml_text_writer.h"

using namespace Tessel16;

namespace {

// A script runs either way: `whole` writes each "+" element in one call.
struct Script {
    std::string name;
    std::string json;  // where JSON refuses it: never, full or always
    std::string text;
    void operator()(CXmlWriter& w, bool whole) const { test::RunWriterScript(w, text, whole); }
};

std::vector<Script> Scripts() {
    std::vector<Script> scripts;
    for (const test::TableRow& row : test::ReadTable("writers/simple_element_scripts.txt"))
        scripts.push_back({row[0], row[1], row[2]});
    return scripts;
}

// What a run gave: the output, or the message it failed with.
std::string Outcome(const std::function<std::string()>& run) {
    try {
        return run();
    } catch (const CTsException& e) {
        return "throws: " + e.GetFullMessage();
    }
}

std::string WriteXml(const Script& body, bool whole, bool formatted, EOLType eol,
                     bool writeDefaults) {
    return Outcome([&] {
        CTextStream stream(XmlEncoding_UTF8);
        CXmlTextWriter writer(&stream);
        writer.StartDocument();
        writer.SetFormatted(formatted);
        writer.SetIndentChars("  ");
        writer.SetEOLType(eol);
        writer.SetWriteDefaultValues(writeDefaults);
        body(writer, whole);
        writer.EndDocument();
        return std::string(stream.GetString());
    });
}

std::string WriteJson(const Script& body, bool whole, bool formatted, JsonRoundTrip level) {
    return Outcome(
        [&] { return test::WriteJson(level, formatted, [&](CXmlWriter& w) { body(w, whole); }); });
}

std::string WriteFastInfoset(const Script& body, bool whole) {
    return Outcome([&] {
        return test::Hex(
            test::WriteFi(CFastInfosetContext(), [&](CFastInfosetWriter& w) { body(w, whole); }));
    });
}

}  // namespace

TEST(SimpleElement, EveryWriterMatchesTheThreeCalls) {
    for (const Script& script : Scripts()) {
        SCOPED_TRACE(script.name);
        const std::string fi = WriteFastInfoset(script, false);
        EXPECT_EQ(fi.rfind("throws", 0), std::string::npos) << fi;
        EXPECT_EQ(WriteFastInfoset(script, true), fi);
        for (bool formatted : {true, false}) {
            for (EOLType eol : {EOLType_LF, EOLType_CRLF}) {
                for (bool writeDefaults : {false, true}) {
                    SCOPED_TRACE(std::string(formatted ? "formatted" : "") +
                                 (eol == EOLType_CRLF ? " crlf" : "") +
                                 (writeDefaults ? " defaults" : ""));
                    const std::string split =
                        WriteXml(script, false, formatted, eol, writeDefaults);
                    EXPECT_EQ(split.rfind("throws", 0), std::string::npos) << split;
                    EXPECT_EQ(WriteXml(script, true, formatted, eol, writeDefaults), split);
                }
            }
            for (JsonRoundTrip level :
                 {JsonRoundTrip_Full, JsonRoundTrip_Attributes, JsonRoundTrip_None}) {
                SCOPED_TRACE((formatted ? "formatted" : "") + std::string(" level ") +
                             std::to_string(level));
                const std::string split = WriteJson(script, false, formatted, level);
                const bool refused = script.json == "always" ||
                                     (script.json == "full" && level == JsonRoundTrip_Full);
                EXPECT_EQ(split.rfind("throws", 0) == 0, refused) << split;
                EXPECT_EQ(WriteJson(script, true, formatted, level), split);
            }
        }
    }
}

TEST(SimpleElement, NamesAreCheckedLikeStartElement) {
    for (const test::TableRow& c : test::ReadTable("writers/xml_names.txt")) {
        for (bool whole : {false, true}) {
            SCOPED_TRACE("xml_names.txt line " + std::to_string(c.line) + (whole ? " whole" : ""));
            CTextStream stream(XmlEncoding_None);
            CXmlTextWriter writer(&stream);
            writer.StartDocument();
            writer.StartElement("root", "");
            const std::string script = "+" + c[0] + "=1";
            if (c[1] == "valid")
                EXPECT_NO_THROW(test::RunWriterScript(writer, script, whole));
            else
                EXPECT_THROW(test::RunWriterScript(writer, script, whole), CTsException);
        }
    }
}
