// generated_records_test.cpp: every typed element record class (sequence, all and choice;
// mandatory, optional and each collection kind) driven through the engine in one class per
// group: documents using them all survive object -> XML -> object -> XML unchanged, and the
// record rules that the other engine tests leave open hold under both settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "binding/engine_messages.h"
#include "support/engine_bindings.h"
#include "support/expect_exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_writer.h"

using namespace Tessel16;
using namespace Tessel16Data;
using namespace EngineTest;
using Tessel16::test::ThrowsExactly;

namespace {

const CWhitespaceUtils::WhitespaceRule kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;

// Substitutable shapes, the class chosen by each element's xsi:type, and colours.
using ShapeCol = CObjectCol<CShape>;
using ColorCol = CEnumCol<Color>;

ShapeCol* NewShapeCol(const char* name, int minOccurs) {
    return new ShapeCol(name, kNs, minOccurs, -1, &CEngineTestClassFactory::CreateShapeByType);
}

// Strings, one element each, that never check their count on writing, as a choice collection
// expects.
class MemoCol : public CXmlTypeCollection {
public:
    MemoCol(const char* name, int minOccurs, int maxOccurs)
        : CXmlTypeCollection(ItemType_string, name, kNs, minOccurs, maxOccurs, "", -1, -1, "", "",
                             "", "", -1, -1, -1, kCollapse, "") {}
    CXmlObjectBase* GetBase() override { return this; }
    int GetCount() const override { return static_cast<int>(m_values.size()); }
    void Clear() override { m_values.clear(); }
    void Remove(int index) override { m_values.erase(m_values.begin() + index); }
    void Add(const std::string& value) { m_values.push_back(value); }

protected:
    void AddFromString(std::string text) override { m_values.push_back(text); }
    void ToXml_Int(CXmlWriter* writer, bool, const char* namespaceUri, const CSerializationContext&,
                   bool) const override {
        for (const std::string& value : m_values) {
            writer->StartElement(GetElementName(), namespaceUri);
            writer->WriteText(value, ItemType_string, false);
            writer->EndElement();
        }
    }

private:
    std::vector<std::string> m_values;
};

// The members every test class below holds, one property index each.
enum Prop {
    P_Shape,
    P_Spare,
    P_First,
    P_Second,
    P_Tone,
    P_Shade,
    P_Count,
    P_Label,
    P_Figures,
    P_Kids,
    P_Hues,
    P_Tags,
    P_Notes,
    P_Pick,
    P_Code,
    P_Level,
    P_Count_
};

// A pseudo element reads its parent's element, whose attributes are the parent's business:
// it must not call them unknown.
CParentElementInfo* ClassInfo(XmlElementGroupType group, XmlElementType type, const char* name) {
    return new CParentElementInfo(group, type, name, kNs, type == XmlElementType_Element, false, -1,
                                  ItemType_none, nullptr, false);
}

CPrimitiveRestrictions MaxLength(int length) {
    return CPrimitiveRestrictions("", -1, length, "", "", "", "", -1, -1, -1);
}

// Fills the collection members and, for the mandatory class member, the object the
// generated class creates itself.
void InitMembers(TestObject* object, bool choiceCollections) {
    const int min = choiceCollections ? 1 : 0;
    object->Member(P_First).SetXmlObject(new CChild("first"));
    object->Member(P_Figures).SetXmlCollection(NewShapeCol("figure", min));
    object->Member(P_Kids).SetXmlCollection(new CChildCol("kid", kNs, min, -1));
    object->Member(P_Hues).SetXmlCollection(
        new ColorCol("hue", kNs, min, -1, ColorToString, ColorFromString));
    object->Member(P_Tags).SetXmlCollection(NewStringCol("tag", min, -1));
    object->Member(P_Notes).SetXmlCollection(NewStringCol("note", min, 2));
}

// xs:choice of every choice record kind, inlined into its parent (a pseudo element).
class EveryChoice : public TestObject {
public:
    explicit EveryChoice(const char* name = "everyChoice") : TestObject(P_Count_, name) {
        EveryChoice::Init();
    }
    void Init() override {
        ResetMembers();
        InitMembers(this, true);
        Member(P_First).Clear();  // no mandatory members in a choice
        // Not "note": the parent's note collection stands right before the choice.
        Member(P_Notes).SetXmlCollection(new MemoCol("memo", 1, 2));
    }
    CParentElementInfo* GetClassInfo() const override {
        static CParentElementInfo* info =
            ClassInfo(XmlElementGroupType_Choice, XmlElementType_Pseudo, "everyChoice");
        return info;
    }
    CElementInfo** GetClassElementInfo() const override {
        static CElementInfo* records[] = {
            new CElementInfoChoiceAbsClsOpt("shape", kNs, P_Shape, XmlElementType_Element,
                                            &CEngineTestClassFactory::CreateShapeByType),
            new CElementInfoChoiceClsOpt("second", kNs, P_Second, XmlElementType_Element,
                                         &CEngineTestClassFactory::CreateClass, ClassId_Child),
            new CElementInfoChoiceEnumOpt("tone", kNs, P_Tone, false, ColorToString,
                                          ColorFromString, nullptr),
            new CElementInfoChoicePrimOpt("count", kNs, P_Count, false, ItemType_i4, nullptr,
                                          kCollapse, CPrimitiveRestrictions(), nullptr),
            new CElementInfoChoiceAbsClsCol("figure", kNs, P_Figures, XmlElementType_Element),
            new CElementInfoChoiceClsCol("kid", kNs, P_Kids, XmlElementType_Element),
            new CElementInfoChoiceEnumCol("hue", kNs, P_Hues),
            new CElementInfoChoicePrimCol("tag", kNs, P_Tags),
            new CElementInfoChoiceCol("memo", kNs, P_Notes),
            nullptr};
        return records;
    }
};

CSmartPtr<CXmlObjectBase> CreateEveryChoice(int, const char* name) {
    return CSmartPtr<CXmlObjectBase>(new EveryChoice(name));
}

// A sequence of every sequence record kind, then the inlined choice, with a required
// attribute that has a default and an optional one with a facet.
class EverySeq : public TestObject {
public:
    EverySeq() : TestObject(P_Count_, "everySeq") { EverySeq::Init(); }
    void Init() override {
        ResetMembers();
        InitMembers(this, false);
        Member(P_Pick).SetXmlObject(new EveryChoice());
    }
    EveryChoice* Pick() { return dynamic_cast<EveryChoice*>(Member(P_Pick).GetXmlObject().get()); }
    CParentElementInfo* GetClassInfo() const override {
        static CParentElementInfo* info =
            ClassInfo(XmlElementGroupType_Sequence, XmlElementType_Element, "everySeq");
        return info;
    }
    CElementInfo** GetClassElementInfo() const override {
        static CElementInfo* records[] = {
            new CElementInfoSeqAbsClsMnd("shape", kNs, P_Shape, XmlElementType_Element,
                                         &CEngineTestClassFactory::CreateShapeByType),
            new CElementInfoSeqAbsClsOpt("spare", kNs, P_Spare, XmlElementType_Element,
                                         &CEngineTestClassFactory::CreateShapeByType),
            new CElementInfoSeqClsMnd("first", kNs, P_First, XmlElementType_Element,
                                      &CEngineTestClassFactory::CreateClass, ClassId_Child, false),
            new CElementInfoSeqClsOpt("second", kNs, P_Second, XmlElementType_Element,
                                      &CEngineTestClassFactory::CreateClass, ClassId_Child),
            new CElementInfoSeqEnumMnd("tone", kNs, P_Tone, false, ColorToString, ColorFromString,
                                       nullptr),
            new CElementInfoSeqEnumOpt("shade", kNs, P_Shade, false, ColorToString, ColorFromString,
                                       nullptr),
            new CElementInfoSeqPrimMnd("count", kNs, P_Count, false, ItemType_i4, nullptr,
                                       kCollapse, CPrimitiveRestrictions(), nullptr),
            new CElementInfoSeqPrimOpt("label", kNs, P_Label, false, ItemType_string, nullptr,
                                       CWhitespaceUtils::WhitespaceRule_Preserve,
                                       CPrimitiveRestrictions(), nullptr),
            new CElementInfoSeqAbsClsCol("figure", kNs, P_Figures, XmlElementType_Element),
            new CElementInfoSeqClsCol("kid", kNs, P_Kids, XmlElementType_Element),
            new CElementInfoSeqEnumCol("hue", kNs, P_Hues),
            new CElementInfoSeqPrimCol("tag", kNs, P_Tags),
            new CElementInfoSeqCol("note", kNs, P_Notes),
            new CElementInfoSeqClsMnd("everyChoice", kNs, P_Pick, XmlElementType_Pseudo,
                                      CreateEveryChoice, 0, true),
            nullptr};
        return records;
    }
    CAttributeInfo** GetClassAttributeInfo() const override {
        static CAttributeInfo* records[] = {
            new CAttributeInfoPrimitive("code", "", P_Code, false, ItemType_string, nullptr,
                                        CWhitespaceUtils::WhitespaceRule_Preserve, MaxLength(4),
                                        "std"),
            new CAttributeInfoEnum("level", "", P_Level, true, ColorToString, ColorFromString,
                                   "red"),
            nullptr};
        return records;
    }
};

// An all group of every all-group record kind.
class EveryAll : public TestObject {
public:
    EveryAll() : TestObject(P_Count_, "everyAll") { EveryAll::Init(); }
    void Init() override {
        ResetMembers();
        InitMembers(this, false);
    }
    CParentElementInfo* GetClassInfo() const override {
        static CParentElementInfo* info =
            ClassInfo(XmlElementGroupType_All, XmlElementType_Element, "everyAll");
        return info;
    }
    CElementInfo** GetClassElementInfo() const override {
        static CElementInfo* records[] = {
            new CElementInfoAllAbsClsMnd("shape", kNs, P_Shape, XmlElementType_Element,
                                         &CEngineTestClassFactory::CreateShapeByType, 0),
            new CElementInfoAllAbsClsOpt("spare", kNs, P_Spare, XmlElementType_Element,
                                         &CEngineTestClassFactory::CreateShapeByType),
            new CElementInfoAllClsMnd("first", kNs, P_First, XmlElementType_Element,
                                      &CEngineTestClassFactory::CreateClass, ClassId_Child, true),
            new CElementInfoAllClsOpt("second", kNs, P_Second, XmlElementType_Element,
                                      &CEngineTestClassFactory::CreateClass, ClassId_Child),
            new CElementInfoAllEnumMnd("tone", kNs, P_Tone, false, ColorToString, ColorFromString,
                                       nullptr),
            new CElementInfoAllEnumOpt("shade", kNs, P_Shade, false, ColorToString, ColorFromString,
                                       nullptr),
            new CElementInfoAllPrimMnd("count", kNs, P_Count, false, ItemType_i4, nullptr,
                                       kCollapse, CPrimitiveRestrictions(), nullptr),
            new CElementInfoAllPrimOpt("label", kNs, P_Label, false, ItemType_string, nullptr,
                                       CWhitespaceUtils::WhitespaceRule_Preserve,
                                       CPrimitiveRestrictions(), nullptr),
            new CElementInfoAllAbsClsCol("figure", kNs, P_Figures, XmlElementType_Element),
            new CElementInfoAllClsCol("kid", kNs, P_Kids, XmlElementType_Element),
            new CElementInfoAllEnumCol("hue", kNs, P_Hues),
            new CElementInfoAllPrimCol("tag", kNs, P_Tags),
            new CElementInfoAllCol("note", kNs, P_Notes),
            nullptr};
        return records;
    }
};

template <class T>
T* Collection(TestObject* object, int index) {
    return dynamic_cast<T*>(object->Member(index).GetXmlCollection().get());
}

CChild* NewChild(const char* element, const char* name) {
    CChild* child = new CChild(element);
    child->SetName(name);
    child->SetCode("c");
    return child;
}

CShape* NewShape(const char* element, bool circle, int size) {
    if (!circle) {
        CSquare* square = new CSquare(element);
        square->SetSide(size);
        return square;
    }
    CCircle* shape = new CCircle(element);
    shape->SetRadius(size);
    return shape;
}

// Every member of a sequence or all group set, each collection with two items.
void FillEverything(TestObject* object) {
    object->Member(P_Shape).SetXmlObject(NewShape("shape", true, 1));
    object->Member(P_Spare).SetXmlObject(NewShape("spare", false, 2));
    object->Member(P_First).SetXmlObject(NewChild("first", "f"));
    object->Member(P_Second).SetXmlObject(NewChild("second", "s"));
    object->Member(P_Tone).SetI4(Color_green);
    object->Member(P_Shade).SetI4(Color_blue);
    object->Member(P_Count).SetI4(42);
    object->Member(P_Label).SetString(" a & b ");
    object->Member(P_Code).SetString("std");  // the required attribute of EverySeq
    for (int i = 0; i < 2; ++i) {
        Collection<ShapeCol>(object, P_Figures)->Add(NewShape("figure", i == 0, 10 + i));
        Collection<CChildCol>(object, P_Kids)->Add(NewChild("kid", i ? "k2" : "k1"));
        Collection<ColorCol>(object, P_Hues)->Add(i ? Color_blue : Color_red);
        Collection<CstringCol>(object, P_Tags)->Add(i ? "t2" : "t1");
        Collection<CstringCol>(object, P_Notes)->Add(i ? "n2" : "n1");
    }
}

// The text the object writes, read into a fresh object of its class and written again.
template <class T>
::testing::AssertionResult RoundTrips(T* object, const CSerializationContext& context,
                                      CSmartPtr<T>* copyOut = nullptr) {
    const std::string text = object->ToXml(false, true, EOLType_LF, context);
    CSmartPtr<T> copy(new T);
    copy->FromXml(text.c_str(), context);
    const std::string again = copy->ToXml(false, true, EOLType_LF, context);
    if (copyOut) *copyOut = copy;
    if (again == text) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "first:\n" << text << "\nsecond:\n" << again;
}

}  // namespace

