// Untyped elements: construction and its namespace messages, writing (attributes, children,
// text, and the separate fragment of an element with its own default namespace), cloning,
// restriction changes, name-locked reading and the iterator. What an element reads is in the
// wildcard rows of untyped/binding_reads.txt.
#include "tessel16/element.h"

#include <gtest/gtest.h>

#include <string>

#include "binding/binding_messages.h"
#include "metadata/object_bridge.h"
#include "support/expect_exception.h"
#include "support/parsed_xml.h"
#include "support/recording_writer.h"
#include "support/test_node.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_document.h"
#include "untyped/untyped_messages.h"

namespace {

using namespace Tessel16;
using Tessel16::test::CTestNode;
using Tessel16::test::ThrowsExactly;
using Parsed = Tessel16::test::ParsedXml;
using Bridge = Tessel16::detail::ObjectBridge;
namespace M = Tessel16::detail::UntypedMessages;

const char* const kBadNamespace = detail::kMsgInvalidNamespace;

std::string Write(CElement* element, bool formatted = false) {
    return element->ToXml(false, formatted, EOLType_LF, CSerializationContext());
}

TEST(Element, ConstructorsCheckTheirArguments) {
    EXPECT_TRUE(ThrowsExactly<CTsInvalidNamespaceException>([] { new CElement(nullptr); },
                                                            M::kElementNameMissing));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidNamespaceException>(
        [] { new CElement("a", "", nullptr, ""); }, M::kRestrictionMissing));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidNamespaceException>(
        [] { new CElement("a", "", "##any", nullptr); }, M::kTargetNamespaceMissing));
    for (const char* keyword : {"##any", "##other", "##local", "##targetNamespace"}) {
        EXPECT_TRUE(ThrowsExactly<CTsInvalidNamespaceException>(
            [&] { new CElement("a", keyword); },
            FormatString(M::kInvalidNamespaceArgument, keyword)));
    }
    EXPECT_TRUE(ThrowsExactly<CTsInvalidNamespaceException>(
        [] { new CElement("a", "urn:t", "##other", "urn:t"); },
        FormatString(kBadNamespace, "urn:t", "##other", "urn:t")));

    CSmartPtr<CElement> plain(new CElement("a"));
    EXPECT_EQ(plain->GetNamespaceRestriction(), "##any");
    EXPECT_EQ(plain->GetNamespace(), "");
    CSmartPtr<CElement> own(new CElement("a", "urn:x"));
    EXPECT_EQ(own->GetNamespaceRestriction(), "urn:x");
    EXPECT_EQ(own->GetTargetNamespace(), "urn:x");
    EXPECT_EQ(own->GetChildElements()->GetNamespace(), "");
    EXPECT_EQ(own->GetAttributes()->GetNamespace(), "urn:x");
}

TEST(Element, WritesAttributesThenChildrenThenTextAndClonesDeep) {
    CSmartPtr<CElement> element(new CElement("e", "urn:e", "##any", "urn:t"));
    element->SetText("tail & <text>");
    element->GetAttributes()->Add("a", "\"q\"", "");
    element->GetAttributes()->Add("b", "2", "urn:e");
    CElement* child = element->GetChildElements()->Add("c", "urn:c");
    child->SetText("inner");
    EXPECT_EQ(Write(element.get()),
              "<AA:e xmlns:AA=\"urn:e\" a=\"&quot;q&quot;\" AA:b=\"2\"><AB:c "
              "xmlns:AB=\"urn:c\">inner</AB:c>tail &amp; &lt;text&gt;</AA:e>");

    TestSupport::RecordingWriter writer;
    CSerializationContext context;
    Bridge::WriteObject(element.get(), &writer, false, "urn:ignored", context, false);
    EXPECT_EQ(writer.Transcript(),
              "start urn:e e\nattr a=\"q\" (23)\nattr urn:e:b=2 (23)\nstart urn:c c\n"
              "text inner (23)\nend\ntext tail & <text> (23)\nend\n");

    CSmartPtr<CElement> clone = element->Clone();
    EXPECT_EQ(Write(clone.get()), Write(element.get()));
    EXPECT_EQ(clone->GetRestrictionTargetNamespace(), "urn:t");
    clone->GetChildElements()->Item(0)->SetText("changed");
    clone->GetAttributes()->Add("d", "4", "");
    EXPECT_EQ(element->GetChildElements()->Item(0)->GetText(), "inner");
    EXPECT_EQ(element->GetAttributes()->GetCount(), 2);

    // A namespace changed past its restriction still clones.
    element->SetNamespace("urn:elsewhere");
    element->SetNamespaceRestrictions("##any", "");
    CSmartPtr<CElement> copy(new CElement(*element));
    EXPECT_EQ(copy->GetChildElements(), element->GetChildElements());
    EXPECT_EQ(copy->GetAttributes(), element->GetAttributes());
    EXPECT_EQ(copy->GetNamespace(), "urn:elsewhere");
}

