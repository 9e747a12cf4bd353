// xml_text_writer_test.cpp: the XML text writer byte for byte: layout, escaping, namespace
// scopes and invented prefixes, refusals, and the flushing contract with its stream.
#include "tessel16/xml_text_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/expect_exception.h"
#include "support/test_table.h"
#include "support/writer_script.h"
#include "tessel16/streams.h"
#include "writers/writer_messages.h"

using namespace Tessel16;
using Tessel16::test::ThrowsMessage;

namespace {

// A writer on an in-memory stream, with helpers to finish and read the text.
struct Doc {
    explicit Doc(XmlEncoding encoding = XmlEncoding_None, bool formatted = true,
                 EOLType eol = EOLType_LF)
        : stream(encoding), writer(&stream) {
        writer.StartDocument();
        writer.SetFormatted(formatted);
        writer.SetEOLType(eol);
    }
    std::string Finish() {
        writer.EndDocument();
        return stream.GetString();
    }
    CTextStream stream;
    CXmlTextWriter writer;
};

}  // namespace

TEST(XmlTextWriter, DeclarationFollowsStreamEncoding) {
    for (const test::TableRow& c : test::ReadTable("writers/xml_declarations.txt")) {
        // Formatted or not, the declaration ends with one line end of the writer's kind.
        for (bool formatted : {false, true}) {
            SCOPED_TRACE("xml_declarations.txt line " + std::to_string(c.line) +
                         (formatted ? " formatted" : ""));
            Doc d(static_cast<XmlEncoding>(std::stoi(c[0])), formatted, EOLType_CRLF);
            // A line-end kind that does not exist is refused and the previous one kept.
            EXPECT_TRUE(ThrowsMessage([&] { d.writer.SetEOLType(static_cast<EOLType>(2)); },
                                      detail::kMsgInvalidEolType));
            EXPECT_EQ(d.writer.GetEOLType(), EOLType_CRLF);
            d.writer.WriteXmlDeclaration();
            EXPECT_EQ(d.Finish(), c[1]);
        }
    }
}

TEST(XmlTextWriter, EscapesTextAndAttributes) {
    const auto write = [](EOLType eol, bool attribute, const std::string& value) {
        Doc d(XmlEncoding_None, false, eol);
        d.writer.StartElement("e", "");
        if (attribute)
            d.writer.AddAttribute("v", "", value, ItemType_string);
        else
            d.writer.WriteText(value, ItemType_string, false);
        d.writer.EndElement();
        return d.Finish();
    };
    for (const test::TableRow& c : test::ReadTable("writers/xml_escapes.txt")) {
        SCOPED_TRACE("xml_escapes.txt line " + std::to_string(c.line));
        EXPECT_EQ(write(c[1] == "CRLF" ? EOLType_CRLF : EOLType_LF, c[0] == "attribute", c[2]),
                  c[3]);
    }
    // Specials far apart, past one buffer chunk.
    const std::string run(5000, 'x');
    EXPECT_EQ(write(EOLType_LF, false, "&" + run + "<"), "<e>&amp;" + run + "&lt;</e>");
    EXPECT_EQ(write(EOLType_LF, false, run + "\r" + run), "<e>" + run + run + "</e>");
}

TEST(XmlTextWriter, ScriptsGiveTheirText) {
    for (const test::TableRow& c : test::ReadTable("writers/xml_scripts.txt")) {
        SCOPED_TRACE("xml_scripts.txt line " + std::to_string(c.line));
        Doc d(XmlEncoding_None, c[0] == "formatted");
        d.writer.SetWriteDefaultValues(c[0] == "defaults");
        test::RunWriterScript(d.writer, c[1]);
        EXPECT_EQ(d.Finish(), c[2]);
    }
}

