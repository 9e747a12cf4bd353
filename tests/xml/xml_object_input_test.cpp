// xml_object_input_test.cpp: the XML input entry points of CXmlObjectBase, seen through an
// object that records what FromXml_Int was given, and DoesElementNameMatch.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/expect_exception.h"
#include "support/test_node.h"
#include "support/test_table.h"
#include "tessel16/binary_data.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_object_base.h"

using namespace Tessel16;
using Tessel16::test::Compress;
using Tessel16::test::TempPath;

namespace {

class Recorder : public test::CTestNode {
public:
    Recorder() : CTestNode("recorder", "") {}
    std::string seen;
    const CXmlElement* element = nullptr;
    bool throwInside = false;
    using CXmlObjectBase::DoesElementNameMatch;

protected:
    CXmlElement* FromXml_Int(CXmlElement* e, CXmlElement* child, const CSerializationContext&,
                             bool inChoice) override {
        element = e;
        seen = e->GetNamespaceURI() + "|" + e->GetLocalName() +
               " child=" + (child ? child->GetLocalName() : "-") + " text=" + e->GetText() +
               (inChoice ? " choice" : "");
        if (throwInside) throw CTsValidationException("rejected", e->GetXPath());
        return child;
    }
};

const char kDoc[] = "<r:root xmlns:r='urn:r'>hello<first/><second/></r:root>";
const char kSeen[] = "urn:r|root child=first text=hello";

}  // namespace

TEST(XmlObjectInput, EveryFormHandsTheDocumentElementAndItsFirstChild) {
    const CSerializationContext& context = CSerializationContext::GetDefaultContext();
    const std::vector<unsigned short> units(kDoc, kDoc + sizeof kDoc);  // ASCII, zero included
    std::string packed = Compress(kDoc, 31);
    const std::string path = TempPath("xml_object_input_doc.xml");
    test::WriteFileBytes(path, packed);
    const std::function<void(Recorder&)> forms[] = {
        [&](Recorder& o) { o.FromXml(kDoc, context); },
        [&](Recorder& o) { o.FromXml(units.data(), context); },
        [&](Recorder& o) {
            o.FromXmlStream(CBinaryData(reinterpret_cast<unsigned char*>(&packed[0]),
                                        static_cast<std::uint32_t>(packed.size()), false),
                            context);
        },
        [&](Recorder& o) { o.FromXmlFile(path.c_str(), context); },
    };
    for (const auto& form : forms) {
        CSmartPtr<Recorder> o(new Recorder);
        form(*o);
        EXPECT_EQ(o->seen, kSeen);
    }
    std::remove(path.c_str());
    CXmlDocument doc;
    doc.LoadXml(kDoc);
    CSmartPtr<Recorder> o(new Recorder);
    o->FromXmlElement(doc.GetDocumentElement()->GetFirstElement(), context);
    EXPECT_EQ(o->seen, "|first child=- text=");
    // The caller's tree is left as it was.
    EXPECT_EQ(doc.GetDocumentElement()->GetFirstElement()->GetLocalName(), "first");

    // The caller's context reaches the loader.
    CSerializationContext own;
    own.SetSchemaType(SchemaType_NoNamespaces);
    own.SetStripCDATA(false);
    o->FromXml("<p:a xmlns:p='urn:p'><![CDATA[x]]></p:a>", own);
    EXPECT_EQ(o->seen, "|p:a child=- text=<![CDATA[x]]>");
}

TEST(XmlObjectInput, LoaderFailuresPassThroughUnchanged) {
    const CSerializationContext& context = CSerializationContext::GetDefaultContext();
    CSmartPtr<Recorder> o(new Recorder);
    struct {
        std::function<void()> call;
        const char* message;
    } const kCases[] = {
        {[&] { o->FromXml(static_cast<const char*>(""), context); }, "XML String is empty!"},
        {[&] { o->FromXmlStream(CBinaryData(), context); }, "XML Stream is empty!"},
        {[&] { o->FromXml("<a><b></a>", context); }, "mismatched tag at line 1"},
        {[&] { o->FromXmlElement(static_cast<const CXmlElement*>(nullptr), context); },
         "FromXmlElement was given no element"},
    };
    for (const auto& c : kCases) EXPECT_TRUE(test::ThrowsMessage(c.call, c.message));
    EXPECT_EQ(o->element, nullptr);
}

TEST(XmlObjectInput, AnExceptionFromTheObjectLeavesNoDocumentBehind) {
    // Under the sanitizers a document left behind shows up as a leak.
    CSmartPtr<Recorder> o(new Recorder);
    o->throwInside = true;
    std::string xml = "<list>";
    for (int i = 0; i < 1000; ++i) xml += "<item a='" + std::to_string(i) + "'>text</item>";
    xml += "</list>";
    EXPECT_TRUE(test::ThrowsExactly<CTsValidationException>(
        [&] { o->FromXml(xml.c_str(), CSerializationContext::GetDefaultContext()); },
        "rejected\nPath: /list"));
}

TEST(XmlObjectInput, ElementNamesMatchByLocalNameAndNamespace) {
    CXmlDocument doc;
    doc.LoadXml("<p:Item xmlns:p='urn:p'/>");
    std::map<std::string, CSerializationContext> contexts;  // "strict" is the default
    contexts["ignoring"].SetIgnoreNamespaces(true);
    contexts["no-namespaces"].SetSchemaType(SchemaType_NoNamespaces);
    CSmartPtr<Recorder> o(new Recorder);
    for (const test::TableRow& c : test::ReadTable("xml/name_matches.txt")) {
        SCOPED_TRACE("name_matches.txt line " + std::to_string(c.line));
        EXPECT_EQ(o->DoesElementNameMatch(contexts[c[0]], doc.GetDocumentElement(), c[1].c_str(),
                                          c[2].c_str()),
                  c[3] == "yes");
    }
}