TEST(Element, ADefaultNamespaceDeclarationIsWrittenAsItsOwnFragment) {
    CSmartPtr<CTestNode> node = CTestNode::Create("item", "urn:d");
    node->AddAttribute("dropped", "1");
    node->AddChild("part", "p");
    CSmartPtr<CElement> element(new CElement(node.get(), "urn:d"));
    EXPECT_EQ(element->GetDefaultNamespaceDeclaration(), "urn:d");

    CSmartPtr<CElement> holder(new CElement("holder"));
    holder->GetChildElements()->Add(element.get());
    // The fragment declares the default namespace on its own start tag; the attributes are not
    // written in this form.
    EXPECT_EQ(Write(holder.get()), "<holder><item xmlns=\"urn:d\"><part>p</part></item></holder>");
    // Formatted output puts the fragment on a line of its own.
    EXPECT_EQ(Write(holder.get(), true),
              "<holder>\n<item xmlns=\"urn:d\">\n\t<part>p</part>\n</item>\n</holder>\n");

    // Other writers get the element the ordinary way.
    TestSupport::RecordingWriter writer;
    CSerializationContext context;
    Bridge::WriteObject(element.get(), &writer, false, "", context, false);
    EXPECT_EQ(writer.Lines().front(), "start urn:d item");

    // A clone keeps the declaration, so it writes what its original writes through either.
    EXPECT_EQ(Write(holder->Clone().get()), Write(holder.get()));
    TestSupport::RecordingWriter cloneWriter;
    Bridge::WriteObject(element->Clone().get(), &cloneWriter, false, "", context, false);
    EXPECT_EQ(cloneWriter.Lines(), writer.Lines());

    CSmartPtr<CElement> reread(new CElement("x"));
    reread->FromXml(Write(holder.get()).c_str());
    EXPECT_EQ(reread->GetChildElements()->Item(0)->GetNamespace(), "urn:d");
}

TEST(Element, FromXmlReplacesTheElementAndReportsBadText) {
    CSmartPtr<CElement> element(new CElement("old"));
    element->GetChildElements()->Add("stale", "urn:s");
    element->FromXml("<p:new xmlns:p=\"urn:n\" a=\"1\"><kid/>t</p:new>");
    EXPECT_EQ(element->GetName(), "new");
    EXPECT_EQ(element->GetNamespace(), "urn:n");
    EXPECT_EQ(element->GetText(), "t");
    ASSERT_EQ(element->GetChildElements()->GetCount(), 1);
    EXPECT_EQ(element->GetChildElements()->Item(0)->GetName(), "kid");
    // Empty text is refused by the loader (xml_loader_test); bad text leaves the element as it was.
    EXPECT_THROW(element->FromXml("<a><b></a>"), CTsException);
    EXPECT_EQ(element->GetName(), "new");
}

TEST(Element, SetNamespaceRestrictionsChecksTheWholeSubtree) {
    CSmartPtr<CElement> element(new CElement("e", "urn:e"));
    CElement* child = element->GetChildElements()->Add("c", "urn:t");
    child->GetChildElements()->Add("g", "urn:e");

    // The element itself is judged first, with the plain namespace message.
    EXPECT_TRUE(ThrowsExactly<CTsInvalidNamespaceException>(
        [&] { element->SetNamespaceRestrictions("##targetNamespace", "urn:x"); },
        FormatString(kBadNamespace, "urn:e", "##targetNamespace", "urn:x")));
    // A child that breaks it is named; the original message is kept as the inner one.
    const auto e = test::Caught<CTsInvalidNamespaceException>(
        [&] { element->SetNamespaceRestrictions("##other", "urn:t"); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->GetMessage(), FormatString(M::kChildBreaksRestriction, "urn:t", "c", "##other"));
    ASSERT_NE(e->GetInnerException(), nullptr);
    EXPECT_EQ(e->GetInnerException()->GetMessage(),
              FormatString(kBadNamespace, "urn:t", "##other", "urn:t"));
    EXPECT_EQ(element->GetNamespaceRestriction(), "urn:e");

    element->SetNamespaceRestrictions("urn:e urn:t", "urn:t");
    EXPECT_EQ(element->GetNamespaceRestriction(), "urn:e urn:t");
    EXPECT_EQ(element->GetChildElements()
                  ->Item(0)
                  ->GetChildElements()
                  ->Item(0)
                  ->GetNamespaceRestriction(),
              "urn:e urn:t");
}

TEST(ElementCol, ConstructionAndAdding) {
    EXPECT_TRUE(ThrowsExactly<CTsInvalidNamespaceException>(
        [] { new CElementCol("urn:t", "##other", "urn:t", 0, -1); },
        FormatString(kBadNamespace, "urn:t", "##other", "urn:t")));

    CSmartPtr<CElementCol> none(new CElementCol("", "##any", "urn:t", 0, -1));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidStateException>([&] { none->Add("x"); },
                                                        M::kNoCollectionNamespace));
    EXPECT_EQ(none->GetNamespace(), "urn:t");

    CSmartPtr<CElementCol> col(new CElementCol("", "urn:a urn:b", "urn:t", 0, -1));
    CElement* made = col->Add("x");
    EXPECT_EQ(made->GetNamespace(), "urn:a");
    EXPECT_EQ(made->GetNamespaceRestriction(), "urn:a urn:b");
    EXPECT_EQ(col->Add("y", "urn:b")->GetNamespace(), "urn:b");
    const std::string unlisted = FormatString(kBadNamespace, "urn:c", "urn:a urn:b", "urn:t");
    EXPECT_TRUE(
        ThrowsExactly<CTsInvalidNamespaceException>([&] { col->Add("z", "urn:c"); }, unlisted));
    CSmartPtr<CElement> foreign(new CElement("f", "urn:c"));
    EXPECT_TRUE(
        ThrowsExactly<CTsInvalidNamespaceException>([&] { col->Add(foreign.get()); }, unlisted));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>(
        [&] { col->Add(static_cast<CElement*>(nullptr)); }, M::kNoElementToAdd));
    EXPECT_EQ(col->GetCount(), 2);

    CSmartPtr<CElement> first(new CElement("first"));
    col->AddBefore(made, first.get());
    CSmartPtr<CElement> mid(new CElement("mid"));
    col->AddAfter(made, mid.get());
    std::string names;
    for (CElement* element : *col) names += element->GetName() + ",";
    EXPECT_EQ(names, "first,x,mid,y,");
    EXPECT_TRUE(
        ThrowsExactly<CTsInvalidParamException>([&] { col->AddAfter(foreign.get(), mid.get()); },
                                                "The object was not found in the collection"));
}