TEST(GeneratedRecords, SequenceOfEveryKindRoundTripsWithEachChoiceMember) {
    // One document per member of the inlined choice, each using every sequence record.
    const std::vector<std::string> picks = {"shape", "second", "tone", "count", "figure",
                                            "kid",   "hue",    "tag",  "memo"};
    for (const std::string& pick : picks) {
        CSmartPtr<EverySeq> seq(new EverySeq);
        FillEverything(seq.get());
        seq->Member(P_Code).SetString("std");
        EveryChoice* choice = seq->Pick();
        if (pick == "shape") choice->Member(P_Shape).SetXmlObject(NewShape("shape", false, 7));
        if (pick == "second") choice->Member(P_Second).SetXmlObject(NewChild("second", "c"));
        if (pick == "tone") choice->Member(P_Tone).SetI4(Color_blue);
        if (pick == "count") choice->Member(P_Count).SetI4(-3);
        if (pick == "figure")
            Collection<ShapeCol>(choice, P_Figures)->Add(NewShape("figure", 1, 5));
        if (pick == "kid") Collection<CChildCol>(choice, P_Kids)->Add(NewChild("kid", "ck"));
        if (pick == "hue") Collection<ColorCol>(choice, P_Hues)->Add(Color_green);
        if (pick == "tag") Collection<CstringCol>(choice, P_Tags)->Add("ct");
        if (pick == "memo") Collection<MemoCol>(choice, P_Notes)->Add("cn");

        CSmartPtr<EverySeq> copy;
        ASSERT_TRUE(RoundTrips(seq.get(), CSerializationContext(), &copy)) << pick;
        EXPECT_EQ(copy->Member(P_Shade).GetI4(), Color_blue) << pick;
        EXPECT_EQ(copy->Member(P_Label).GetString(), " a & b ") << pick;
        EXPECT_EQ(Collection<ColorCol>(copy.get(), P_Hues)->Item(1), Color_blue) << pick;
        EXPECT_EQ(Collection<CstringCol>(copy.get(), P_Notes)->Item(0), "n1") << pick;
        EXPECT_NE(dynamic_cast<CCircle*>(Collection<ShapeCol>(copy.get(), P_Figures)->Item(0)),
                  nullptr)
            << pick;
        EXPECT_EQ(copy->Member(P_Code).GetString(), "std") << "a required default is kept";
    }
}

