// xml_robustness_test.cpp: shapes and inputs that break naive trees and loaders: very wide
// documents (very deep ones are in untyped/deep_content_test), hostile bytes, entity
// expansion, and text in a non-UTF-8 local encoding.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/expect_exception.h"
#include "support/test_node.h"
#include "support/test_table.h"
#include "tessel16/element.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/switches.h"
#include "tessel16/xml_document.h"
#include "writers/writer_messages.h"

using namespace Tessel16;

namespace {

// Loads bytes and reports the outcome: "ok" or the message. Anything else escaping (or a
// crash, or a sanitizer report) fails the test.
std::string Outcome(const std::string& bytes) {
    CXmlDocument doc;
    try {
        doc.LoadXmlStream(reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data())),
                          static_cast<std::uint32_t>(bytes.size()));
        return "ok";
    } catch (const CTsException& e) {
        return e.GetMessage();
    }
}

}  // namespace

TEST(XmlRobustness, MillionSiblingsLoadAndNumberTheirPaths) {
    const int width = 1000000;
    std::string xml = "<list>";
    xml.reserve(static_cast<std::size_t>(width) * 12);
    for (int i = 0; i < width; ++i) xml += (i % 2) ? "<a>1</a>" : "<b x='y'/>";
    xml += "</list>";
    // Quadratic behaviour over a million siblings would run into the test timeout.
    CXmlDocument doc;
    doc.LoadXml(xml.c_str());
    int count = 1;
    const CXmlElement* last = doc.GetDocumentElement()->GetFirstElement();
    for (; last->GetNextSiblingElement(); last = last->GetNextSiblingElement()) ++count;
    EXPECT_EQ(count, width);
    EXPECT_EQ(last->GetXPath(), "/list/a[500000]");
}

// Entity expansion is refused as InputLimits.EntityAmplificationIsTighterThanTheParsersDefault
// shows, with a document milder than the classic one.
TEST(XmlRobustness, HostileInputGetsAClearMessage) {
    for (const test::TableRow& c : test::ReadTable("xml/hostile_bytes.txt")) {
        SCOPED_TRACE("hostile_bytes.txt line " + std::to_string(c.line));
        EXPECT_EQ(Outcome(c[0]), c[1]);
    }
}

TEST(XmlRobustness, RandomDamageNeverEscapesTheExceptionFamily) {
    std::string base =
        "<?xml version='1.0'?><p:r xmlns:p='urn:p' a='1'><p:x b='&amp;'>t\xC3\xA9xt</p:x>"
        "<![CDATA[c]]><!--c--><y/></p:r>";
    std::mt19937 random(12345);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = base;
        int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) {
            std::size_t at = random() % bytes.size();
            switch (random() % 3) {
                case 0:
                    bytes[at] = static_cast<char>(random() & 0xFF);
                    break;
                case 1:
                    bytes.erase(at, 1 + random() % 8);
                    break;
                default:
                    bytes.insert(at, 1, static_cast<char>(random() & 0xFF));
                    break;
            }
            if (bytes.empty()) bytes = "<";
        }
        std::string outcome = Outcome(bytes);
        if (outcome == "ok") {
            ++accepted;
        } else {
            EXPECT_NE(outcome.find(" at line "), std::string::npos) << outcome;
        }
    }
    // Some edits (inside text) keep the document well formed; most do not.
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, 3000);
}

TEST(XmlRobustness, TextIsConvertedIntoANonUtf8LocalEncodingAndBackWhereItFits) {
    test::CodePageScope latin1(1252);
    CXmlDocument doc;
    doc.LoadXml(
        "<caf\xC3\xA9 xmlns='urn:\xC3\xA9' n\xC3\xA9='\xC3\xA0'>cr\xC3\xA8me \xE2\x82\xAC"
        "<![CDATA[\xC3\xBC]]></caf\xC3\xA9>");
    const CXmlElement* root = doc.GetDocumentElement();
    EXPECT_EQ(root->GetLocalName(), "caf\xE9");
    EXPECT_EQ(root->GetNamespaceURI(), "urn:\xE9");
    EXPECT_EQ(root->GetText(), "cr\xE8me \x80\xFC");
    EXPECT_EQ(root->GetAttribute("n\xE9", ""), "\xE0");
    EXPECT_EQ(doc.LookupNamespaceFromAlias(""), "urn:\xE9");

    // Names the code page cannot hold are refused on writing: U+0159 has no place in code page
    // 1252 and reads as '?'; U+00E9 has one.
    CSmartPtr<CElement> element(new CElement("r"));
    element->FromXml("<r \xC5\x99='\xC5\x99' \xC3\xA9='x'/>");
    // A name written as '?' would not parse back.
    EXPECT_TRUE(test::ThrowsMessage(
        [&] { element->ToXml(false, false, EOLType_LF, CSerializationContext()); },
        FormatString(detail::kMsgInvalidXmlName, "?")));
    element->GetAttributes()->Remove(0);
    EXPECT_EQ(element->ToXml(false, false, EOLType_LF, CSerializationContext()), "<r \xE9=\"x\"/>");
}
