// generated_engine_test.cpp: the generated-class engine driven through the classes generated
// from tests/data/schemas/engine.xsd (and a few by hand): what is written and in which order
// (through a recording writer), what is read back, and the errors of missing, surplus and misplaced
// content with their paths.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "binding/engine_messages.h"
#include "metadata/metadata_messages.h"
#include "metadata/object_bridge.h"
#include "support/engine_bindings.h"
#include "support/expect_exception.h"
#include "support/recording_writer.h"
#include "support/test_table.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_document.h"

using namespace Tessel16;
using namespace EngineTest;
using Tessel16::test::ThrowsExactly;
using ::testing::EndsWith;
using ::testing::StartsWith;
using TestSupport::RecordingWriter;

namespace {

const char* const kDecl =
    " xmlns=\"urn:t\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"";

// The writer calls the object makes, one transcript line each, joined by '|'.
std::string Write(const CXmlObjectBase* object, const CSerializationContext& context) {
    RecordingWriter writer;
    detail::ObjectBridge::WriteObject(object, &writer, true, "urn:t", context, false);
    std::string lines;
    for (const std::string& line : writer.Lines()) lines += (lines.empty() ? "" : "|") + line;
    return lines;
}

// Reads `xml` into the object the way the FromXml entry point does, keeping the document so
// that tests can look at what the cursor returned.
CXmlElement* Read(CXmlObjectBase* object, const std::string& xml,
                  const CSerializationContext& context) {
    CXmlDocument document(context);
    document.LoadXml(xml.c_str());
    CXmlElement* root = document.GetDocumentElement();
    return detail::ObjectBridge::ReadObject(object, root, root->GetFirstElement(), context);
}

// A failure's message as the engine words it: the node's path is appended when known.
std::string At(const std::string& message, const std::string& path) {
    return path.empty() ? message : message + "\nPath: " + path;
}

std::string Xml(const std::string& root, const std::string& attributes,
                const std::string& content) {
    return "<" + root + kDecl + attributes + ">" + content + "</" + root + ">";
}

// Property indexes of CItem and CNote, as the engine addresses them.
enum { kCount, kNote, kColor, kFlag, kSize };

}  // namespace

TEST(GeneratedClassWrite, SimpleMembersRootExtrasDefaultsAndNil) {
    CSmartPtr<Twisted<CItem>> item(new Twisted<CItem>);
    item->SetCount_(5);
    item->SetNote("hi");
    item->SetColor(Color_green);
    item->SetId(7);
    item->SetTone(Color_blue);
    EXPECT_EQ(Write(item.get(), CSerializationContext()),
              "start urn:t item|attr id=7 (5)|attr tone=blue (23)|start urn:t count|text 5 (5)|"
              "end|start urn:t note|text hi (23)|end|start urn:t color|text green (23)|end|end");

    CSerializationContext context;
    context.GetProcessingInstructions().push_back("<?a b?>");
    context.GetNamespaceAliases().Add("x", "urn:x");
    context.SetDefaultNamespaceURI("urn:t");
    context.SetInLineSchema("<xs:schema/>");
    // The schema comes after the attributes, before the content.
    EXPECT_THAT(Write(item.get(), context),
                StartsWith("pi <?a b?>|alias x urn:x|defaultns urn:t|start urn:t item|"
                           "attr id=7 (5)|attr tone=blue (23)|schema <xs:schema/>|start"));

    item->SetFlag(true);  // equal to the default "true"
    item->nilOn = kSize;
    EXPECT_THAT(Write(item.get(), CSerializationContext()),
                EndsWith("|start urn:t flag|default true (24)|end|start urn:t size|nil|end|end"));
    // A member over its facet is refused on writing: a row of engine_reads.txt.
}