TEST(GeneratedRecords, AllGroupOfEveryKindRoundTrips) {
    CSmartPtr<EveryAll> all(new EveryAll);
    FillEverything(all.get());
    CSmartPtr<EveryAll> copy;
    ASSERT_TRUE(RoundTrips(all.get(), CSerializationContext(), &copy));
    EXPECT_NE(dynamic_cast<CSquare*>(copy->Member(P_Spare).GetXmlObject().get()), nullptr);
    EXPECT_EQ(Collection<CChildCol>(copy.get(), P_Kids)->GetCount(), 2);

    // Only the mandatory members: the optional records and empty collections stay absent.
    CSmartPtr<EveryAll> bare(new EveryAll);
    bare->Member(P_Shape).SetXmlObject(NewShape("shape", false, 3));
    bare->Member(P_First).SetXmlObject(NewChild("first", "f"));
    bare->Member(P_Tone).SetI4(Color_red);
    bare->Member(P_Count).SetI4(0);
    ASSERT_TRUE(RoundTrips(bare.get(), CSerializationContext(), &copy));
    EXPECT_FALSE(copy->Member(P_Spare).IsValid());
    EXPECT_FALSE(copy->Member(P_Second).IsValid());
    EXPECT_FALSE(copy->Member(P_Shade).IsValid());
    EXPECT_EQ(Collection<CstringCol>(copy.get(), P_Tags)->GetCount(), 0);
}

