// simple_element_test.cpp: WriteSimpleElement, the one-call form of a text-only element, must
// give every writer's output exactly as StartElement, WriteText and EndElement give it. Each
// script runs twice per writer and setting, once per form, and the outputs are compared.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tessel16/exception.h"
#include "tessel16/fastinfoset_context.h"
#include "tessel16/fastinfoset_writer.h"
#include "tessel16/json_text_writer.h"
#include "tessel16/streams.h"
#include "tessel16/xml_text_writer.h"

using namespace Tessel16;

namespace {

using Script = std::function<void(CXmlWriter&, bool whole)>;

void Simple(CXmlWriter& w, bool whole, const char* name, const char* ns, const char* text,
            ItemType type = ItemType_string, bool isDefault = false) {
    if (whole) {
        w.WriteSimpleElement(name, ns, text, type, isDefault);
    } else {
        w.StartElement(name, ns);
        w.WriteText(text, type, isDefault);
        w.EndElement();
    }
}

// Every shape a text-only member meets: namespaces bound, default, absent or new (declared
// twice, since a declaration ends with its element), empty and default-valued text, CDATA,
// escapes, typed values, an open start tag, mixed content, depth and repeated members.
// Where JSON refuses a script, in both forms alike: a namespace first bound below the document
// element has no spelling at the full level, and text before a member none at any level.
enum JsonRefusal { kNever, kAtFullLevel, kAlways };

const struct {
    const char* name;
    JsonRefusal json;
    Script body;
} kScripts[] = {
    {"values", kNever,
     [](CXmlWriter& w, bool whole) {
         w.AddNamespaceAlias("p", "urn:p");
         w.SetDefaultNamespace("urn:a");
         w.StartElement("root", "urn:a");
         w.AddAttribute("id", "", "7", ItemType_i4);
         Simple(w, whole, "first", "urn:a", "a<b&c>\"d'\n\re");
         Simple(w, whole, "bare", "", "x");
         Simple(w, whole, "aliased", "urn:p", "y");
         Simple(w, whole, "empty", "urn:a", "");
         Simple(w, whole, "dropped", "urn:a", "5", ItemType_i4, true);
         Simple(w, whole, "cdata", "urn:a", "<![CDATA[<&>]]>");
         Simple(w, whole, "number", "urn:a", "-12", ItemType_i4);
         Simple(w, whole, "flag", "urn:a", "true", ItemType_boolean);
         Simple(w, whole, "inf", "urn:a", "INF", ItemType_r8);
         Simple(w, whole, "high", "urn:a", "M\xC3\xBCller");
         w.EndElement();
     }},
    {"nested and repeated", kNever,
     [](CXmlWriter& w, bool whole) {
         w.StartElement("order", "urn:a");
         w.StartElement("line", "urn:a");
         Simple(w, whole, "sku", "urn:a", "AB-1");
         w.EndElement();
         w.SetCollectionState(CollectionState_Starting);
         for (const char* item : {"1", "2", "3"}) Simple(w, whole, "item", "urn:a", item);
         w.SetCollectionState(CollectionState_Ended);
         Simple(w, whole, "after", "urn:a", "z");
         w.SetCollectionState(CollectionState_Starting);
         Simple(w, whole, "single", "urn:a", "only");
         w.SetCollectionState(CollectionState_Ended);
         w.EndElement();
     }},
    {"mixed content", kAlways,
     [](CXmlWriter& w, bool whole) {
         w.StartElement("p", "");
         w.WriteText("lead ", ItemType_string, false);
         Simple(w, whole, "b", "", "bold");
         w.WriteText(" tail", ItemType_string, false);
         w.EndElement();
     }},
    {"new namespaces", kAtFullLevel,
     [](CXmlWriter& w, bool whole) {
         w.StartElement("root", "urn:a");
         Simple(w, whole, "x", "urn:x", "1");
         Simple(w, whole, "x", "urn:x", "2");
         Simple(w, whole, "y", "urn:y", "");
         w.StartElement("inner", "urn:a");
         w.AddNamespaceAlias("q", "urn:q");
         Simple(w, whole, "z", "urn:q", "3");
         w.EndElement();
         Simple(w, whole, "z", "urn:q", "4");
         w.EndElement();
     }},
    {"document element", kNever,
     [](CXmlWriter& w, bool whole) {
         w.AddNamespaceAlias("p", "urn:p");
         Simple(w, whole, "only", "urn:p", "text");
     }},
};

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
    return Outcome([&] {
        CTextStream stream(XmlEncoding_UTF8);
        CJsonTextWriter writer(&stream);
        writer.StartDocument();
        writer.SetFormatted(formatted);
        writer.SetSupportRoundtrip(level);
        writer.WriteObjectStart();
        body(writer, whole);
        writer.WriteObjectEnd();
        writer.EndDocument();
        return std::string(stream.GetString());
    });
}

