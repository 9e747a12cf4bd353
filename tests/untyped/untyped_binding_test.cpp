// Untyped content inside bound objects: a generated-form class with bound members, an xs:any
// collection, a named untyped element, an xs:anyAttribute collection and primitive
// collections, written and read back through XML text; the wildcard rules as the records apply
// them (documents in tests/data/untyped/binding_reads.txt); the context's extra root
// attributes; a bound object read from an untyped element.
#include "support/untyped_binding.h"

#include <gtest/gtest.h>

#include <string>

#include "support/expect_exception.h"
#include "support/test_table.h"
#include "tessel16/attribute.h"
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

// A fresh object of the class that reads the element.
CSmartPtr<CXmlObjectBase> Create(const std::string& element) {
    if (element == "envelope") return CSmartPtr<CXmlObjectBase>(new Envelope());
    if (element == "pick") return CSmartPtr<CXmlObjectBase>(new Pick());
    if (element == "bag") return CSmartPtr<CXmlObjectBase>(new Bag());
    if (element == "tail") return CSmartPtr<CXmlObjectBase>(new Tail());
    return CSmartPtr<CXmlObjectBase>(new Lines());
}

TEST(UntypedBinding, DocumentsReadAsTheRecordsAdmitThem) {
    for (const test::TableRow& c : test::ReadTable("untyped/binding_reads.txt")) {
        SCOPED_TRACE("binding_reads.txt line " + std::to_string(c.line));
        CSerializationContext context;
        context.SetIgnoreUnknownAttributes(c[1] == "attributes");
        context.SetIgnoreUnknownElements(c[1] == "unknown");
        CSmartPtr<CXmlObjectBase> object = Create(c[0]);
        const std::string xml =
            "<" + c[0] + " xmlns=\"urn:env\" " + c[2] + ">" + c[3] + "</" + c[0] + ">";
        std::string outcome;
        try {
            object->FromXml(xml.c_str(), context);
            outcome = Write(object.get(), CSerializationContext());
        } catch (const CTsInvalidValueException& e) {
            outcome = "value: " + e.GetMessage();
        } catch (const CTsValidationException& e) {
            outcome = "validation: " + e.GetMessage();
        }
        EXPECT_EQ(outcome, c[4]);
    }
}

TEST(UntypedBinding, AdditionalRootAttributesAreSharedAndGoOnTheRootOnly) {
    // Writers only see a const context; the collection they create must be the one that the
    // application reaches later through the non-const accessor, and copies share it.
    CSerializationContext context;
    const CSerializationContext& view = context;
    CSmartPtr<CAttributeCol> extra = view.GetAdditionalRootAttributes();
    ASSERT_TRUE(extra);
    EXPECT_EQ(extra, context.GetAdditionalRootAttributes());
    EXPECT_EQ(extra->GetNamespaceRestriction(), "##any");
    extra->Add("schemaLocation", "urn:env env.xsd", "http://www.w3.org/2001/XMLSchema-instance");
    CSerializationContext copy(context);
    EXPECT_EQ(copy.GetAdditionalRootAttributes()->GetCount(), 1);
    copy.GetAdditionalRootAttributes()->Add("rev", "3");
    EXPECT_EQ(context.GetAdditionalRootAttributes()->GetCount(), 2);
    CSerializationContext assigned;
    assigned = copy;
    EXPECT_EQ(assigned.GetAdditionalRootAttributes(), extra);
    const std::string xml = Write(Filled().get(), assigned);
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
    EXPECT_EQ(element->GetDefaultNamespaceDeclaration(), "");
    // ... reads back into a bound object.
    CSmartPtr<Envelope> copy(new Envelope());
    copy->FromXmlElement(element.get(), context);
    EXPECT_EQ(Write(copy.get(), context), test::ReadDataFile("untyped/envelope_filled.xml"));

    EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>(
        [&] { copy->FromXmlElement(static_cast<const CElement*>(nullptr), context); },
        "The element to read from is null"));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>(
        [] { new CElement(static_cast<CXmlObjectBase*>(nullptr), nullptr); },
        "The object to copy into an element is null"));
}

}  // namespace
