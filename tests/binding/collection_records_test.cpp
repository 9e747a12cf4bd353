// collection_records_test.cpp: repeated simple and enumerated members held in the library's
// primitive collections, and untyped members, driven through the engine in an all group and
// a choice: interleaved all-group items, a mandatory untyped all member, choice collections of
// every kind deciding whether an empty choice is allowed, and the count and facet rules of
// the collections under both ignore settings.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "binding/engine_messages.h"
#include "metadata/metadata_messages.h"
#include "support/engine_bindings.h"
#include "support/expect_exception.h"
#include "tessel16/element.h"
#include "tessel16/element_info_variants.h"
#include "tessel16/primitive_collections.h"
#include "tessel16/serialization_context.h"

using namespace Tessel16;
using namespace Tessel16Data;
using EngineTest::kNs;
using EngineTest::TestObject;
using Tessel16::test::ThrowsExactly;

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

template <class T>
T* CollectionAs(TestObject* object, int index) {
    return dynamic_cast<T*>(object->Member(index).GetXmlCollection().get());
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
    Ci4Col* GetSizes() { return CollectionAs<Ci4Col>(this, Sizes); }
    CstringCol* GetHues() { return CollectionAs<CstringCol>(this, Hues); }
    CElement* GetData() { return dynamic_cast<CElement*>(Member(Data).GetXmlObject().get()); }
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
    Ci4Col* GetNumbers() { return CollectionAs<Ci4Col>(this, Numbers); }
    CstringCol* GetHues() { return CollectionAs<CstringCol>(this, Hues); }
    CElementCol* GetLines() { return CollectionAs<CElementCol>(this, Lines); }
    CElementCol* GetOthers() { return CollectionAs<CElementCol>(this, Others); }

private:
    std::array<int, 4> m_mins;
};

std::string Write(CXmlObjectBase* object, const CSerializationContext& context) {
    return object->ToXml(false, false, EOLType_LF, context);
}

CSerializationContext Settings(bool ignoreUnknown, bool ignoreCounts = false,
                               bool ignoreMissingChoice = false) {
    CSerializationContext context;
    context.SetIgnoreUnknownElements(ignoreUnknown);
    context.SetIgnoreInvalidCollectionCounts(ignoreCounts);
    context.SetIgnoreMissingChoice(ignoreMissingChoice);
    return context;
}

// How a message reads once the exception carries the path of the node.
std::string AtPath(const std::string& message, const char* path) {
    return message + "\nPath: " + path;
}

std::string Doc(const char* name, const std::string& content) {
    return std::string("<") + name + " xmlns=\"urn:t\">" + content + "</" + name + ">";
}

// --- all group -------------------------------------------------------------------------------

TEST(AllGroupCollections, InterleavedItemsAreCollectedAndWrittenInSchemaOrder) {
    for (bool ignoreUnknown : {false, true}) {
        SCOPED_TRACE(ignoreUnknown);
        CSmartPtr<Palette> palette(new Palette());
        palette->FromXml(Doc("palette",
                             "<size>1</size><hue>red</hue>"
                             "<data k=\"v\"><x/>t</data><size> 2 </size>"
                             "<hue>blue</hue>")
                             .c_str(),
                         Settings(ignoreUnknown));
        ASSERT_EQ(palette->GetSizes()->GetCount(), 2);
        EXPECT_EQ(palette->GetSizes()->Item(0), 1);
        EXPECT_EQ(palette->GetSizes()->Item(1), 2);
        ASSERT_EQ(palette->GetHues()->GetCount(), 2);
        EXPECT_EQ(palette->GetHues()->Item(0), "red");
        EXPECT_EQ(palette->GetHues()->Item(1), "blue");
        CElement* data = palette->GetData();
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->GetName(), "data");
        EXPECT_EQ(data->GetText(), "t");
        EXPECT_EQ(data->GetAttributes()->GetCount(), 1);
        EXPECT_EQ(data->GetChildElements()->GetCount(), 1);

        const std::string written = Write(palette.get(), CSerializationContext());
        EXPECT_EQ(written,
                  "<AA:palette xmlns:AA=\"urn:t\"><AA:size>1</AA:size><AA:size>2</AA:size>"
                  "<AA:hue>red</AA:hue><AA:hue>blue</AA:hue>"
                  "<AA:data k=\"v\"><AA:x/>t</AA:data></AA:palette>");
        CSmartPtr<Palette> again(new Palette());
        again->FromXml(written.c_str(), CSerializationContext());
        EXPECT_EQ(Write(again.get(), CSerializationContext()), written);
    }
}