TEST(ElementCol, ReadingStopsAtTheFirstElementTheRestrictionRejects) {
    Parsed parsed(R"(<r xmlns:t="urn:t"><a/><b xmlns="urn:x"/><t:own/><c/></r>)");
    CSmartPtr<CElementCol> col(new CElementCol("", "##other", "urn:t", 0, -1));
    CSerializationContext context;
    CXmlElement* stop =
        Bridge::ReadObject(col.get(), parsed.root, parsed.root->GetFirstElement(), context);
    ASSERT_NE(stop, nullptr);
    EXPECT_EQ(stop->GetLocalName(), "own");
    ASSERT_EQ(col->GetCount(), 2);
    EXPECT_EQ(col->Item(1)->GetNamespace(), "urn:x");
    EXPECT_EQ(col->Item(1)->GetNamespaceRestriction(), "##other");
    // A null cursor reads nothing.
    CSmartPtr<CElement> element(new CElement("anything"));
    EXPECT_EQ(Bridge::ReadObject(element.get(), parsed.root, nullptr, context), nullptr);
}

TEST(ElementCol, NameLockedReadingTakesOnlyThatName) {
    Parsed parsed(R"(<r><n>1</n><n>2</n><m/><n>3</n></r>)");
    CSmartPtr<CElementCol> col(new CElementCol("", "##local", "urn:t", 0, -1));
    CSerializationContext context;
    CXmlElement* stop = col->FromXmlLockElementName_Int("n", "", parsed.root,
                                                        parsed.root->GetFirstElement(), context);
    ASSERT_NE(stop, nullptr);
    EXPECT_EQ(stop->GetLocalName(), "m");
    ASSERT_EQ(col->GetCount(), 2);
    EXPECT_EQ(col->Item(1)->GetText(), "2");
    EXPECT_EQ(col->Item(0)->GetNamespaceRestriction(), "##any");
    EXPECT_EQ(col->FromXmlLockElementName_Int("n", "urn:other", parsed.root, stop, context), stop);
}

TEST(ElementCol, WritingChecksTheCountBounds) {
    CSmartPtr<CElementCol> col(new CElementCol("urn:a", "##any", "", 1, 2));
    TestSupport::RecordingWriter writer;
    CSerializationContext context;
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] { Bridge::WriteObject(col.get(), &writer, false, "", context, false); },
        "The Minimum number of [] elements allowed in this collection is 1"));
    col->Add("a");
    col->Add("b");
    col->Add("c");
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] { Bridge::WriteObject(col.get(), &writer, false, "", context, false); },
        "The Maximum number of [] elements allowed in this collection is 2"));
    EXPECT_TRUE(writer.Lines().empty());
    context.SetIgnoreInvalidCollectionCounts(true);
    Bridge::WriteObject(col.get(), &writer, false, "", context, false);
    EXPECT_EQ(writer.Lines().size(), 9u);  // start, (empty) text, end per element

    CSmartPtr<CElementCol> clone = col->Clone();
    EXPECT_EQ(clone->GetCount(), 3);
    EXPECT_EQ(clone->GetMaxOccurs(), 2);
    EXPECT_NE(clone->Item(0), col->Item(0));
}

}  // namespace
