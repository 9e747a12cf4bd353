// untyped_records_test.cpp: the records of untyped and wildcard members, driven with stand-ins
// for the untyped element and its collections (objects that read themselves from the cursor),
// so that what the record decides (which elements it offers, what absence means) is tested
// apart from the untyped content itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "metadata/metadata_messages.h"
#include "support/engine_bindings.h"
#include "support/expect_exception.h"
#include "support/recording_writer.h"
#include "support/test_node.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_writer.h"

using namespace Tessel16;
using namespace Tessel16Data;
using Tessel16::test::ThrowsExactly;

namespace {

// Reads the element at the cursor unless told to refuse, like an untyped element whose
// namespace restriction does not admit it.
class FakeElement : public Tessel16::test::CTestNode {
public:
    FakeElement() : CTestNode("fake", "") {}
    std::vector<std::string> taken;
    bool refuse = false;

protected:
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* cursor, const CSerializationContext&,
                             bool) override {
        if (!cursor || refuse) return cursor;
        taken.push_back(cursor->GetLocalName());
        return cursor->GetNextSiblingElement();
    }
};

// Takes elements up to one named "stop"; writes one attribute per item taken.
class FakeCollection : public CXmlCollectionBase {
public:
    FakeCollection(int minOccurs, int maxOccurs)
        : CXmlCollectionBase("any", "urn:t", minOccurs, maxOccurs) {}
    CXmlObjectBase* GetBase() override { return this; }
    int GetCount() const override { return static_cast<int>(taken.size()); }
    void Clear() override { taken.clear(); }
    void Remove(int) override {}
    std::vector<std::string> taken;

protected:
    void ToXml_Int(CXmlWriter* writer, bool, const char* namespaceUri, const CSerializationContext&,
                   bool) const override {
        for (const std::string& name : taken)
            writer->AddAttribute(name, namespaceUri, "v", ItemType_string);
    }
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* cursor, const CSerializationContext&,
                             bool) override {
        while (cursor && cursor->GetLocalName() != "stop") {
            taken.push_back(cursor->GetLocalName());
            cursor = cursor->GetNextSiblingElement();
        }
        return cursor;
    }
};

using Holder = EngineTest::Bag;
const CSerializationContext kDefault;

struct Fixture {
    CXmlDocument document;
    CXmlElement* root;
    CSmartPtr<Holder> holder{new Holder};
    CSmartPtr<FakeElement> element{new FakeElement};
    explicit Fixture(const char* xml) {
        document.LoadXml(xml);
        root = document.GetDocumentElement();
        holder->Member(0).SetXmlObject(element.get());
    }
    // Offers the elements from *cursor to `record`, read as a member of the kind given.
    bool Read(CElementInfo& record, CXmlElement** cursor, XmlElementType mode) {
        return record.ElementFromXml(kDefault, holder.get(), root, cursor, "urn:t", mode);
    }
};

}  // namespace

TEST(UntypedRecords, MandatoryNamedMemberFailures) {
    Fixture f("<r xmlns=\"urn:t\"><x/></r>");
    CElementInfoSeqUntpdMnd data("data", "urn:t", 0, "##any", "urn:t");
    CXmlElement* cursor = f.root->GetFirstElement();
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] { f.Read(data, &cursor, XmlElementType_Element); },
        "Failed to find the required element from namespace [urn:t].\nPath: /r"));
    EXPECT_FALSE(f.Read(data, &cursor, XmlElementType_Pseudo));
    EXPECT_EQ(cursor, f.root->GetFirstElement());
    cursor = nullptr;
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] { f.Read(data, &cursor, XmlElementType_Pseudo); },
        "Failed to find the required child element [data].\nPath: /r"));

    // A wildcard whose element refuses the namespace consumed nothing: the same failure.
    CElementInfoSeqUntpdMnd any("AnyElement", "urn:t", 0, "##other", "urn:t");
    f.element->refuse = true;
    cursor = f.root->GetFirstElement();
    EXPECT_THROW(f.Read(any, &cursor, XmlElementType_Element), CTsValidationException);
}

