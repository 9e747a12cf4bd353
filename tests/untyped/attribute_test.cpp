// Untyped attributes: the namespace rules of the collection on adding and reading, how the
// collection namespace is chosen, writing as plain text, cloning and copying. The extra root
// attributes of the serialization context are in untyped_binding_test.
#include "tessel16/attribute.h"

#include <gtest/gtest.h>

#include <string>

#include "binding/binding_messages.h"
#include "metadata/object_bridge.h"
#include "support/expect_exception.h"
#include "support/parsed_xml.h"
#include "support/recording_writer.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_document.h"
#include "untyped/untyped_messages.h"

namespace {

using namespace Tessel16;
using Tessel16::test::ThrowsExactly;
using Parsed = Tessel16::test::ParsedXml;
namespace M = Tessel16::detail::UntypedMessages;

const char* const kBadNamespace = detail::kMsgInvalidNamespace;

CSmartPtr<CAttributeCol> MakeCol(const char* ns, const char* restriction, const char* target) {
    return CSmartPtr<CAttributeCol>(new CAttributeCol(ns, restriction, target));
}

TEST(AttributeCol, CollectionNamespaceComesFromTheFirstUriOfTheRestrictionAndClones) {
    // Empty namespace and a URI list: attributes added without a namespace take the first URI.
    auto listed = MakeCol("", "urn:a urn:b", "urn:t");
    EXPECT_EQ(listed->GetNamespace(), "urn:a");
    EXPECT_EQ(listed->GetTargetNamespace(), "urn:a");
    EXPECT_EQ(listed->Add("x", "1")->GetNamespace(), "urn:a");
    EXPECT_EQ(listed->Add("y")->GetValue(), "");

    // A clone is deep, a copy shares the items.
    CSmartPtr<CAttributeCol> clone = listed->Clone();
    ASSERT_EQ(clone->GetCount(), 2);
    EXPECT_NE(clone->Item(0), listed->Item(0));
    EXPECT_EQ(clone->GetNamespace(), "urn:a");
    EXPECT_EQ(clone->GetNamespaceRestriction(), "urn:a urn:b");
    EXPECT_EQ(clone->GetRestrictionTargetNamespace(), "urn:t");
    clone->Item(0)->SetValue("changed");
    EXPECT_EQ(listed->Item(0)->GetValue(), "1");

    CSmartPtr<CAttributeCol> copy(new CAttributeCol(*listed));
    EXPECT_EQ(copy->Item(0), listed->Item(0));

    CSmartPtr<CAttribute> single = listed->Item(0)->Clone();
    EXPECT_EQ(single->GetName(), "x");
    EXPECT_EQ(single->GetNamespace(), "urn:a");
    EXPECT_EQ(single->GetTargetNamespace(), "urn:a");

    // A keyword first leaves the namespace empty; a given namespace always wins.
    EXPECT_EQ(MakeCol("", "##other urn:a", "urn:t")->GetNamespace(), "");
    EXPECT_EQ(MakeCol("urn:own", "urn:a", "urn:t")->GetNamespace(), "urn:own");
    // A one-character token is not taken for a URI.
    EXPECT_EQ(MakeCol("", "u", "")->GetNamespace(), "");

    // The two-argument Add is checked like the others.
    auto other = MakeCol("urn:t", "##other", "urn:t");
    EXPECT_TRUE(ThrowsExactly<CTsInvalidNamespaceException>(
        [&] { other->Add("x", "1"); }, FormatString(kBadNamespace, "urn:t", "##other", "urn:t")));
}

TEST(AttributeCol, AddingAnObjectSkipsTheTestAndInsertingKeepsTheOrder) {
    auto col = MakeCol("", "##other", "urn:t");
    auto any = MakeCol("", "##any", "");
    CAttribute* foreign = any->Add("n", "5", "urn:t");
    EXPECT_EQ(col->Add(foreign), foreign);
    EXPECT_EQ(col->Item(0), foreign);

    TestSupport::RecordingWriter writer;
    writer.StartElement("root", "");
    CSerializationContext context;
    detail::ObjectBridge::WriteObject(col.get(), &writer, false, "urn:ignored", context, false);
    // Item type 23 (string) whatever the text looks like.
    EXPECT_EQ(writer.Lines().at(1), "attr urn:t:n=5 (23)");

    // Insertion next to existing items, and the iterator.
    col = MakeCol("", "##any", "");
    CAttribute* a = col->Add("a", "1", "");
    CAttribute* c = col->Add("c", "3", "");
    auto holder = MakeCol("", "##any", "");
    CAttribute* b = holder->Add("b", "2", "");
    CAttribute* z = holder->Add("z", "0", "");
    col->AddAfter(a, b);
    col->AddBefore(a, z);
    std::string names;
    for (CAttribute* attribute : *col) names += attribute->GetName();
    EXPECT_EQ(names, "zabc");
    EXPECT_EQ(col->Item(3), c);

    auto it = col->end();
    EXPECT_TRUE(ThrowsExactly<CTsException>([&] { ++it; }, detail::kMsgNoMoreElements));
    EXPECT_TRUE(ThrowsExactly<CTsException>([&] { (void)*it; }, detail::kMsgNoMoreElements));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>([&] { col->Item(4); },
                                                        "Index 4 is out of range, use 0 - 3"));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>(
        [&] { col->Add(static_cast<CAttribute*>(nullptr)); }, M::kNoAttributeToAdd));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>(
        [&] { col->AddAfter(a, static_cast<CAttribute*>(nullptr)); }, M::kNoAttributeToAdd));
    EXPECT_EQ(col->GetCount(), 4);
}

TEST(AttributeCol, ReadingAnInadmissibleAttributeFailsWithThePath) {
    Parsed parsed(R"(<r xmlns="urn:t" xmlns:t="urn:t"><s t:bad="1"/></r>)");
    auto col = MakeCol("", "##other", "urn:t");
    CSerializationContext context;
    CXmlElement* s = parsed.root->GetFirstElement();
    const auto e = test::Caught<CTsInvalidNamespaceException>(
        [&] { detail::ObjectBridge::ReadObject(col.get(), s, nullptr, context); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->GetPath(), "/r/s");
    EXPECT_EQ(e->GetMessage(), FormatString(M::kInvalidAttribute, "bad") + "\nPath: /r/s");
    // A single attribute is read only through its collection.
    EXPECT_TRUE(ThrowsExactly<CTsException>(
        [&] { detail::ObjectBridge::ReadObject(col->Add("a", "1", "urn:o"), s, nullptr, context); },
        M::kAttributeReadByCollection));
}

}  // namespace