std::string WriteFastInfoset(const Script& body, bool whole) {
    return Outcome([&] {
        CFastInfosetContext context;
        CBinaryStream stream;
        CFastInfosetWriter writer(context, &stream);
        writer.StartDocument();
        writer.WriteHeader(FInfoDecl_None);
        body(writer, whole);
        writer.WriteDocumentTerminator();
        writer.EndDocument();
        const CBinaryData data = stream.GetData();
        return std::string(reinterpret_cast<const char*>(data.GetData()), data.GetLength());
    });
}

}  // namespace

TEST(SimpleElement, XmlTextMatchesTheThreeCalls) {
    for (const auto& script : kScripts) {
        for (bool formatted : {true, false}) {
            for (EOLType eol : {EOLType_LF, EOLType_CRLF}) {
                for (bool writeDefaults : {false, true}) {
                    SCOPED_TRACE(std::string(script.name) + (formatted ? " formatted" : "") +
                                 (eol == EOLType_CRLF ? " crlf" : "") +
                                 (writeDefaults ? " defaults" : ""));
                    const std::string split =
                        WriteXml(script.body, false, formatted, eol, writeDefaults);
                    EXPECT_EQ(split.rfind("throws", 0), std::string::npos) << split;
                    EXPECT_EQ(WriteXml(script.body, true, formatted, eol, writeDefaults), split);
                }
            }
        }
    }
}

TEST(SimpleElement, JsonMatchesTheThreeCalls) {
    for (const auto& script : kScripts) {
        for (bool formatted : {true, false}) {
            for (JsonRoundTrip level :
                 {JsonRoundTrip_Full, JsonRoundTrip_Attributes, JsonRoundTrip_None}) {
                SCOPED_TRACE(std::string(script.name) + (formatted ? " formatted" : "") +
                             " level " + std::to_string(level));
                const std::string split = WriteJson(script.body, false, formatted, level);
                const bool refused = script.json == kAlways ||
                                     (script.json == kAtFullLevel && level == JsonRoundTrip_Full);
                EXPECT_EQ(split.rfind("throws", 0) == 0, refused) << split;
                EXPECT_EQ(WriteJson(script.body, true, formatted, level), split);
            }
        }
    }
}

TEST(SimpleElement, FastInfosetMatchesTheThreeCalls) {
    for (const auto& script : kScripts) {
        SCOPED_TRACE(script.name);
        const std::string split = WriteFastInfoset(script.body, false);
        EXPECT_EQ(split.rfind("throws", 0), std::string::npos) << split;
        EXPECT_EQ(WriteFastInfoset(script.body, true), split);
    }
}

TEST(SimpleElement, NamesAreCheckedLikeStartElement) {
    constexpr struct {
        const char* name;
        bool valid;
    } kNames[] = {{"a", true},    {"_x.y-z9", true}, {"p:q", true},  {"\xC3\xA9t\xC3\xA9", true},
                  {"", false},    {"9a", false},     {"-a", false},  {".a", false},
                  {"a b", false}, {"a?", false},     {"a/b", false}, {"a\tb", false}};
    for (const auto& c : kNames) {
        SCOPED_TRACE(c.name);
        for (bool whole : {false, true}) {
            CTextStream stream(XmlEncoding_None);
            CXmlTextWriter writer(&stream);
            writer.StartDocument();
            writer.StartElement("root", "");
            if (c.valid)
                EXPECT_NO_THROW(Simple(writer, whole, c.name, "", "1"));
            else
                EXPECT_THROW(Simple(writer, whole, c.name, "", "1"), CTsException);
        }
    }
}