// Each document of binding/engine_reads.txt read into a fresh object of its class under the
// row's ignore settings: the failure, or the document the object writes back (or why it
// cannot).
TEST(GeneratedClassRead, DocumentsUnderEachSetting) {
    for (const test::TableRow& c : test::ReadTable("binding/engine_reads.txt")) {
        SCOPED_TRACE("engine_reads.txt line " + std::to_string(c.line));
        CSerializationContext context;
        context.SetIgnoreUnknownElements(c[1] == "unknown");
        context.SetIgnoreMissingMandatoryElements(c[1] == "missing");
        context.SetIgnoreUnknownAttributes(c[1] == "attributes");
        context.SetIgnoreInvalidCollectionCounts(c[1] == "counts");
        CSmartPtr<CXmlObjectBase> object = CreateEngineBindingElement(kNs, c[0].c_str());
        ASSERT_TRUE(object);
        const std::string xml = Xml(c[0], " " + c[2], c[3]);
        if (c[4][0] == '!') {
            EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
                [&] { Read(object.get(), xml, context); }, c[4].substr(1)));
            continue;
        }
        Read(object.get(), xml, context);
        CSerializationContext unprefixed;
        unprefixed.SetDefaultNamespaceURI(kNs);
        unprefixed.SetWriteDefaultElementValues(true);  // a default read shows as its value
        std::string written;
        try {
            written = object->ToXml(false, false, EOLType_LF, unprefixed);
        } catch (const CTsException& e) {
            written = "not written: " + e.GetMessage();
        }
        EXPECT_EQ(written, c[4]);
    }
}

TEST(GeneratedClassRead, NilValuesOnSimpleElementsByNillability) {
    for (const test::TableRow& c : test::ReadTable("binding/nil_simple_elements.txt")) {
        SCOPED_TRACE("nil_simple_elements.txt line " + std::to_string(c.line));
        auto nil = [](const std::string& value) {
            return value == "-" ? std::string() : " xsi:nil=\"" + value + "\"";
        };
        const std::string body = "<count" + nil(c[0]) + ">4</count><color>red</color><size" +
                                 nil(c[1]) + ">7</size><zzz/>";
        CSmartPtr<CItem> item(new CItem);
        CSerializationContext ignore;
        ignore.SetIgnoreUnknownElements(true);
        if (c[4].empty()) {
            // Nil or not, the cursor moves past the element: the following ones are read.
            EXPECT_EQ(Read(item.get(), Xml("item", " id=\"1\"", body), ignore), nullptr);
            EXPECT_EQ(item->GetColor(), Color_red);
        } else {
            EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
                [&] { Read(item.get(), Xml("item", " id=\"1\"", body), ignore); }, c[4]));
        }
        // A member that was read holds the element's text.
        TsVariant count;
        item->InvokeProperty(kCount, true, count);
        EXPECT_EQ(count.IsValid() ? item->GetCount_() : -1, c[2] == "yes" ? 4 : -1);
        EXPECT_EQ(item->IsSizeValid() ? item->GetSize() : -1, c[3] == "yes" ? 7 : -1);
    }
}