TEST(XmlTextWriter, AllocatePrefixRunsPastZ) {
    CXmlWriter::NamespaceMap map;
    for (int i = 0; i < 26; ++i) map["urn:" + std::to_string(i)] = std::string("A") + char('A' + i);
    EXPECT_EQ(CXmlWriter::AllocatePrefix(map), "BA");
    map.erase("urn:3");  // frees AD
    EXPECT_EQ(CXmlWriter::AllocatePrefix(map), "AD");
}

TEST(XmlTextWriter, RefusesOutOfOrderCalls) {
    // Attributes and xsi members after text, after a child or once their element is closed:
    // refused, and the refused call writes nothing.
    for (const std::string script :
         {"<r; =t; @a=1", "<r; <c; >; nil", "<r; <c; >; xsitype {urn:t}T", "<r; <c; >; >; @a=1"}) {
        SCOPED_TRACE(script);
        Doc d;
        const std::size_t last = script.rfind("; ");
        test::RunWriterScript(d.writer, script.substr(0, last));
        const std::string before = d.stream.GetString();
        EXPECT_TRUE(ThrowsMessage([&] { test::RunWriterScript(d.writer, script.substr(last + 2)); },
                                  detail::kMsgAttributesBeforeElements));
        EXPECT_EQ(std::string(d.stream.GetString()), before);
    }
    Doc d;
    d.writer.StartElement("r", "");
    EXPECT_TRUE(ThrowsMessage([&] { d.writer.EndDocument(); }, detail::kMsgElementNotClosed));
}

namespace {
// Records every flush and drops the text, as a file stream would after writing it.
class RecordingStream : public CTextStream {
public:
    RecordingStream() : CTextStream("RecordingStream", XmlEncoding_UTF8) {}
    void Flush() override {
        flushedLengths.push_back(GetLength());
        if (GetLength() > 0) written += GetString();
        ClearBuffer();
    }
    void Close() override { Flush(); }
    std::vector<std::uint32_t> flushedLengths;
    std::string written;
};
}  // namespace

TEST(XmlTextWriter, HandsTextOnEvery4096Bytes) {
    RecordingStream stream;
    CTextStream reference(XmlEncoding_UTF8);
    std::string script = "<root; ";
    for (int i = 0; i < 2000; ++i)
        script += "<item; @n#i4=" + std::to_string(i) + "; =value & more; >; ";
    for (CTextStream* s : {static_cast<CTextStream*>(&stream), &reference}) {
        CXmlTextWriter w(s);
        w.StartDocument();
        test::RunWriterScript(w, script + ">");
        w.EndDocument();
    }
    ASSERT_GT(stream.flushedLengths.size(), 10u);
    // Every flush but the closing one came as soon as 4096 bytes were pending.
    for (std::size_t i = 0; i + 1 < stream.flushedLengths.size(); ++i) {
        EXPECT_GE(stream.flushedLengths[i], 4096u);
        EXPECT_LT(stream.flushedLengths[i], 4096u + 64u);
    }
    EXPECT_EQ(stream.written, reference.GetString());
}

TEST(XmlTextWriter, ReusedElementStateStartsAfresh) {
    // The writer recycles the state of closed elements: a second document written with the
    // same writer, and an element opened after a sibling with bindings of its own, must see
    // nothing of what came before (depth, children, open tag, scope).
    CTextStream stream;
    CXmlTextWriter writer(&stream);
    for (int pass = 0; pass < 2; ++pass) {
        writer.StartDocument();
        // urn:p is no longer bound when c starts.
        test::RunWriterScript(writer,
                              "<{urn:r}r; <a; alias p urn:p; <{urn:p}b; #i4=1; >; >; "
                              "<{urn:p}c; >; >");
        writer.EndDocument();
        EXPECT_EQ(std::string(stream.GetString()),
                  "<AA:r xmlns:AA=\"urn:r\">\n\t<a>\n\t\t<p:b>1</p:b>\n\t</a>\n"
                  "\t<AB:c xmlns:AB=\"urn:p\"/>\n</AA:r>\n")
            << "pass " << pass;
    }
}
