// Untyped content a million levels deep: every operation that walks a subtree (reading by
// each entry point, writing, cloning, re-checking namespaces, destruction), and the parsed
// tree it is read from with its paths, must finish on the default thread stack.
#include <gtest/gtest.h>

#include <string>

#include "metadata/object_bridge.h"
#include "support/untyped_binding.h"
#include "tessel16/element.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_document.h"

namespace {

using namespace Tessel16;

// A million levels in the optimised build; a tenth of that under the sanitizers, whose
// unoptimised build would take minutes over the same work. The walks keep no per-level
// machine stack, so the depth only scales time and memory.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kDepth = 100000;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr int kDepth = 100000;
#else
constexpr int kDepth = 1000000;
#endif
#else
constexpr int kDepth = 1000000;
#endif

std::string Nested(int depth, const char* name = "e") {
    std::string open = std::string("<") + name + ">";
    std::string close = std::string("</") + name + ">";
    std::string xml;
    xml.reserve(static_cast<std::size_t>(depth) * (open.size() + close.size()) + 4);
    for (int i = 0; i < depth; ++i) xml += open;
    xml += "leaf";
    for (int i = 0; i < depth; ++i) xml += close;
    return xml;
}

// Follows the first child down, expecting `levels` levels ending in the text "leaf"; returns
// the innermost element.
const CElement* Innermost(const CElement* element, int levels) {
    int found = 1;
    while (element->GetChildElements()->GetCount() > 0) {
        element = element->GetChildElements()->Item(0);
        ++found;
    }
    EXPECT_EQ(found, levels);
    EXPECT_EQ(element->GetText(), "leaf");
    return element;
}

TEST(DeepUntypedContent, ReadWriteCopyCloneAndDestroyWithoutRecursion) {
    const std::string xml = Nested(kDepth);
    CSerializationContext context;
    context.SetMaxDepth(kDepth + 1);
    CXmlDocument document(context);
    document.LoadXml(xml.c_str());
    const CXmlElement* deepest = document.GetDocumentElement();
    while (deepest->GetFirstElement()) deepest = deepest->GetFirstElement();
    EXPECT_EQ(deepest->GetXPath().size(), static_cast<std::size_t>(kDepth) * 2);  // "/e" a level

    CSmartPtr<CElement> element(new CElement("placeholder"));
    detail::ObjectBridge::ReadObject(element.get(), nullptr, document.GetDocumentElement(),
                                     context);
    const CElement* innermost = Innermost(element.get(), kDepth);

    EXPECT_EQ(element->ToXml(false, false, EOLType_LF, context), xml);

    element->SetNamespaceRestrictions("##local", "");
    EXPECT_EQ(innermost->GetNamespaceRestriction(), "##local");

    CSmartPtr<CElement> copy = element->Clone();
    element = nullptr;  // the original goes first; the clone must not share its subtree
    EXPECT_EQ(Innermost(copy.get(), kDepth)->GetNamespaceRestriction(), "##local");
    copy = nullptr;

    // The copy of a parsed tree that FromXml reads from.
    CSerializationContext& defaults = CSerializationContext::GetDefaultContext();
    const std::uint32_t saved = defaults.GetMaxDepth();
    defaults.SetMaxDepth(kDepth + 1);
    element = new CElement("placeholder");
    element->FromXml(xml.c_str());
    defaults.SetMaxDepth(saved);
    Innermost(element.get(), kDepth);
    element = nullptr;

    // The wildcard of <inner> takes the whole subtree below it.
    CSmartPtr<UntypedTest::Inner> inner(new UntypedTest::Inner());
    inner->FromXml(("<inner xmlns='urn:env'>" + Nested(kDepth - 1) + "</inner>").c_str(), context);
    Innermost(inner->GetAny(), kDepth - 1);

    // Read without namespace processing, every level carries its own xmlns and is written as
    // a fragment of its own inside its parent's.
    const int depth = 500;
    std::string fragments;
    for (int i = 0; i < depth; ++i) fragments += "<e xmlns='urn:" + std::to_string(i % 3) + "'>";
    for (int i = 0; i < depth; ++i) fragments += "</e>";
    defaults.SetSchemaType(SchemaType_NoNamespaces);
    element = new CElement("placeholder");
    element->FromXml(fragments.c_str());
    defaults.SetSchemaType(SchemaType_Default);
    const std::string written = element->ToXml(false, false, EOLType_LF, CSerializationContext());
    CXmlDocument reread;
    reread.LoadXml(written.c_str());
    const CXmlElement* node = reread.GetDocumentElement();
    int levels = 1;
    for (; node->GetFirstElement(); node = node->GetFirstElement()) ++levels;
    EXPECT_EQ(levels, depth);
    EXPECT_EQ(node->GetNamespaceURI(), "urn:" + std::to_string((depth - 1) % 3));
}

}  // namespace
