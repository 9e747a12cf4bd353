// Untyped content inside bound objects: a generated-form class with bound members, an xs:any
// collection, a named untyped element, an xs:anyAttribute collection and primitive
// collections, written and read back through XML text; the wildcard rules as the records apply
// them; the context's extra root attributes; a bound object read from an untyped element.
#include "support/untyped_binding.h"

#include <gtest/gtest.h>

#include <string>

#include "binding/engine_messages.h"
#include "support/expect_exception.h"
#include "tessel16/conversions.h"
#include "tessel16/serialization_context.h"

namespace {

using namespace Tessel16;
using namespace UntypedTest;
using Tessel16::test::ThrowsExactly;
using C = CConversions;
const CWhitespaceUtils::WhitespaceRule kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;

std::string Write(CXmlObjectBase* object, const CSerializationContext& context) {
    return object->ToXml(false, false, EOLType_LF, context);
}

CSmartPtr<Envelope> Filled() {
    CSmartPtr<Envelope> envelope(new Envelope());
    envelope->Member(Envelope::Title).SetString("hello");
    envelope->Member(Envelope::Id).SetI4(7);
    envelope->GetScores()->Add(10);
    envelope->GetScores()->Add(99);
    envelope->GetDates()->Add(C::dateFromString("2024-05-06", kCollapse));
    CElement* extra = envelope->GetExtras()->Add("ext", "urn:other");
    extra->SetText("x");
    extra->GetAttributes()->Add("k", "v", "");
    extra->GetChildElements()->Add("deep", "urn:other")->SetText("d");
    CSmartPtr<Inner> inner(new Inner());
    inner->GetAny()->SetName("anything");
    inner->GetAny()->SetNamespace("urn:x");
    inner->GetAny()->SetText("free");
    envelope->Member(Envelope::InnerMember).SetXmlObject(inner.get());
    CSmartPtr<CElement> note(new CElement("note", kNs, "##targetNamespace", kNs));
    note->SetText("n");
    envelope->Member(Envelope::Note).SetXmlObject(note.get());
    envelope->GetTags()->Add("alpha");
    envelope->GetTags()->Add("beta");
    envelope->GetOtherAttributes()->Add("lang", "en", "urn:meta");
    return envelope;
}

const char kFilledXml[] =
    "<AA:envelope xmlns:AA=\"urn:env\" id=\"7\" xmlns:AB=\"urn:meta\" AB:lang=\"en\">"
    "<AA:title>hello</AA:title><AA:score>10</AA:score><AA:score>99</AA:score>"
    "<AA:when>2024-05-06</AA:when>"
    "<AC:ext xmlns:AC=\"urn:other\" k=\"v\"><AC:deep>d</AC:deep>x</AC:ext>"
    "<AA:inner><AC:anything xmlns:AC=\"urn:x\">free</AC:anything></AA:inner>"
    "<AA:note>n</AA:note><AA:tag>alpha</AA:tag><AA:tag>beta</AA:tag></AA:envelope>";

TEST(UntypedBinding, TheWildcardCollectionStopsAtTheTargetNamespace) {
    // Two foreign elements and an unqualified one go to the wildcard; the first element of the
    // target namespace ends it and is read by the next record.
    const char xml[] =
        "<envelope xmlns=\"urn:env\" id=\"1\"><title>t</title><score>1</score>"
        "<a xmlns=\"urn:p\"/><b xmlns=\"urn:q\"><c/></b><u "
        "xmlns=\"\"/><note>kept</note></envelope>";
    CSmartPtr<Envelope> envelope(new Envelope());
    envelope->FromXml(xml, CSerializationContext());
    ASSERT_EQ(envelope->GetExtras()->GetCount(), 3);
    EXPECT_EQ(envelope->GetExtras()->Item(1)->GetChildElements()->Item(0)->GetNamespace(), "urn:q");
    EXPECT_EQ(envelope->GetExtras()->Item(2)->GetNamespace(), "");
    ASSERT_NE(envelope->GetNote(), nullptr);
    EXPECT_EQ(envelope->GetNote()->GetText(), "kept");
    EXPECT_EQ(envelope->GetInner(), nullptr);
}

TEST(UntypedBinding, BadInputGetsTheCollectionAndRecordMessages) {
    CSerializationContext context;
    // A score over the facet: reading fails with the facet message.
    CSmartPtr<Envelope> envelope(new Envelope());
    EXPECT_THROW(envelope->FromXml("<envelope xmlns=\"urn:env\" id=\"1\"><title>t</title>"
                                   "<score>101</score></envelope>",
                                   context),
                 CTsInvalidValueException);
    // An attribute in the target namespace is not the wildcard's: unknown attribute.
    try {
        envelope->FromXml(
            "<envelope xmlns=\"urn:env\" xmlns:e=\"urn:env\" id=\"1\" e:x=\"1\">"
            "<title>t</title><score>1</score></envelope>",
            context);
        FAIL() << "no exception";
    } catch (const CTsValidationException& e) {
        EXPECT_EQ(e.GetMessage().substr(0, std::string(detail::kMsgUnexpectedAttribute).size()),
                  detail::kMsgUnexpectedAttribute);
    }
    CSerializationContext lenient;
    lenient.SetIgnoreUnknownAttributes(true);
    envelope->FromXml(
        "<envelope xmlns=\"urn:env\" xmlns:e=\"urn:env\" id=\"1\" e:x=\"1\" y=\"2\">"
        "<title>t</title><score>1</score></envelope>",
        lenient);
    // The unqualified attribute is not in the target namespace, so "##other" admits it.
    ASSERT_EQ(envelope->GetOtherAttributes()->GetCount(), 1);
    EXPECT_EQ(envelope->GetOtherAttributes()->Item(0)->GetName(), "y");

    // The inner wildcard is mandatory.
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] {
            envelope->FromXml(
                "<envelope xmlns=\"urn:env\" id=\"1\"><title>t</title>"
                "<score>1</score><inner/></envelope>",
                context);
        },
        "Failed to find the required child element [AnyElement].\nPath: /envelope/inner"));
}

