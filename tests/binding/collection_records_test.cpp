// collection_records_test.cpp: repeated simple and enumerated members held in the library's
// primitive collections, and untyped members, driven through the engine in an all group and
// a choice: interleaved all-group items, a mandatory untyped all member, choice collections of
// every kind deciding whether an empty choice is allowed, and the count rules of the
// collections under the ignore settings (documents in tests/data/binding/collection_reads.txt).
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "support/engine_bindings.h"
#include "support/test_table.h"
#include "tessel16/element.h"
#include "tessel16/element_info_variants.h"
#include "tessel16/primitive_collections.h"
#include "tessel16/serialization_context.h"

using namespace Tessel16;
using namespace Tessel16Data;
using EngineTest::kNs;
using EngineTest::TestObject;

namespace {

const CWhitespaceUtils::WhitespaceRule kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;
const CWhitespaceUtils::WhitespaceRule kPreserve = CWhitespaceUtils::WhitespaceRule_Preserve;

// Whole numbers up to 10, at most three of them.
Ci4Col* SmallNumbers(const char* name, int minOccurs) {
    return new Ci4Col(name, kNs, minOccurs, 3, nullptr, -1, -1, nullptr, "10", nullptr, nullptr, -1,
                      -1, -1, kCollapse, nullptr);
}

// An enumeration kept as its lexical values, the pattern listing the allowed ones.
CstringCol* Colours(int minOccurs) {
    return new CstringCol("hue", kNs, minOccurs, -1, "red|green|blue", -1, -1, nullptr, nullptr,
                          nullptr, nullptr, -1, -1, -1, kPreserve, nullptr);
}

// <palette> all of <size/>{0,3} (i4 up to 10), <hue/>* (red|green|blue) and <data/> (an
// untyped element of that name, required) </palette>
class Palette : public TestObject {
public:
    enum { Sizes, Hues, Data, MemberCount };
    Palette() : TestObject(MemberCount, "palette") { Palette::Init(); }
    void Init() override {
        ResetMembers();
        Member(Sizes).SetXmlCollection(SmallNumbers("size", 0));
        Member(Hues).SetXmlCollection(Colours(0));
        Member(Data).SetXmlObject(new CElement("data", kNs, "##any", kNs));
    }
    CParentElementInfo* GetClassInfo() const override {
        static CParentElementInfo* info =
            EngineTest::NewClassInfo(XmlElementGroupType_All, "palette");
        return info;
    }
    CElementInfo** GetClassElementInfo() const override {
        static CElementInfo* records[] = {
            new CElementInfoAllPrimCol("size", kNs, Sizes),
            new CElementInfoAllEnumCol("hue", kNs, Hues),
            new CElementInfoAllUntpdMnd("data", kNs, Data, "##any", kNs), nullptr};
        return records;
    }
};

// <mix> choice of <n/>{min,3} (i4 up to 10), <hue/>{min,} (red|green|blue), <line/>{min,}
// (untyped, that name) and elements of other namespaces {min,} </mix>; each minimum is given.
class Mix : public TestObject {
public:
    enum { Numbers, Hues, Lines, Others, MemberCount };
    explicit Mix(std::array<int, 4> mins = {1, 1, 1, 1})
        : TestObject(MemberCount, "mix"), m_mins(mins) {
        Mix::Init();
    }
    void Init() override {
        ResetMembers();
        Member(Numbers).SetXmlCollection(SmallNumbers("n", m_mins[0]));
        Member(Hues).SetXmlCollection(Colours(m_mins[1]));
        Member(Lines).SetXmlCollection(new CElementCol(kNs, "##any", kNs, m_mins[2], -1));
        Member(Others).SetXmlCollection(new CElementCol("", "##other", kNs, m_mins[3], -1));
    }
    CParentElementInfo* GetClassInfo() const override {
        static CParentElementInfo* info =
            EngineTest::NewClassInfo(XmlElementGroupType_Choice, "mix");
        return info;
    }
    CElementInfo** GetClassElementInfo() const override {
        static CElementInfo* records[] = {new CElementInfoChoicePrimCol("n", kNs, Numbers),
                                          new CElementInfoChoiceEnumCol("hue", kNs, Hues),
                                          new CElementInfoChoiceUntpdCol("line", kNs, Lines),
                                          new CElementInfoChoiceUntpdCol("AnyElement", kNs, Others),
                                          nullptr};
        return records;
    }

private:
    std::array<int, 4> m_mins;
};

// Each document of binding/collection_reads.txt read into a fresh palette or mix: the
// validation failure, or the document the object writes back.
TEST(CollectionRecords, DocumentsUnderEachSetting) {
    for (const test::TableRow& c : test::ReadTable("binding/collection_reads.txt")) {
        SCOPED_TRACE("collection_reads.txt line " + std::to_string(c.line));
        const std::string name = c[0].substr(0, c[0].find(' '));
        CSmartPtr<TestObject> object;
        if (name == "mix") {
            std::array<int, 4> mins{};
            for (std::size_t i = 0; i < 4; ++i) mins[i] = c[0][4 + i] - '0';
            object = new Mix(mins);
        } else {
            object = new Palette();
        }
        CSerializationContext context;
        context.SetIgnoreUnknownElements(c[1].find("unknown") != std::string::npos);
        context.SetIgnoreInvalidCollectionCounts(c[1].find("counts") != std::string::npos);
        context.SetIgnoreMissingChoice(c[1].find("choice") != std::string::npos);
        const std::string document = "<" + name + " xmlns=\"urn:t\">" + c[2] + "</" + name + ">";
        std::string outcome;
        try {
            object->FromXml(document.c_str(), context);
            outcome = object->ToXml(false, false, EOLType_LF, context);
        } catch (const CTsValidationException& e) {
            outcome = "!" + e.GetMessage();
        }
        EXPECT_EQ(outcome, c[3]);
    }
}

}  // namespace