TEST(AllGroupCollections, MissingMandatoryUntypedMemberIsReportedByValidate) {
    const std::string missing = FormatString(detail::kMsgMandatoryMissing, "data");
    // The member's own name is required: an element of another name is no substitute.
    const std::vector<std::string> documents = {"<size>1</size>", "", "<other/><size>1</size>"};
    for (bool ignoreUnknown : {false, true}) {
        for (const std::string& content : documents) {
            SCOPED_TRACE(content + (ignoreUnknown ? " ignoring" : ""));
            CSmartPtr<Palette> palette(new Palette());
            EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
                [&] { palette->FromXml(Doc("palette", content).c_str(), Settings(ignoreUnknown)); },
                missing));
        }
    }
}

TEST(AllGroupCollections, MandatoryUntypedMemberMustBeSetForWriting) {
    CSmartPtr<Palette> palette(new Palette());
    palette->Member(Palette::Data).Clear();
    EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>(
        [&] { Write(palette.get(), CSerializationContext()); },
        FormatString(detail::kMsgMandatoryNull, "data")));
}

TEST(AllGroupCollections, CountsAreCheckedAfterReadingUnlessIgnored) {
    // Four sizes split over two runs: only the total breaks the maximum.
    const std::string content = "<size>1</size><size>2</size><data/><size>3</size><size>4</size>";
    CSmartPtr<Palette> palette(new Palette());
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] { palette->FromXml(Doc("palette", content).c_str(), Settings(false)); },
        FormatString(detail::kMsgCollectionMaximum, "size", 3)));
    palette = new Palette();
    palette->FromXml(Doc("palette", content).c_str(), Settings(false, true));
    EXPECT_EQ(palette->GetSizes()->GetCount(), 4);
}

// --- choice ----------------------------------------------------------------------------------

