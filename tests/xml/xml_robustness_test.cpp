// xml_robustness_test.cpp: shapes and inputs that break naive trees and loaders: very deep
// and very wide documents, hostile bytes, entity expansion, and text in a non-UTF-8 local
// encoding.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tessel16/exception.h"
#include "tessel16/switches.h"
#include "tessel16/xml_document.h"

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

bool g_pruneAll(CXmlElement*) { return true; }

struct LocalEncoding {
    explicit LocalEncoding(unsigned codePage) { SetLocalCharEncoding(codePage); }
    ~LocalEncoding() { SetLocalCharEncoding(3); }
};

}  // namespace

TEST(XmlRobustness, DeepDocumentLoadsAndIsDestroyedWithoutRecursion) {
    const int depth = 100000;
    std::string xml;
    xml.reserve(static_cast<std::size_t>(depth) * 8);
    for (int i = 0; i < depth; ++i) xml += "<e a='1'>";
    xml += "leaf";
    for (int i = 0; i < depth; ++i) xml += "</e>";
    {
        CXmlDocument doc;
        doc.LoadXml(xml.c_str());
        const CXmlElement* node = doc.GetDocumentElement();
        int levels = 1;
        while (node->GetFirstElement()) {
            node = node->GetFirstElement();
            ++levels;
        }
        EXPECT_EQ(levels, depth);
        EXPECT_EQ(node->GetText(), "leaf");
        std::string path = node->GetXPath();
        EXPECT_EQ(path.size(), static_cast<std::size_t>(depth) * 2);
        EXPECT_EQ(node->GetAttributes()[0]->GetXPath(), path + "/@a");
        // Reloading destroys the deep tree as well.
        doc.LoadXml(xml.c_str());
    }
}

TEST(XmlRobustness, MillionSiblingsLoadAndNumberTheirPaths) {
    const int width = 1000000;
    std::string xml = "<list>";
    xml.reserve(static_cast<std::size_t>(width) * 12);
    for (int i = 0; i < width; ++i) xml += (i % 2) ? "<a>1</a>" : "<b x='y'/>";
    xml += "</list>";
    {
        CXmlDocument doc;
        doc.LoadXml(xml.c_str());
        int count = 0;
        const CXmlElement* last = nullptr;
        for (const CXmlElement* c = doc.GetDocumentElement()->GetFirstElement(); c;
             c = c->GetNextSiblingElement()) {
            ++count;
            last = c;
        }
        EXPECT_EQ(count, width);
        EXPECT_EQ(last->GetXPath(), "/list/a[500000]");
    }
    // Quadratic behaviour over a million siblings would run into the test timeout.
}

TEST(XmlRobustness, PruningKeepsOnlyTheDocumentElement) {
    std::string xml = "<list>";
    for (int i = 0; i < 200000; ++i) xml += "<item><sub>t</sub></item>";
    xml += "</list>";
    CXmlDocument doc(&g_pruneAll);
    doc.LoadXml(xml.c_str());
    EXPECT_EQ(doc.GetDocumentElement()->GetFirstElement(), nullptr);
    EXPECT_EQ(doc.GetDocumentElement()->GetLocalName(), "list");
}

TEST(XmlRobustness, HostileInputGetsAClearMessage) {
    std::string billionLaughs =
        "<?xml version='1.0'?><!DOCTYPE lolz [<!ENTITY lol 'lol'>"
        "<!ENTITY lol1 '&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;'>"
        "<!ENTITY lol2 '&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;'>"
        "<!ENTITY lol3 '&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;'>"
        "<!ENTITY lol4 '&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;'>"
        "<!ENTITY lol5 '&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;'>"
        "<!ENTITY lol6 '&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;'>"
        "<!ENTITY lol7 '&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;'>"
        "<!ENTITY lol8 '&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;'>"
        "<!ENTITY lol9 '&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;'>"
        "]><lolz>&lol9;</lolz>";
    struct {
        std::string bytes;
        const char* message;
    } const kCases[] = {
        {"<a><b>text</b", "unclosed token at line 1"},
        {"<a>\n<b>text</b>\n", "no element found at line 3"},
        {std::string("<a>x\0y</a>", 10), "not well-formed (invalid token) at line 1"},
        {"<a>\xC3\x28</a>", "not well-formed (invalid token) at line 1"},
        {"<a>\xED\xA0\x80</a>", "not well-formed (invalid token) at line 1"},
        {"<a b='\xF8\x88\x80\x80\x80'/>", "not well-formed (invalid token) at line 1"},
        {"<\xC3\xA9\xC3/>", "not well-formed (invalid token) at line 1"},
        {"\x1F\x8B\x08\x00garbage", "not well-formed (invalid token) at line 1"},
        {billionLaughs,
         "limit on input amplification factor (from DTD and entities) breached at line 1"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(Outcome(c.bytes), c.message);
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

TEST(XmlRobustness, TextIsConvertedIntoANonUtf8LocalEncoding) {
    LocalEncoding latin1(1252);
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
}

TEST(XmlRobustness, AsciiOnlyCopiesUtf8Bytes) {
    LocalEncoding latin1(1252);
    ASCIIOnly(true);
    CXmlDocument doc;
    doc.LoadXml("<a>\xC3\xA9</a>");
    ASCIIOnly(false);
    EXPECT_EQ(doc.GetDocumentElement()->GetText(), "\xC3\xA9");
}
