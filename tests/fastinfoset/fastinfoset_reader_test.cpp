// fastinfoset_reader_test.cpp: recognition, terminators, every reader message on damaged
// input, and documents written with and without the generated vocabulary read back.
#include <gtest/gtest.h>

#include <algorithm>

#include "fastinfoset/fi_test_support.h"
#include "support/expect_exception.h"
#include "support/test_table.h"
#include "tessel16/element.h"
#include "tessel16/exception.h"

using namespace Tessel16;
using namespace Tessel16::test;

namespace {

void Load(CXmlDocument& document, const std::vector<unsigned char>& bytes) {
    std::vector<unsigned char> copy = bytes;
    document.LoadXmlStream(copy.data(), static_cast<std::uint32_t>(copy.size()));
}

std::vector<unsigned char> Fi(const std::string& body) { return Octets("E0 00 00 01 00 " + body); }

// Fast Infoset behind a declaration is read in ReadsBackWhatTheWriterWrote; without one, in
// every other test here. The identification alone is a row of xml/hostile_bytes.txt.
// Element, attributes (sorted) and text, recursively: what a reader has to preserve.
std::string Canon(const CXmlElement* e) {
    std::string out = "{" + e->GetNamespaceURI() + "}" + e->GetLocalName() + "[";
    std::vector<std::string> attributes;
    for (const CXmlAttribute* a : e->GetAttributes())
        attributes.push_back("{" + a->GetNamespaceURI() + "}" + a->GetLocalName() + "=" +
                             a->GetValue());
    std::sort(attributes.begin(), attributes.end());
    for (const std::string& a : attributes) out += a + ";";
    out += "](";
    for (const CXmlElement* c = e->GetFirstElement(); c; c = c->GetNextSiblingElement())
        out += Canon(c);
    return out + e->GetText() + ")";
}

TEST(FastInfosetReader, ReadsTheTreeOfEachDocumentAndRefusesDamagedOnes) {
    for (const test::TableRow& c : test::ReadTable("fastinfoset/reads.txt")) {
        SCOPED_TRACE("reads.txt line " + std::to_string(c.line));
        CXmlDocument document;
        Load(document, Fi(c[0]));
        EXPECT_EQ(Canon(document.GetDocumentElement()), c[1]);
    }

    // Damaged input is refused with its message.
    for (const test::TableRow& c : test::ReadTable("fastinfoset/damaged.txt")) {
        CXmlDocument document;
        EXPECT_TRUE(ThrowsExactly<CTsException>([&] { Load(document, Fi(c[0])); }, c[1])) << c.line;
    }
}

TEST(FastInfosetReader, DeepNestingDoesNotUseTheCallStack) {
    std::string body;
    for (int i = 0; i < 200000; ++i) body += "00 ";
    CXmlDocument document;
    EXPECT_TRUE(
        ThrowsExactly<CTsException>([&] { Load(document, Fi("3C 00 61 " + body)); },
                                    "Failed to parse FastInfoset. Unexpected End of File."));
}

CSmartPtr<CElement> SampleElement() {
    CSmartPtr<CElement> root(new CElement("order", "urn:po"));
    root->GetAttributes()->Add("id", "42");
    root->GetAttributes()->Add("lang", "en", "http://www.w3.org/XML/1998/namespace");
    for (int i = 0; i < 3; ++i) {
        CElement* line = root->GetChildElements()->Add("line", "urn:po");
        line->GetAttributes()->Add("n", std::to_string(i).c_str(), "urn:other");
        line->SetText(i == 1 ? "" : "x\r\ny");
    }
    root->SetText("tail");
    return root;
}

TEST(FastInfosetReader, ReadsBackWhatTheWriterWrote) {
    CSmartPtr<CElement> source = SampleElement();
    const std::string xml = source->ToXml(false, false, EOLType_LF, CSerializationContext());
    CXmlDocument expected;
    expected.LoadXml(xml.c_str());
    for (bool generated : {false, true}) {
        CSerializationContext context;
        CFastInfosetContext& fi = context.GetFIContext();
        fi.SetUseGeneratedVocabulary(generated);
        fi.GetVocabulary()->AddElement("", "urn:po", "line");
        fi.GetVocabulary()->AddAttributeValue("42");
        CBinaryData bytes = source->ToFastInfosetStream(FInfoDecl_4, context, CompressionType_None);
        CXmlDocument document(context);
        document.LoadXmlStream(bytes.GetData(), bytes.GetLength());
        EXPECT_EQ(Canon(document.GetDocumentElement()), Canon(expected.GetDocumentElement()))
            << generated;
    }
}

}  // namespace