TEST(GeneratedRecords, MandatoryMembersOfTheAllGroupAreReportedByName) {
    struct Case {
        const char* content;
        const char* missing;
    } cases[] = {
        {"<first code=\"c\"><name>f</name></first><tone>red</tone><count>1</count>", "shape"},
        {"<shape xsi:type=\"Circle\"><radius>1</radius></shape><tone>red</tone><count>1</count>",
         "first"},
        {"<shape xsi:type=\"Circle\"><radius>1</radius></shape><first "
         "code=\"c\"><name>f</name></first>"
         "<count>1</count>",
         "tone"},
    };
    for (const Case& c : cases) {
        const std::string xml = std::string(
                                    "<everyAll xmlns=\"urn:t\" "
                                    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">") +
                                c.content + "</everyAll>";
        for (bool ignore : {false, true}) {
            // Missing members of an all group are not "unknown elements": ignoring those
            // does not excuse them.
            CSerializationContext context;
            context.SetIgnoreUnknownElements(ignore);
            CSmartPtr<EveryAll> all(new EveryAll);
            EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
                [&] { all->FromXml(xml.c_str(), context); },
                std::string("Failed to find the mandatory element [") + c.missing + "]."))
                << c.missing << " ignore=" << ignore;
        }
    }
}

TEST(GeneratedRecords, AbstractMemberWithoutAClassFailsUnderEveryIgnoreSetting) {
    const char* const xml =
        "<everySeq xmlns=\"urn:t\" code=\"c\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><shape "
        "xsi:type=\"Triangle\"/><first code=\"c\"><name>f</name></first><tone>red</tone>"
        "<count>1</count></everySeq>";
    CSerializationContext plain, unknown, missing;
    unknown.SetIgnoreUnknownElements(true);
    missing.SetIgnoreMissingMandatoryElements(true);
    for (const CSerializationContext* context : {&plain, &unknown, &missing}) {
        CSmartPtr<EverySeq> seq(new EverySeq);
        EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
            [&] { seq->FromXml(xml, *context); },
            "Failed to find a suitable substitution element for [shape].\nPath: /everySeq"));
    }
}

