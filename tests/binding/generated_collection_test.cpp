// generated_collection_test.cpp: the object collection base: insertion and removal with their
// events, index messages and ownership through the reference count.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "binding/engine_messages.h"
#include "support/engine_bindings.h"
#include "support/expect_exception.h"
#include "support/test_node.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_collection.h"
#include "tessel16/xml_document.h"

using namespace Tessel16;
using Tessel16::test::CTestNode;
using Tessel16::test::ThrowsExactly;

namespace {

// An item whose destruction shows in CTestNode::LiveCount().
CSmartPtr<CTestNode> Node() { return CTestNode::Create("item"); }

class ItemCol : public CXmlCollection {
public:
    ItemCol() : CXmlCollection("item", "urn:t", 0, -1) {}
    CXmlObjectBase* GetBase() override { return this; }
    using CXmlCollection::AddAfterItem;
    using CXmlCollection::AddBeforeItem;
    using CXmlCollection::AddItemAt;
    using CXmlCollection::AppendItem;
    using CXmlCollection::GetHead;
    using CXmlCollection::GetNodeAtIndex;
    using CXmlCollection::GetTail;
    using CXmlCollection::PrependItem;

    CXmlObjectBase* At(int index) const { return GetNodeAtIndex(index)->GetItem(); }

protected:
    void ToXml_Int(CXmlWriter*, bool, const char*, const CSerializationContext&,
                   bool) const override {}
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* child, const CSerializationContext&,
                             bool) override {
        return child;
    }
};

struct Recorder final : IEventSink {
    virtual ~Recorder() = default;
    std::vector<std::pair<int, const void*>> events;
    void OnEvent(CXmlObjectBase*, MsgType type, void* data) override {
        events.emplace_back(static_cast<int>(type), data);
    }
};

}  // namespace

TEST(XmlCollection, InsertionPositions) {
    CSmartPtr<ItemCol> col(new ItemCol);
    CSmartPtr<CTestNode> a = Node(), b = Node(), c = Node(), d = Node(), e = Node(), f = Node(),
                         g = Node();
    col->AppendItem(b.get());
    col->PrependItem(a.get());
    col->AddItemAt(2, d.get());            // index == count appends
    col->AddBeforeItem(d.get(), c.get());  // a b c d
    col->AddAfterItem(nullptr, e.get());   // null existing prepends: e a b c d
    col->AddBeforeItem(nullptr, f.get());  // null existing appends: e a b c d f
    col->AddAfterItem(a.get(), g.get());   // e a g b c d f
    ASSERT_EQ(col->GetCount(), 7);
    const CXmlObjectBase* expected[] = {e.get(), a.get(), g.get(), b.get(),
                                        c.get(), d.get(), f.get()};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(col->At(i), expected[i]) << i;
    EXPECT_EQ(col->GetTail()->GetItem(), f.get());
    EXPECT_EQ(col->GetHead()->GetNext()->GetPrevious(), col->GetHead());
}

TEST(XmlCollection, IndexErrorsAndTheMissingTargetNamespace) {
    CSmartPtr<ItemCol> col(new ItemCol);
    Recorder sink;
    col->AddEventListener(&sink);
    CSmartPtr<CTestNode> a = Node();
    for (int index : {1, -1}) {
        EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>([&] { col->AddItemAt(index, a.get()); },
                                                            detail::kMsgIndexOutOfRange));
    }
    EXPECT_TRUE(sink.events.empty()) << "the index is checked before any event";
    EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>([&] { col->Remove(0); },
                                                        "Index 0 is out of range, use 0 - -1"));
    col->AppendItem(a.get());
    EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>([&] { col->GetNodeAtIndex(1); },
                                                        "Index 1 is out of range, use 0 - 0"));
    col->RemoveEventListener(&sink);
    EXPECT_TRUE(ThrowsExactly<CTsException>([&] { col->GetTargetNamespace(); },
                                            detail::kMsgCollectionTargetNamespace));
}

// Add, add-complete and change carry the item; remove and remove-complete carry nothing. A
// listener added twice hears twice and goes with one removal.
TEST(XmlCollection, EventsOfAppendAndRemoveAndTheItemsRelease) {
    const int before = CTestNode::LiveCount();
    CSmartPtr<ItemCol> col(new ItemCol);
    Recorder sink, other;
    col->AddEventListener(&sink);
    col->AddEventListener(&other);
    col->AddEventListener(&sink);
    CSmartPtr<CTestNode> item = Node();
    col->AppendItem(item.get());
    const void* added = item.get();
    using Events = std::vector<std::pair<int, const void*>>;
    EXPECT_EQ(other.events, (Events{{1, added}, {2, added}, {0, nullptr}}));
    EXPECT_EQ(sink.events.size(), 6u);
    EXPECT_EQ(col->GetHead(), col->GetTail());
    col->AppendItem(Node().get());
    col->RemoveEventListener(&sink);
    other.events.clear();
    col->Remove(1);
    EXPECT_EQ(CTestNode::LiveCount(), before + 1);
    EXPECT_EQ(other.events, (Events{{3, nullptr}, {4, nullptr}, {0, nullptr}}));
    EXPECT_EQ(sink.events.size(), 12u);  // the two appends, each heard twice
    item = nullptr;
    col->Clear();
    EXPECT_EQ(CTestNode::LiveCount(), before);
    EXPECT_EQ(col->GetCount(), 0);
    EXPECT_EQ(col->GetHead(), nullptr);
    EXPECT_EQ(col->GetTail(), nullptr);
    col->RemoveEventListener(&other);
}

namespace {

class ChoiceReader : public EngineTest::CChild {
public:
    using CXmlObjectBase::Choice_Read_Collection;
};

}  // namespace

TEST(XmlCollection, ChoiceReadCollectionReadsOnceAndChecksTheCount) {
    CXmlDocument document;
    document.LoadXml("<r xmlns=\"urn:t\"><a>1</a><a>2</a><b/></r>");
    CXmlElement* root = document.GetDocumentElement();
    CSmartPtr<ChoiceReader> reader(new ChoiceReader);
    CSerializationContext context;

    CSmartPtr<CstringCol> col(EngineTest::NewStringCol("a", 1, 5));
    CXmlElement* cursor = root->GetFirstElement();
    std::int32_t count = 0;
    reader->Choice_Read_Collection(col.get(), root, cursor, count, context);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(cursor->GetLocalName(), "b");
    reader->Choice_Read_Collection(col.get(), root, cursor, count, context);
    EXPECT_EQ(col->GetCount(), 2) << "a second call reads nothing once a member was read";

    CSmartPtr<CstringCol> other(EngineTest::NewStringCol("x", 1, 5));
    count = 0;
    CXmlElement* start = root->GetFirstElement();
    cursor = start;
    reader->Choice_Read_Collection(other.get(), root, cursor, count, context);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(cursor, start);

    CSmartPtr<CstringCol> small(EngineTest::NewStringCol("a", 0, 1));
    cursor = root->GetFirstElement();
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] { reader->Choice_Read_Collection(small.get(), root, cursor, count, context); },
        "The Maximum number of [a] elements allowed in this collection is 1"));
}