TEST(UntypedBinding, AChoiceTakesALocalElementOrItsSimpleMember) {
    CSerializationContext context;
    CSmartPtr<Pick> pick(new Pick());
    pick->FromXml("<pick xmlns=\"urn:env\"><free xmlns=\"\" a=\"1\">t</free></pick>", context);
    ASSERT_NE(pick->GetLocal(), nullptr);
    EXPECT_EQ(pick->GetLocal()->GetName(), "free");
    EXPECT_EQ(pick->GetLocal()->GetAttributes()->Item(0)->GetValue(), "1");
    EXPECT_EQ(Write(pick.get(), context),
              "<AA:pick xmlns:AA=\"urn:env\"><free a=\"1\">t</free></AA:pick>");

    CSmartPtr<Pick> coded(new Pick());
    coded->FromXml("<pick xmlns=\"urn:env\"><code>4</code></pick>", context);
    EXPECT_EQ(coded->Member(Pick::Code).GetI4(), 4);
    EXPECT_EQ(coded->GetLocal(), nullptr);

    // A qualified element is neither the code nor a local element.
    CSmartPtr<Pick> other(new Pick());
    EXPECT_THROW(other->FromXml("<pick xmlns=\"urn:env\"><free/></pick>", context),
                 CTsValidationException);
}

TEST(UntypedBinding, AnAllGroupOffersItsUntypedMemberInEitherOrder) {
    CSerializationContext context;
    for (const char* xml :
         {"<bag xmlns=\"urn:env\"><memo k=\"1\"><x/></memo><size>3</size></bag>",
          "<bag xmlns=\"urn:env\"><size>3</size><memo k=\"1\"><x/></memo></bag>"}) {
        SCOPED_TRACE(xml);
        CSmartPtr<Bag> bag(new Bag());
        bag->FromXml(xml, context);
        EXPECT_EQ(bag->Member(Bag::Size).GetI4(), 3);
        ASSERT_NE(bag->GetMemo(), nullptr);
        EXPECT_EQ(bag->GetMemo()->GetAttributes()->Item(0)->GetName(), "k");
        EXPECT_EQ(bag->GetMemo()->GetChildElements()->Item(0)->GetName(), "x");
        // Written back in schema order.
        EXPECT_EQ(Write(bag.get(), context),
                  "<AA:bag xmlns:AA=\"urn:env\"><AA:size>3</AA:size><AA:memo k=\"1\"><AA:x/>"
                  "</AA:memo></AA:bag>");
    }
}