TEST(GeneratedRecords, ChoiceMembersOnWriting) {
    // A choice collection is never count-checked on writing, a sequence one always is
    // unless counts are ignored.
    CSmartPtr<EverySeq> seq(new EverySeq);
    FillEverything(seq.get());
    for (const char* memo : {"1", "2", "3"})  // maximum 2
        Collection<MemoCol>(seq->Pick(), P_Notes)->Add(memo);
    EXPECT_NO_THROW(seq->ToXml(false, false, EOLType_LF, CSerializationContext()));
    for (int i = 0; i < 3; ++i) Collection<CstringCol>(seq.get(), P_Notes)->Add("x");
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] { seq->ToXml(false, false, EOLType_LF, CSerializationContext()); },
        "The Maximum number of [note] elements allowed in this collection is 2"));
    CSerializationContext ignoreCounts;
    ignoreCounts.SetIgnoreInvalidCollectionCounts(true);
    EXPECT_NO_THROW(seq->ToXml(false, false, EOLType_LF, ignoreCounts));

    // The optional abstract choice member is written like a sequence member: an empty
    // choice inside it is refused, where a class choice member would let it stand empty.
    CSmartPtr<EveryChoice> choice(new EveryChoice);
    choice->Member(P_Shape).SetXmlObject(new StrictChoice);
    CSmartPtr<EverySeq> holder(new EverySeq);
    FillEverything(holder.get());
    holder->Member(P_Pick).SetXmlObject(choice.get());
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] { holder->ToXml(false, false, EOLType_LF, CSerializationContext()); },
        detail::kMsgChoiceNoneSet));
    choice->Member(P_Shape).Clear();
    choice->Member(P_Second).SetXmlObject(new StrictChoice);
    EXPECT_NO_THROW(holder->ToXml(false, false, EOLType_LF, CSerializationContext()));
}

