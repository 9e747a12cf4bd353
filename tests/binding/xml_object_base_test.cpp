// xml_object_base_test.cpp: reference counting, copies, the version check, and the helpers
// generated setters rely on (choices, null and name checks, namespace constraints, events).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "binding/binding_messages.h"
#include "support/expect_exception.h"
#include "support/test_node.h"
#include "support/test_table.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/switches.h"

using namespace Tessel16;
using Tessel16::test::CTestNode;
using Tessel16::test::ThrowsExactly;

TEST(XmlObjectBase, CopiesCountsAndTheSmartPointer) {
    CSmartPtr<CTestNode> a = CTestNode::Create("a");
    CSmartPtr<CTestNode> a2 = a;
    CSmartPtr<CTestNode> b = CTestNode::Create("b");
    EXPECT_EQ(a->RefCount(), 2);
    CSmartPtr<CTestNode> copy(new CTestNode(*a));
    EXPECT_EQ(copy->RefCount(), 1);  // only the smart pointer holds it
    EXPECT_EQ(copy->Name(), "a");
    *b = *a;
    EXPECT_EQ(b->Name(), "a");
    EXPECT_EQ(a->RefCount(), 2);
    EXPECT_EQ(b->RefCount(), 1);

    // The smart pointer converts to a base, survives self-assignment and moves.
    a2 = nullptr;
    CSmartPtr<CXmlObjectBase> base = a;
    EXPECT_EQ(a->RefCount(), 2);
    a = a;
    EXPECT_EQ(a->RefCount(), 2);
    CSmartPtr<CTestNode> moved = std::move(a);
    EXPECT_TRUE(a == nullptr);
    EXPECT_EQ(moved->RefCount(), 2);
}

TEST(XmlObjectBase, WrongGeneratorVersionStopsEveryEntryPoint) {
    CSmartPtr<CTestNode> n = CTestNode::Create("r");
    const CSerializationContext& ctx = CSerializationContext::GetDefaultContext();
    Register(0, 0);
    const std::string expected = "Wrong Version (Corvid Runtime: v16.1, Generator: v0.0)";
    auto expectWrongVersion = [&](auto call) {
        EXPECT_TRUE(ThrowsExactly<CTsException>(call, expected));
    };
    expectWrongVersion([&] { n->ToXml(true, false, EOLType_LF, ctx); });
    expectWrongVersion([&] {
        n->ToXmlStream(true, false, XmlEncoding_UTF8, EOLType_LF, ctx, CompressionType_None);
    });
    for (bool direct : {true, false}) {
        AsyncToXmlFile(direct);
        expectWrongVersion([&] {
            n->ToXmlFile(test::TempPath("never.xml").c_str(), true, false, XmlEncoding_UTF8,
                         EOLType_LF, ctx, CompressionType_None);
        });
    }
    expectWrongVersion([&] { n->FromXml("<r/>", ctx); });
    // The compression test of the file methods comes before the version check.
    EXPECT_TRUE(ThrowsExactly<CTsException>(
        [&] {
            n->ToXmlFile("x.xml", true, false, XmlEncoding_UTF8, EOLType_LF, ctx,
                         CompressionType_ZLib);
        },
        detail::kMsgZlibFileCompression));
    Register(16, 1);
    EXPECT_EQ(n->ToXml(false, false, EOLType_LF, ctx), "<r/>");
}