// Lenient reading stores the simple members of a generated class straight from their text; a
// class derived by hand (Twisted) is read through InvokeProperty. Both ways must end with the
// same members, under whitespace rules, defaults, nil and conversion failures alike.
TEST(GeneratedClassRead, TextShortcutStoresWhatTheAccessorWould) {
    const CSerializationContext lenient;
    for (const test::TableRow& c : test::ReadTable("binding/text_shortcut_reads.txt")) {
        SCOPED_TRACE("text_shortcut_reads.txt line " + std::to_string(c.line));
        const std::string xml = Xml("item", " " + c[0], c[1]);
        auto read = [&](CXmlObjectBase* object) -> std::string {
            try {
                Read(object, xml, lenient);
            } catch (const CTsException& e) {
                return e.GetMessage();
            }
            return Write(object, lenient);
        };
        CSmartPtr<CItem> direct(new CItem);
        CSmartPtr<Twisted<CItem>> viaAccessor(new Twisted<CItem>);
        EXPECT_EQ(read(direct.get()), read(viaAccessor.get()));
    }
    // The shortcut is the generated class's own: enumerations and unknown indexes are left to
    // InvokeProperty, and so is every member of a class derived by hand. A choice member takes
    // it only while selecting it cannot clash with another member.
    const auto rule = CWhitespaceUtils::WhitespaceRule_Collapse;
    CSmartPtr<CItem> item(new CItem);
    EXPECT_TRUE(item->SetMemberFromText(kCount, " 5 ", rule));
    EXPECT_EQ(item->GetCount_(), 5);
    EXPECT_FALSE(item->SetMemberFromText(kColor, "red", rule));
    EXPECT_FALSE(item->SetMemberFromText(99, "1", rule));
    EXPECT_FALSE(
        CSmartPtr<Twisted<CItem>>(new Twisted<CItem>)->SetMemberFromText(kCount, "5", rule));
    CSmartPtr<CPickChoice> choice(new CPickChoice);
    EXPECT_TRUE(choice->SetMemberFromText(0, "x", rule));
    EXPECT_EQ(choice->GetChoiceSelectedElement(), "a");
    choice->Init();
    choice->SetB(new CChild);
    EXPECT_FALSE(choice->SetMemberFromText(0, "y", rule));
    EXPECT_EQ(choice->GetChoiceSelectedElement(), "b");
}

TEST(GeneratedClassRead, AccessorRefusalKeepsTheCause) {
    CSmartPtr<Twisted<CItem>> item(new Twisted<CItem>);
    item->rejectOn = kCount;
    const auto e = test::Caught<CTsValidationException>([&] {
        Read(item.get(), Xml("item", " id=\"1\"", "<count>1</count><color>red</color>"),
             CSerializationContext());
    });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->GetPath(), "/item/count");
    EXPECT_EQ(e->GetMessage(), std::string(detail::kMsgSetPropertyFailed) + "\nPath: /item/count");
    ASSERT_NE(e->GetInnerException(), nullptr);
    EXPECT_EQ(e->GetInnerException()->GetMessage(), "value refused");
}

// The type attribute a derived class is written with under its base's name is in the drawing
// rows of engine_reads.txt; the context can leave it out.
TEST(GeneratedClassSubstitution, XsiTypeCanBeLeftOut) {
    CSmartPtr<CDrawing> drawing(new CDrawing);
    CCircle* circle = new CCircle("shape");
    circle->SetRadius(2);
    drawing->SetShape(circle);
    CSerializationContext noType;
    noType.SetWriteTypeAttribute(false);
    EXPECT_THAT(Write(drawing.get(), noType),
                StartsWith("start urn:t drawing|start urn:t shape|start urn:t radius"));
}

// Writing a nil class (read from rows of engine_reads.txt) gives its attributes, then nil; so
// does a class whose simple content the accessor hands out as nil.
TEST(GeneratedClassNil, NilSimpleContentIsWrittenAsANilClass) {
    CSmartPtr<CMemo> memo(new CMemo);
    Twisted<CNote>* note = new Twisted<CNote>("note");
    note->SetValue("hello");
    note->SetLang("en");
    note->nilOn = 0;  // the note's value
    memo->SetNote(note);
    EXPECT_EQ(Write(memo.get(), CSerializationContext()),
              "start urn:t memo|start urn:t note|attr lang=en (23)|nil|end|end");
}

