// element_info_test.cpp: the shared operations of the element and attribute records that the
// engine tests do not reach directly: name and namespace matching, the wildcard default
// namespace, the namespace-constraint test, and the wrapping of accessor failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "metadata/metadata_messages.h"
#include "support/engine_bindings.h"
#include "support/expect_exception.h"
#include "support/recording_writer.h"
#include "support/test_table.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_document.h"

using namespace Tessel16;
using namespace Tessel16Data;
using Tessel16::test::ThrowsExactly;

namespace {

class ElementProbe : public CElementInfoSeqEnumMnd {
public:
    ElementProbe()
        : CElementInfoSeqEnumMnd("e", "urn:t", 0, false, EngineTest::ColorToString,
                                 EngineTest::ColorFromString, nullptr) {}
};

class AttributeProbe : public CAttributeInfoEnum {
public:
    AttributeProbe()
        : CAttributeInfoEnum("a", "urn:a", 0, false, EngineTest::ColorToString,
                             EngineTest::ColorFromString, nullptr) {}
    using CAttributeInfo::IsNamespaceValid;
};

}  // namespace

TEST(ElementInfo, AnyDefaultNamespace) {
    for (const test::TableRow& c : test::ReadTable("metadata/any_default_namespace.txt")) {
        EXPECT_EQ(CElementInfo::GetAnyDefaultNamespace(c[1].c_str(), c[0].c_str(), "urn:tns"), c[2])
            << "any_default_namespace.txt line " << c.line;
    }
}

TEST(ElementInfo, BaseValidateAndRestrictionWithoutPrimitiveInfo) {
    ElementProbe probe;
    CSmartPtr<EngineTest::CItem> object(new EngineTest::CItem);
    EXPECT_TRUE(ThrowsExactly<CTsException>(
        [&] { probe.Validate(CSerializationContext(), object.get(), true, true); },
        detail::kMsgNotImplemented));
    TsVariant value;
    value.SetI4(1);
    EXPECT_TRUE(ThrowsExactly<CTsException>([&] { probe.CheckRestriction(value); },
                                            "Cannot CheckRestriction for type: i4"));
}