TEST(XmlObjectBase, ChoiceHelpersNullAndNameChecksAndNamespaceConstraints) {
    CSmartPtr<CTestNode> host = CTestNode::Create("h");
    CSmartPtr<CTestNode> v = CTestNode::Create("item");
    std::string current = "A";
    const auto alreadySet = [](const std::string& member) {
        return "The Property [" + member +
               "] is already set. Only one element within this class bay be set at a time";
    };
    EXPECT_TRUE(ThrowsExactly<CTsInvalidStateException>(
        [&] { host->Choice_SelectElement("B", v.get(), current); }, alreadySet("A")));
    host->Choice_SelectElement("B", nullptr, current);
    EXPECT_EQ(current, "A");
    host->Choice_SelectElement("A", v.get(), current);
    EXPECT_EQ(current, "A");
    host->Choice_SelectElement("A", nullptr, current);
    EXPECT_EQ(current, "");
    host->Choice_SelectElement("B", nullptr, current);  // nothing selected: selects anyway
    EXPECT_EQ(current, "B");

    current = "";
    host->Choice_SetElementValid(true, "A", current);
    EXPECT_EQ(current, "A");
    EXPECT_TRUE(ThrowsExactly<CTsInvalidStateException>(
        [&] { host->Choice_SetElementValid(true, "B", current); },
        "The Property A is already set. Only one element within this class bay be set at a time"));
    host->Choice_SetElementValid(false, "B", current);  // clearing any member clears
    EXPECT_EQ(current, "");

    // A collection member selects itself while it holds items; another one may not fill up.
    const struct {
        const char* member;
        int count;
        const char* selected;
        bool refused;
    } changes[] = {{"C", 0, "", false}, {"C", 2, "C", false}, {"D", 0, "C", false},
                   {"D", 1, "C", true}, {"C", 1, "C", false}, {"C", 0, "", false}};
    for (const auto& c : changes) {
        const auto change = [&] { host->Choice_CollectionChanged(c.member, c.count, current); };
        if (c.refused) {
            EXPECT_TRUE(ThrowsExactly<CTsInvalidStateException>(change, alreadySet("C")));
        } else {
            change();
        }
        EXPECT_EQ(current, c.selected) << c.member << c.count;
    }

    EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>(
        [&] { host->Throw_IfPropertyIsNull(nullptr, "Customer"); },
        "The Property [Customer] is mandatory, it may node be NULL"));
    host->Throw_IfPropertyIsNull(v.get(), "Customer");
    host->Throw_IfElementNameDiffers(v.get(), "item");
    host->Throw_IfElementNameDiffers(nullptr, "other");
    EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>(
        [&] { host->Throw_IfElementNameDiffers(v.get(), "other"); },
        "This property requires an element with the name other the element being set has the "
        "element name item"));

    // The namespace constraints of namespace_constraints.txt.
    for (const test::TableRow& c : test::ReadTable("binding/namespace_constraints.txt")) {
        SCOPED_TRACE("namespace_constraints.txt line " + std::to_string(c.line));
        const char* ns = c[0].c_str();
        const char* allowed = c[1].c_str();
        const char* target = c[2].c_str();
        EXPECT_EQ(host->IsNamespaceValid(ns, allowed, target), c[3] == "yes");
        const auto call = [&] { host->TestNamespace(ns, allowed, target); };
        if (c[3] == "yes") {
            EXPECT_NO_THROW(call());
        } else {
            EXPECT_TRUE(ThrowsExactly<CTsInvalidNamespaceException>(
                call, FormatString(detail::kMsgInvalidNamespace, ns, allowed, target)));
        }
    }
}

// The notice looks at the version only on the first construction in the process, so each
// case runs in a fresh copy of this program (a death test re-executes it) and reports on
// stderr, which the expected pattern matches whole.
TEST(XmlObjectBaseDeathTest, OnlyTheFirstConstructionLooksAtTheVersion) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string notice =
        "Version Mismatch Error: Please ensure your generated code is "
        "the same version as this library \\(Corvid Runtime: v16\\.1, "
        "Generator: v0\\.0\\)\\.";
    // Wrong at the first construction: one notice, however many objects follow.
    EXPECT_EXIT(
        {
            Register(0, 0);
            CSmartPtr<CTestNode> a = CTestNode::Create("a");
            CSmartPtr<CTestNode> b = CTestNode::Create("b");
            std::exit(b->Name() == "b" ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "^" + notice + "\n$");
    // Right at the first construction: a later mismatch is left to the entry points.
    EXPECT_EXIT(
        {
            CSmartPtr<CTestNode> a = CTestNode::Create("a");
            Register(0, 0);
            CSmartPtr<CTestNode> b = CTestNode::Create("b");
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "^$");
}