TEST(ChoiceCollections, EachCollectionKindIsChosenByItsElements) {
    struct Case {
        const char* content;
        int numbers, hues, lines, others;
    };
    const Case cases[] = {
        {"<n>1</n><n>2</n>", 2, 0, 0, 0},
        {"<hue>green</hue><hue>red</hue><hue>red</hue>", 0, 3, 0, 0},
        {"<line a=\"1\"><b/>one</line><line/>", 0, 0, 2, 0},
        {"<o:x xmlns:o=\"urn:o\">t</o:x><p:y xmlns:p=\"urn:p\"><z/></p:y>", 0, 0, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        CSmartPtr<Mix> mix(new Mix());
        mix->FromXml(Doc("mix", c.content).c_str(), CSerializationContext());
        EXPECT_EQ(mix->GetNumbers()->GetCount(), c.numbers);
        EXPECT_EQ(mix->GetHues()->GetCount(), c.hues);
        EXPECT_EQ(mix->GetLines()->GetCount(), c.lines);
        EXPECT_EQ(mix->GetOthers()->GetCount(), c.others);

        const std::string written = Write(mix.get(), CSerializationContext());
        CSmartPtr<Mix> again(new Mix());
        again->FromXml(written.c_str(), CSerializationContext());
        EXPECT_EQ(Write(again.get(), CSerializationContext()), written);
    }
}

TEST(ChoiceCollections, ReadItemsKeepTheirContent) {
    // The wildcard admits only other namespaces, but that constrains the admitted element, not
    // its content: a child in the target namespace is kept like any other.
    CSmartPtr<Mix> mix(new Mix());
    mix->FromXml(Doc("mix", "<o:x xmlns:o=\"urn:o\" k=\"v\">t<o:deep/><own/></o:x>").c_str(),
                 CSerializationContext());
    ASSERT_EQ(mix->GetOthers()->GetCount(), 1);
    CElement* other = mix->GetOthers()->Item(0);
    EXPECT_EQ(other->GetName(), "x");
    EXPECT_EQ(other->GetNamespace(), "urn:o");
    EXPECT_EQ(other->GetText(), "t");
    EXPECT_EQ(other->GetAttributes()->GetCount(), 1);
    ASSERT_EQ(other->GetChildElements()->GetCount(), 2);
    EXPECT_EQ(other->GetChildElements()->Item(1)->GetNamespace(), kNs);
    EXPECT_EQ(Write(mix.get(), CSerializationContext()),
              "<AA:mix xmlns:AA=\"urn:t\"><AB:x xmlns:AB=\"urn:o\" k=\"v\"><AB:deep/><AA:own/>t"
              "</AB:x></AA:mix>");
}

TEST(ChoiceCollections, AnEmptyChoiceIsWrittenOnlyWhenAllowed) {
    // Any choice collection whose minimum is 0 makes the empty choice valid.
    struct Case {
        std::array<int, 4> mins;
        bool ignoreMissingChoice;
        bool allowed;
    };
    const Case cases[] = {
        {{1, 1, 1, 1}, false, false}, {{1, 1, 1, 1}, true, true},  {{0, 1, 1, 1}, false, true},
        {{1, 0, 1, 1}, false, true},  {{1, 1, 0, 1}, false, true}, {{1, 1, 1, 0}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.mins[0] << c.mins[1] << c.mins[2] << c.mins[3] << c.ignoreMissingChoice);
        CSmartPtr<Mix> mix(new Mix(c.mins));
        const CSerializationContext context = Settings(false, false, c.ignoreMissingChoice);
        if (c.allowed) {
            EXPECT_EQ(Write(mix.get(), context), "<AA:mix xmlns:AA=\"urn:t\"/>");
        } else {
            EXPECT_TRUE(ThrowsExactly<CTsValidationException>([&] { Write(mix.get(), context); },
                                                              detail::kMsgChoiceNoneSet));
        }
    }
}

TEST(ChoiceCollections, AChoiceThatMatchesNothingFollowsTheSettings) {
    const std::string nothing = AtPath(FormatString(detail::kMsgChoiceNothingRead, "mix"), "/mix");
    const std::string remains =
        AtPath(FormatString(detail::kMsgElementsRemain, "mix", "zzz"), "/mix");
    struct Case {
        std::array<int, 4> mins;
        bool ignoreUnknown;
        bool ignoreMissingChoice;
        std::string error;  // empty: the read succeeds
    };
    const std::vector<Case> cases = {
        {{1, 1, 1, 1}, false, false, nothing}, {{1, 1, 1, 1}, true, false, nothing},
        {{1, 1, 1, 1}, false, true, remains},  {{1, 1, 1, 1}, true, true, ""},
        {{1, 1, 0, 1}, false, false, remains}, {{1, 1, 0, 1}, true, false, ""},
        {{1, 1, 1, 0}, false, false, remains},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.mins[2] << c.mins[3] << c.ignoreUnknown << c.ignoreMissingChoice);
        CSmartPtr<Mix> mix(new Mix(c.mins));
        const CSerializationContext context =
            Settings(c.ignoreUnknown, false, c.ignoreMissingChoice);
        // An element of the target namespace that no member takes.
        const std::string document = Doc("mix", "<zzz/>");
        if (c.error.empty()) {
            EXPECT_NO_THROW(mix->FromXml(document.c_str(), context));
        } else {
            EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
                [&] { mix->FromXml(document.c_str(), context); }, c.error));
        }
    }
}

TEST(ChoiceCollections, CountsAreCheckedOnReadingUnlessIgnored) {
    const std::string document = Doc("mix", "<n>1</n><n>2</n><n>3</n><n>4</n>");
    CSmartPtr<Mix> mix(new Mix());
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] { mix->FromXml(document.c_str(), Settings(false)); },
        FormatString(detail::kMsgCollectionMaximum, "n", 3)));
    mix = new Mix();
    mix->FromXml(document.c_str(), Settings(false, true));
    EXPECT_EQ(mix->GetNumbers()->GetCount(), 4);
}

}  // namespace