TEST(UntypedBinding, ANamedUntypedCollectionTakesOnlyItsName) {
    CSerializationContext context;
    CSmartPtr<Lines> lines(new Lines());
    lines->FromXml(
        "<lines xmlns=\"urn:env\"><line>a</line><line n=\"2\"><w>b</w></line>"
        "<end>z</end></lines>",
        context);
    ASSERT_EQ(lines->GetLines()->GetCount(), 2);
    EXPECT_EQ(lines->GetLines()->Item(1)->GetChildElements()->Item(0)->GetText(), "b");
    EXPECT_EQ(lines->GetLines()->Item(0)->GetNamespaceRestriction(), "##any");
    EXPECT_EQ(lines->Member(Lines::End).GetString(), "z");
    EXPECT_EQ(Write(lines.get(), context),
              "<AA:lines xmlns:AA=\"urn:env\"><AA:line>a</AA:line><AA:line n=\"2\"><AA:w>b"
              "</AA:w></AA:line><AA:end>z</AA:end></AA:lines>");
    // Elements of another name are left for the next member; here nobody takes them.
    CSmartPtr<Lines> strict(new Lines());
    EXPECT_THROW(strict->FromXml("<lines xmlns=\"urn:env\"><line/><other/></lines>", context),
                 CTsValidationException);
    EXPECT_EQ(strict->GetLines()->GetCount(), 1);
}

TEST(UntypedBinding, AdditionalRootAttributesGoOnTheRootOnly) {
    CSerializationContext context;
    context.GetAdditionalRootAttributes()->Add("schemaLocation", "urn:env env.xsd",
                                               "http://www.w3.org/2001/XMLSchema-instance");
    context.GetAdditionalRootAttributes()->Add("rev", "3");
    const std::string xml = Write(Filled().get(), context);
    EXPECT_EQ(xml.substr(0, xml.find('>') + 1),
              "<AA:envelope xmlns:AA=\"urn:env\" xmlns:AB=\"http://www.w3.org/2001/"
              "XMLSchema-instance\" AB:schemaLocation=\"urn:env env.xsd\" rev=\"3\" id=\"7\" "
              "xmlns:AC=\"urn:meta\" AC:lang=\"en\">");
    EXPECT_EQ(xml.find("rev=", xml.find('>')), std::string::npos);

    // Read back, the extra attributes are offered to the object's records: "##other" admits
    // the unqualified one, and schemaLocation is the parser's business.
    CSmartPtr<Envelope> envelope(new Envelope());
    envelope->FromXml(xml.c_str(), CSerializationContext());
    EXPECT_EQ(envelope->GetOtherAttributes()->Item(0)->GetName(), "rev");
}

TEST(UntypedBinding, UntypedElementsConvertToAndFromBoundObjects) {
    CSerializationContext context;
    CSmartPtr<Envelope> source = Filled();
    // A bound object copied into an untyped element ...
    CSmartPtr<CElement> element(new CElement(source.get(), nullptr));
    EXPECT_EQ(element->GetName(), "envelope");
    EXPECT_EQ(element->GetNamespace(), kNs);
    EXPECT_EQ(element->GetChildElements()->GetCount(), 9);
    // ... reads back into a bound object.
    CSmartPtr<Envelope> copy(new Envelope());
    copy->FromXmlElement(element.get(), context);
    EXPECT_EQ(Write(copy.get(), context), kFilledXml);

    EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>(
        [&] { copy->FromXmlElement(static_cast<const CElement*>(nullptr), context); },
        "The element to read from is null"));
}

}  // namespace