TEST(ElementInfo, AccessorFailureOnReadIsWrappedWithTheName) {
    CSmartPtr<EngineTest::Bag> object(new EngineTest::Bag);
    CElementInfoSeqPrimOpt record("far", "urn:t", 99, false, ItemType_string, nullptr,
                                  CWhitespaceUtils::WhitespaceRule_Preserve,
                                  CPrimitiveRestrictions(), nullptr);
    TestSupport::RecordingWriter writer;
    const auto e = test::Caught<CTsValidationException>(
        [&] { record.ElementToXml(CSerializationContext(), object.get(), &writer); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->GetMessage(), "Failed to get the property value for [far].");
    ASSERT_NE(e->GetInnerException(), nullptr);
    EXPECT_EQ(e->GetInnerException()->GetMessage(), "no such property");
}

TEST(AttributeInfo, NamespaceConstraints) {
    // The attribute records keep their own copy of the rule; it must agree with the object's.
    for (const test::TableRow& c : test::ReadTable("binding/namespace_constraints.txt")) {
        EXPECT_EQ(AttributeProbe::IsNamespaceValid(c[0], c[1], c[2]), c[3] == "yes")
            << "namespace_constraints.txt line " << c.line;
    }
}

TEST(AttributeInfo, EnumMatchesByLocalNameWhenNamespacesAreIgnoredPrimitiveDoesNot) {
    CXmlDocument document;
    document.LoadXml("<r xmlns:o=\"urn:o\" o:a=\"blue\"/>");
    CXmlAttribute* attribute = document.GetDocumentElement()->GetAttributes().back();
    CSmartPtr<EngineTest::CItem> object(new EngineTest::CItem);  // 0: count, 1: note
    CSerializationContext loose;
    loose.SetIgnoreNamespaces(true);

    AttributeProbe enumRecord;  // property 0
    EXPECT_FALSE(enumRecord.AttributeFromXml(CSerializationContext(), object.get(), attribute));
    EXPECT_TRUE(enumRecord.AttributeFromXml(loose, object.get(), attribute));
    EXPECT_EQ(object->GetCount_(), EngineTest::Color_blue);

    CAttributeInfoPrimitive primitive("a", "urn:a", 1, false, ItemType_string, nullptr,
                                      CWhitespaceUtils::WhitespaceRule_Preserve,
                                      CPrimitiveRestrictions(), nullptr);
    EXPECT_FALSE(primitive.AttributeFromXml(loose, object.get(), attribute));
}

// A missing required attribute is refused in tests/binding (GeneratedRecords).
TEST(AttributeInfo, StoreFailureIsWrappedWithThePath) {
    CAttributeInfoPrimitive required("n", "", 0, false, ItemType_i4, nullptr,
                                     CWhitespaceUtils::WhitespaceRule_Collapse,
                                     CPrimitiveRestrictions(), nullptr);
    CXmlDocument document;
    document.LoadXml("<r n=\"12\"/>");
    CXmlAttribute* attribute = document.GetDocumentElement()->GetAttributes().front();
    CSmartPtr<EngineTest::Twisted<EngineTest::CItem>> object(
        new EngineTest::Twisted<EngineTest::CItem>);
    object->rejectOn = 0;
    const auto e = test::Caught<CTsValidationException>(
        [&] { required.AttributeFromXml(CSerializationContext(), object.get(), attribute); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->GetPath(), "/r/@n");
    EXPECT_EQ(e->GetMessage(), "Failed to set the property value [12].\nPath: /r/@n");
    ASSERT_NE(e->GetInnerException(), nullptr);
    EXPECT_EQ(e->GetInnerException()->GetMessage(), "value refused");
}

TEST(ElementInfo, PseudoCollectionLendsItsItemsAttributesToTheParent) {
    const int kKid = 2;  // property index of CHolder's kids
    CSmartPtr<EngineTest::CHolder> holder(new EngineTest::CHolder);
    for (const char* code : {"x", "y"}) holder->GetKid()->Add()->SetCode(code);
    TestSupport::RecordingWriter writer;
    CElementInfoSeqClsCol inlined("kid", "urn:t", kKid, XmlElementType_Pseudo);
    inlined.PseudoChildAttributeToXml(CSerializationContext(), holder.get(), &writer);
    const std::vector<std::string> expected = {"attr code=x (23)", "attr code=y (23)"};
    EXPECT_EQ(writer.Lines(), expected);

    CElementInfoSeqClsCol own("kid", "urn:t", kKid, XmlElementType_Element);
    writer.Clear();
    own.PseudoChildAttributeToXml(CSerializationContext(), holder.get(), &writer);
    EXPECT_TRUE(writer.Lines().empty());
}

TEST(ElementInfo, SequenceCollectionCountInPseudoModeReportsInsteadOfFailing) {
    CXmlDocument document;
    document.LoadXml("<r xmlns=\"urn:t\"><tag>1</tag><tag>2</tag><tag>3</tag></r>");
    CXmlElement* root = document.GetDocumentElement();
    const int kTag = 3;  // property index of CHolder's tags, at most 2
    CSmartPtr<EngineTest::CHolder> holder(new EngineTest::CHolder);
    CElementInfoSeqPrimCol tags("tag", "urn:t", kTag);
    CXmlElement* cursor = root->GetFirstElement();
    EXPECT_FALSE(tags.ElementFromXml(CSerializationContext(), holder.get(), root, &cursor, "urn:t",
                                     XmlElementType_Pseudo));
    EXPECT_EQ(cursor, nullptr);
    holder->GetTag()->Clear();
    cursor = root->GetFirstElement();
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] {
            tags.ElementFromXml(CSerializationContext(), holder.get(), root, &cursor, "urn:t",
                                XmlElementType_Element);
        },
        "The Maximum number of [tag] elements allowed in this collection is 2"));
}
