// reading_agreement_test.cpp: places where two readers must agree: every XML entry point of an
// untyped element reads the same element from one document, and a repeated wildcard that ends
// a sequence still collects what follows an unknown element.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "metadata/object_bridge.h"
#include "support/engine_bindings.h"
#include "support/test_node.h"
#include "tessel16/attribute_info.h"
#include "tessel16/binary_data.h"
#include "tessel16/element.h"
#include "tessel16/serialization_context.h"

using namespace Tessel16;
using namespace Tessel16Data;

namespace {

const char* const kDocument =
    "<r:root xmlns:r=\"urn:r\" a=\"1\"><r:child>text<r:leaf b=\"2\"/></r:child>"
    "<r:child/></r:root>";

std::string Written(CElement* element) {
    return element->ToXml(false, false, EOLType_LF, CSerializationContext());
}

// <tail><a/> then an ##other wildcard collection </tail>
class Tail : public EngineTest::TestObject {
public:
    enum { A, Any, MemberCount };
    Tail() : TestObject(MemberCount, "tail") { Init(); }
    void Init() override {
        ResetMembers();
        Member(Any).SetXmlCollection(new CElementCol("", "##other", EngineTest::kNs, 0, -1));
    }
    CParentElementInfo* GetClassInfo() const override {
        static CParentElementInfo info(XmlElementGroupType_Sequence, XmlElementType_Element, "tail",
                                       EngineTest::kNs, true, false, -1, ItemType_none, nullptr,
                                       false);
        return &info;
    }
    CElementInfo** GetClassElementInfo() const override {
        static CElementInfo* records[] = {
            new CElementInfoSeqPrimMnd("a", EngineTest::kNs, A, false, ItemType_string, nullptr,
                                       CWhitespaceUtils::WhitespaceRule_Preserve,
                                       CPrimitiveRestrictions(), nullptr),
            new CElementInfoSeqUntpdCol("AnyElement", EngineTest::kNs, Any), nullptr};
        return records;
    }
    CAttributeInfo** GetClassAttributeInfo() const override {
        static CAttributeInfo* records[] = {nullptr};
        return records;
    }
    CElementCol* GetAny() {
        return dynamic_cast<CElementCol*>(detail::RawPtr(Member(Any).GetXmlCollection()));
    }
};

}  // namespace

TEST(UntypedEntryPoints, EveryXmlEntryPointReadsTheDocumentElement) {
    CSmartPtr<CElement> expected(new CElement("x"));
    expected->FromXml(kDocument);
    const std::string reference = Written(expected.get());
    ASSERT_NE(reference.find(":leaf b=\"2\"/>"), std::string::npos) << reference;

    const std::string path = test::TempPath("untyped_entry.xml");
    std::ofstream(path, std::ios::binary) << kDocument;
    std::vector<unsigned short> wide(kDocument, kDocument + std::strlen(kDocument));
    wide.push_back(0);
    std::string bytes = kDocument;
    const CSerializationContext c;
    CXmlDocument parsed(c);
    parsed.LoadXml(kDocument);
    const std::pair<const char*, std::function<void(CElement&)>> entries[] = {
        {"FromXml text", [&](CElement& e) { e.FromXml(kDocument, c); }},
        {"FromXml 16-bit", [&](CElement& e) { e.FromXml(wide.data(), c); }},
        {"FromXmlFile", [&](CElement& e) { e.FromXmlFile(path.c_str(), c); }},
        {"FromXmlStream",
         [&](CElement& e) {
             e.FromXmlStream(reinterpret_cast<unsigned char*>(bytes.data()),
                             static_cast<std::uint32_t>(bytes.size()), c);
         }},
        {"FromXmlStream buffer", [&](CElement& e) { e.FromXmlStream(CBinaryData(kDocument), c); }},
        {"FromXmlElement tree",
         [&](CElement& e) { e.FromXmlElement(parsed.GetDocumentElement(), c); }},
    };
    for (const auto& [name, read] : entries) {
        SCOPED_TRACE(name);
        CSmartPtr<CElement> element(new CElement("x"));
        read(*element);
        EXPECT_EQ(Written(element.get()), reference);
    }
    std::remove(path.c_str());
}

TEST(WildcardTail, SurplusAfterUnknownElementStillCollected) {
    CSerializationContext context;
    context.SetIgnoreUnknownElements(true);
    CSmartPtr<Tail> tail(new Tail);
    tail->FromXml(
        "<tail xmlns=\"urn:t\" xmlns:o=\"urn:o\"><a>1</a><o:x/><t/><o:y/><u/><o:z/></tail>",
        context);
    std::vector<std::string> names;
    for (const CElement* item : *tail->GetAny()) names.push_back(item->GetName());
    EXPECT_EQ(names, (std::vector<std::string>{"x", "y", "z"}));
}
