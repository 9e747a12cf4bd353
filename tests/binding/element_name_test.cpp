// element_name_test.cpp: objects share interned element names, and own a copy once the
// process-wide table is full. Names must follow the text, not the pointer they came from.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "po/po_binding.h"
#include "support/test_node.h"

using namespace Tessel16;
using Tessel16::test::CTestNode;

TEST(ElementName, FollowsTheTextOfAReusedBufferAndOwnsNamesPastTheTable) {
    CSmartPtr<CTestNode> first = CTestNode::Create("x");
    CSmartPtr<CTestNode> second = CTestNode::Create("x");
    char buffer[] = "alpha";
    first->SetElementName(buffer);
    std::strcpy(buffer, "omega");
    second->SetElementName(buffer);
    EXPECT_EQ(first->Name(), "alpha");
    EXPECT_EQ(second->Name(), "omega");
    first->SetElementName(nullptr);
    EXPECT_EQ(first->Name(), "");

    // Far more distinct names than the table takes: the later objects own their names, and
    // copies and assignments of them stay valid after the original is gone.
    std::vector<CSmartPtr<CTestNode>> nodes;
    for (int i = 0; i < 6000; ++i) nodes.push_back(CTestNode::Create("flood" + std::to_string(i)));
    for (int i = 0; i < 6000; ++i) ASSERT_EQ(nodes[i]->Name(), "flood" + std::to_string(i));

    CSmartPtr<CTestNode> copy(new CTestNode(*nodes.back()));
    CSmartPtr<CTestNode> assigned = CTestNode::Create("short");
    *assigned = *nodes[5998];
    nodes.clear();
    EXPECT_EQ(copy->Name(), "flood5999");
    EXPECT_EQ(assigned->Name(), "flood5998");
    *assigned = *assigned;
    *copy = *assigned;
    EXPECT_EQ(copy->Name(), "flood5998");
}

namespace {

// A generated class (its count is atomic, unlike the test node's instance count) with its
// name in reach.
struct NamedLine : Po::CLine {
    using CXmlObjectBase::GetElementName;
    using Po::CLine::CLine;
};

}  // namespace

TEST(ElementName, ThreadsNameObjectsAtOnce) {
    std::vector<std::thread> threads;
    std::vector<int> wrong(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &wrong] {
            for (int i = 0; i < 200; ++i) {
                const std::string name = "shared" + std::to_string((i + t) % 16);
                CSmartPtr<NamedLine> line(new NamedLine(name.c_str()));
                if (line->GetElementName() != name) ++wrong[t];
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
}