TEST(GeneratedClassPseudo, InlinedMemberAttributesAndChildren) {
    CSmartPtr<Wrap> wrap(new Wrap);
    wrap->Member(Wrap::Head).SetString("h");
    wrap->GetExtras()->Member(Extras::Memo_).SetString("m");
    wrap->GetExtras()->Member(Extras::Flag).SetBoolean(true);
    EXPECT_EQ(Write(wrap.get(), CSerializationContext()),
              "start urn:t wrap|attr flag=true (24)|start urn:t head|text h (23)|end|"
              "start urn:t memo|text m (23)|end|end");

    const std::string text = wrap->ToXml(false, false, EOLType_LF, CSerializationContext());
    CSmartPtr<Wrap> copy(new Wrap);
    copy->FromXml(text.c_str(), CSerializationContext());
    EXPECT_EQ(copy->GetExtras()->Member(Extras::Memo_).GetString(), "m");
    EXPECT_TRUE(copy->GetExtras()->Member(Extras::Flag).GetBoolean());
    EXPECT_EQ(copy->Name(), "wrap");
    EXPECT_EQ(copy->GetExtras()->Name(), "extras") << "a pseudo element keeps its own name";

    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] {
            Read(copy.get(), Xml("wrap", "", "<head>h</head><tail>t</tail>"),
                 CSerializationContext());
        },
        At("Failed to find the required child element [extras].", "/wrap")));
}

namespace {

// The choice group with a protected helper of the engine exposed.
class Probe : public ChoiceGroup {
public:
    using CXmlGeneratedClass::IsElementInList;
};

// A class whose one member is the strict choice, as a member of a choice (InChoice) or of a
// sequence: only a choice member is written with the choice flag, which lets it be empty.
template <bool InChoice>
class Outer : public ChoiceGroup {
public:
    Tessel16Data::CParentElementInfo* GetClassInfo() const override {
        static Tessel16Data::CParentElementInfo* info =
            NewClassInfo(InChoice ? Tessel16Data::XmlElementGroupType_Choice
                                  : Tessel16Data::XmlElementGroupType_Sequence,
                         "pick");
        return info;
    }
    Tessel16Data::CElementInfo** GetClassElementInfo() const override {
        using namespace Tessel16Data;
        static CElementInfo* records[] = {
            InChoice
                ? static_cast<CElementInfo*>(new CElementInfoChoiceClsOpt(
                      "strict", kNs, A, XmlElementType_Element, nullptr, 0))
                : new CElementInfoSeqClsOpt("strict", kNs, A, XmlElementType_Element, nullptr, 0),
            nullptr};
        return records;
    }
};

}  // namespace

TEST(GeneratedClassChoice, EmptyChoiceAndTheMemberList) {
    // Optional choice records make an empty choice acceptable. Reading an empty choice is in
    // collection_reads.txt.
    CSmartPtr<Probe> pick(new Probe);
    EXPECT_NO_THROW(Write(pick.get(), CSerializationContext()));
    EXPECT_NO_THROW(Read(pick.get(), Xml("pick", "", ""), CSerializationContext()));
    CSmartPtr<StrictChoice> strict(new StrictChoice);
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] { Write(strict.get(), CSerializationContext()); }, At(detail::kMsgChoiceNoneSet, "")));
    CSerializationContext ignoreChoice;
    ignoreChoice.SetIgnoreMissingChoice(true);
    EXPECT_NO_THROW(Write(strict.get(), ignoreChoice));

    // A nested choice may be empty only as a member of a choice.
    CSmartPtr<Outer<true>> inChoice(new Outer<true>);
    inChoice->Member(ChoiceGroup::A).SetXmlObject(new StrictChoice);
    EXPECT_EQ(Write(inChoice.get(), CSerializationContext()),
              "start urn:t pick|start urn:t strict|end|end");

    CSmartPtr<Outer<false>> inSequence(new Outer<false>);
    inSequence->Member(ChoiceGroup::A).SetXmlObject(new StrictChoice);
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] { Write(inSequence.get(), CSerializationContext()); },
        At(detail::kMsgChoiceNoneSet, "")));

    // The member list of the choice knows b and not q.
    CXmlDocument document;
    document.LoadXml("<r xmlns=\"urn:t\"><b/><q/></r>");
    CXmlElement* b = document.GetDocumentElement()->GetFirstElement();
    EXPECT_TRUE(pick->IsElementInList(CSerializationContext(), b));
    EXPECT_FALSE(pick->IsElementInList(CSerializationContext(), b->GetNextSiblingElement()));
}