TEST(UntypedRecords, WildcardCollections) {
    Fixture f("<r xmlns=\"urn:t\"><a/><b/><stop/></r>");
    CSmartPtr<FakeCollection> collection(new FakeCollection(0, 1));
    f.holder->Member(0).SetXmlCollection(collection.get());
    CElementInfoSeqUntpdCol seq("AnyElement", "urn:t", 0);
    CXmlElement* cursor = f.root->GetFirstElement();
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] { f.Read(seq, &cursor, XmlElementType_Element); },
        "The Maximum number of [any] elements allowed in this collection is 1"));
    EXPECT_EQ(cursor->GetLocalName(), "stop");
    cursor = f.root->GetFirstElement();
    EXPECT_FALSE(f.Read(seq, &cursor, XmlElementType_Pseudo));

    CElementInfoChoiceUntpdCol choice("AnyElement", "urn:t", 0);
    CXmlElement* stop = f.root->GetFirstElement()->GetNextSiblingElement()->GetNextSiblingElement();
    cursor = stop;
    EXPECT_FALSE(f.Read(choice, &cursor, XmlElementType_Element))
        << "a choice collection that took nothing is not the chosen member";
    EXPECT_EQ(cursor, stop);
}

TEST(UntypedRecords, ChoiceWithUntypedOptionalMayStandEmpty) {
    class Probe : public EngineTest::ChoiceGroup {
    public:
        using CXmlGeneratedClass::DoesElementContainOptionalElements;
        Tessel16Data::CElementInfo** GetClassElementInfo() const override {
            static CElementInfo* records[] = {
                new CElementInfoChoiceUntpdOpt("AnyElement", "urn:t", 0, "##any", "urn:t"),
                nullptr};
            return records;
        }
    };
    CSmartPtr<Probe> probe(new Probe);
    EXPECT_TRUE(probe->DoesElementContainOptionalElements());
}

TEST(UntypedRecords, AnyAttributeFiltersByNamespaceAndNeedsAnAttributeCollection) {
    CXmlDocument document;
    document.LoadXml("<r xmlns:t=\"urn:t\" xmlns:o=\"urn:o\" t:a=\"1\" o:b=\"2\"/>");
    const std::vector<CXmlAttribute*>& attributes = document.GetDocumentElement()->GetAttributes();
    ASSERT_EQ(attributes.size(), 2u);
    CXmlAttribute* inTarget = attributes[0];
    CXmlAttribute* inOther = attributes[1];
    ASSERT_EQ(inOther->GetNamespaceURI(), "urn:o");
    const CAttributeInfoAny other("any", "", 0, true, nullptr, "##other", "urn:t");
    EXPECT_NO_THROW(other.Validate(kDefault, false));
    // A member that is some other collection, or none at all, is a fault of the binding; an
    // attribute the restriction refuses never reaches the member.
    CSmartPtr<FakeCollection> collection(new FakeCollection(0, -1));
    collection->taken = {"p", "q"};
    CSmartPtr<Holder> wrongKind(new Holder);
    wrongKind->Member(0).SetXmlCollection(collection.get());
    CSmartPtr<Holder> empty(new Holder);
    for (Holder* holder : {wrongKind.get(), empty.get()}) {
        CAttributeInfoAny record(other);
        EXPECT_FALSE(record.AttributeFromXml(kDefault, holder, inTarget));
        EXPECT_TRUE(
            ThrowsExactly<CTsException>([&] { record.AttributeFromXml(kDefault, holder, inOther); },
                                        detail::kMsgNotAttributeCollection));
    }
    // What the member holds is written under the object's target namespace.
    TestSupport::RecordingWriter writer;
    other.AttributeToXml(kDefault, wrongKind.get(), &writer);
    const std::vector<std::string> expected = {"attr urn:t:p=v (23)", "attr urn:t:q=v (23)"};
    EXPECT_EQ(writer.Lines(), expected);
}
