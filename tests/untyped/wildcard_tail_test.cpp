// wildcard_tail_test.cpp: a repeated wildcard that ends a sequence still collects what follows
// an unknown element.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "metadata/object_bridge.h"
#include "support/engine_bindings.h"
#include "tessel16/attribute_info.h"
#include "tessel16/element.h"
#include "tessel16/serialization_context.h"

using namespace Tessel16;
using namespace Tessel16Data;

namespace {

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