TEST(GeneratedRecords, AttributeDefaultsAndFacets) {
    CSmartPtr<EverySeq> seq(new EverySeq);
    FillEverything(seq.get());
    seq->Member(P_Code).SetString("std");   // required, equal to its default
    seq->Member(P_Level).SetI4(Color_red);  // optional, equal to its default
    for (bool omit : {false, true}) {
        CSerializationContext context;
        context.SetNoOptionalAttributeDefaultOutput(omit);
        const std::string text = seq->ToXml(false, false, EOLType_LF, context);
        EXPECT_NE(text.find(" code=\"std\""), std::string::npos) << "required: always written";
        EXPECT_EQ(text.find(" level=\"red\"") != std::string::npos, !omit) << text;
    }

    // A facet is checked whenever the value is written, never when it is read.
    const char* const xml =
        "<everySeq xmlns=\"urn:t\" code=\"muchtoolong\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
        "<shape xsi:type=\"Circle\"><radius>1</radius></shape><first "
        "code=\"c\"><name>f</name></first>"
        "<tone>red</tone><count>1</count><tone>blue</tone></everySeq>";
    CSmartPtr<EverySeq> read(new EverySeq);
    read->FromXml(xml, CSerializationContext());
    EXPECT_EQ(read->Member(P_Code).GetString(), "muchtoolong");
    EXPECT_THROW(read->ToXml(false, false, EOLType_LF, CSerializationContext()),
                 CTsValidationException);
}

namespace {

// <defaults><flag/>?<word/>?<size/>?</defaults>: an element default that breaks its own
// facet, a string without default, and a non-nillable element.
class Defaults : public TestObject {
public:
    enum { Flag, Word, Size, MemberCount };
    Defaults() : TestObject(MemberCount, "defaults") {}
    CParentElementInfo* GetClassInfo() const override {
        static CParentElementInfo* info =
            ClassInfo(XmlElementGroupType_Sequence, XmlElementType_Element, "defaults");
        return info;
    }
    CElementInfo** GetClassElementInfo() const override {
        static CElementInfo* records[] = {
            new CElementInfoSeqPrimOpt("flag", kNs, Flag, false, ItemType_string, nullptr,
                                       kCollapse, MaxLength(2), "toolong"),
            new CElementInfoSeqPrimOpt("word", kNs, Word, false, ItemType_string, nullptr,
                                       kCollapse, CPrimitiveRestrictions(), nullptr),
            new CElementInfoSeqPrimOpt("size", kNs, Size, false, ItemType_i4, nullptr, kCollapse,
                                       CPrimitiveRestrictions(), nullptr),
            nullptr};
        return records;
    }
};

}  // namespace

TEST(GeneratedRecords, ElementDefaultsNilAndEmptyText) {
    CSmartPtr<Defaults> object(new Defaults);
    object->Member(Defaults::Flag).SetString("toolong");  // the default, over its facet
    object->Member(Defaults::Size).SetNil();              // the record is not nillable
    for (bool writeDefaults : {false, true}) {
        CSerializationContext context;
        context.SetDefaultNamespaceURI(kNs);  // unprefixed names, to compare the text
        context.SetWriteDefaultElementValues(writeDefaults);
        std::string text;
        ASSERT_NO_THROW(text = object->ToXml(false, false, EOLType_LF, context))
            << "a default value is not facet-checked";
        const std::string flag = writeDefaults ? "<flag>toolong</flag>" : "<flag/>";
        EXPECT_NE(text.find(flag), std::string::npos) << text;
        EXPECT_NE(text.find(":nil=\"true\"/>"), std::string::npos) << text;
    }

    // Empty text takes the default when there is one and stays empty otherwise; false or 0
    // for xsi:nil reads the text on any element; true on a non-nillable one fails.
    struct Case {
        const char* content;
        const char* flag;
        const char* word;
        int size;
    } cases[] = {
        {"<flag/><word/>", "toolong", "", -1},
        {"<flag>ab</flag><word xsi:nil=\"0\">w</word><size xsi:nil=\"False\">3</size>", "ab", "w",
         3},
    };
    for (const Case& c : cases) {
        const std::string xml = std::string(
                                    "<defaults xmlns=\"urn:t\" "
                                    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">") +
                                c.content + "</defaults>";
        CSmartPtr<Defaults> read(new Defaults);
        read->FromXml(xml.c_str(), CSerializationContext());
        EXPECT_EQ(read->Member(Defaults::Flag).GetString(), c.flag) << c.content;
        EXPECT_EQ(read->Member(Defaults::Word).GetString(), c.word) << c.content;
        EXPECT_EQ(
            read->Member(Defaults::Size).IsValid() ? read->Member(Defaults::Size).GetI4() : -1,
            c.size)
            << c.content;
    }
    CSmartPtr<Defaults> read(new Defaults);
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] {
            read->FromXml(
                "<defaults xmlns=\"urn:t\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
                "<size xsi:nil=\"TRUE\"/></defaults>",
                CSerializationContext());
        },
        std::string(
            "Invalid use of 'nil' attribute in non-nillable element.\nPath: /defaults/size")));
}

namespace {

// A class with more required attributes than the reader keeps found flags for on the stack.
class ManyAttributes : public TestObject {
public:
    static const int kCount = 40;
    ManyAttributes() : TestObject(kCount, "many") {}
    CParentElementInfo* GetClassInfo() const override {
        static CParentElementInfo* info =
            ClassInfo(XmlElementGroupType_Sequence, XmlElementType_Element, "many");
        return info;
    }
    CElementInfo** GetClassElementInfo() const override {
        static CElementInfo* records[] = {nullptr};
        return records;
    }
    CAttributeInfo** GetClassAttributeInfo() const override {
        static CAttributeInfo** records = [] {
            static std::vector<std::string> names;
            auto** table = new CAttributeInfo*[kCount + 1];
            for (int i = 0; i < kCount; ++i) names.push_back("a" + std::to_string(i));
            for (int i = 0; i < kCount; ++i) {
                table[i] = new CAttributeInfoPrimitive(
                    names[static_cast<std::size_t>(i)].c_str(), "", i, false, ItemType_i4, nullptr,
                    kCollapse, CPrimitiveRestrictions(), nullptr);
            }
            table[kCount] = nullptr;
            return table;
        }();
        return records;
    }
};

std::string ManyXml(int skip) {
    std::string xml = "<many xmlns=\"urn:t\"";
    for (int i = ManyAttributes::kCount - 1; i >= 0; --i) {
        if (i != skip) xml += " a" + std::to_string(i) + "=\"" + std::to_string(i * 2) + "\"";
    }
    return xml + "/>";
}

}  // namespace

TEST(GeneratedRecords, RequiredAttributesBeyondTheStackFlags) {
    CSmartPtr<ManyAttributes> many(new ManyAttributes);
    many->FromXml(ManyXml(-1).c_str(), CSerializationContext());
    EXPECT_EQ(many->Member(0).GetI4(), 0);
    EXPECT_EQ(many->Member(39).GetI4(), 78);
    for (int skip : {3, 31, 32, 39}) {
        EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
            [&] { many->FromXml(ManyXml(skip).c_str(), CSerializationContext()); },
            "Failed to find the required Attribute [a" + std::to_string(skip) + "]."))
            << skip;
    }
}
