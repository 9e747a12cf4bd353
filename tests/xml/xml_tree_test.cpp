// xml_tree_test.cpp: the element tree as readers see it: text accumulation, names and
// namespaces, attribute lookup, paths with predicates and pruning through the callback. The
// documents of tests/data/xml/trees.txt are loaded and their trees compared whole.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/test_table.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_document.h"

using namespace Tessel16;

namespace {

template <class Node>
std::string Name(const Node* node) {
    const std::string& ns = node->GetNamespaceURI();
    return ns.empty() ? node->GetLocalName() : "{" + ns + "}" + node->GetLocalName();
}

// The tree as the rows of tests/data/xml/trees.txt write it.
std::string Dump(const CXmlElement* e) {
    std::string out = Name(e);
    for (const CXmlAttribute* a : e->GetAttributes()) {
        out += " @" + Name(a) + (a->IsNamespaceAttribute() ? "(ns)" : "") +
               (a->IsNilAttribute() ? "(nil)" : "") + "=" + a->GetValue();
    }
    if (!e->GetText().empty()) out += " \"" + e->GetText() + "\"";
    for (const CXmlElement* c = e->GetFirstElement(); c; c = c->GetNextSiblingElement())
        out += " [" + Dump(c) + "]";
    return out;
}

void Paths(const CXmlElement* e, std::string& out) {
    out += (out.empty() ? "" : " ") + e->GetXPath();
    for (const CXmlAttribute* a : e->GetAttributes()) out += " " + a->GetXPath();
    for (const CXmlElement* c = e->GetFirstElement(); c; c = c->GetNextSiblingElement())
        Paths(c, out);
}

}  // namespace

TEST(XmlTree, DocumentsGiveTheirTrees) {
    CSerializationContext noNamespaces;
    noNamespaces.SetSchemaType(static_cast<SchemaType>(2));
    for (const Tessel16::test::TableRow& row : Tessel16::test::ReadTable("xml/trees.txt")) {
        SCOPED_TRACE("trees.txt line " + std::to_string(row.line));
        std::unique_ptr<CXmlDocument> doc;
        if (row[0] == "callback")
            doc.reset(new CXmlDocument([](CXmlElement* e) { return e->GetLocalName() == "item"; }));
        else if (row[0] == "no-namespaces")
            doc.reset(new CXmlDocument(noNamespaces));
        else
            doc.reset(new CXmlDocument);
        doc->LoadXml(row[1].c_str());
        std::string paths;
        if (row[0] == "paths") Paths(doc->GetDocumentElement(), paths);
        EXPECT_EQ(row[0] == "paths" ? paths : Dump(doc->GetDocumentElement()), row[2]);
    }
}

TEST(XmlTree, CarriageReturnsAreDroppedFromRunsOfEveryLength) {
    // An entity's text arrives as one run; runs of different lengths are copied in
    // different ways, and a carriage return at either end or inside must go in each.
    for (std::size_t length = 2; length <= 40; ++length) {
        for (std::size_t at : {std::size_t{0}, length / 2, length - 1}) {
            std::string value(length, 'x'), expected;
            for (std::size_t i = 0; i < length; ++i) value[i] = static_cast<char>('a' + i % 26);
            expected = value;
            expected.erase(at, 1);
            std::string text = value.substr(0, at) + "&#13;" + value.substr(at + 1);
            CXmlDocument doc;
            doc.LoadXml(("<!DOCTYPE a [<!ENTITY e '" + text + "'>]><a>&e;</a>").c_str());
            EXPECT_EQ(doc.GetDocumentElement()->GetText(), expected) << length << " " << at;
        }
    }
}

TEST(XmlTree, AttributeLookupAndThePrefixMap) {
    CXmlDocument doc;
    doc.LoadXml("<a xmlns:x='urn:x' xmlns:y='urn:y' x:k='1' y:k='2' k='3'/>");
    const CXmlElement* a = doc.GetDocumentElement();
    EXPECT_EQ(a->GetAttribute("k", "urn:y"), "2");
    EXPECT_EQ(a->GetAttribute("k", "urn:x"), "1");
    EXPECT_EQ(a->GetAttribute("k", ""), "3");
    const std::string& missing = a->GetAttribute("k", "urn:z");
    EXPECT_EQ(missing, "");
    // The miss result is one shared string, not a temporary.
    EXPECT_EQ(&missing, &a->GetAttribute("other", ""));
    EXPECT_EQ(a->GetDocument(), &doc);

    // The prefix map keeps the last binding of each prefix until the next load.
    doc.LoadXml(
        "<root xmlns='urn:r'><a xmlns:p='urn:first'/><b xmlns:p='urn:second'/>"
        "<c xmlns=''/></root>");
    EXPECT_EQ(doc.LookupNamespaceFromAlias("p"), "urn:second");
    // The default namespace was undeclared last, which binds it to the empty URI.
    EXPECT_EQ(doc.LookupNamespaceFromAlias(""), "");
    EXPECT_EQ(doc.LookupNamespaceFromAlias("missing"), "");
    EXPECT_EQ(doc.LookupAliasFromNamespace("urn:second"), "p");
    EXPECT_EQ(doc.LookupAliasFromNamespace("urn:first"), "");
    EXPECT_EQ(doc.LookupAliasFromNamespace("urn:r"), "");
    // Reloading replaces the tree and the prefixes.
    doc.LoadXml("<c xmlns:q='urn:2'/>");
    EXPECT_EQ(Dump(doc.GetDocumentElement()), "c");
    EXPECT_EQ(doc.LookupNamespaceFromAlias("p"), "");
    EXPECT_EQ(doc.LookupNamespaceFromAlias("q"), "urn:2");
    // A failed load leaves no stale tree behind.
    EXPECT_THROW(doc.LoadXml("<broken>"), CTsException);
    EXPECT_EQ(doc.LookupNamespaceFromAlias("q"), "");
}

namespace {
std::vector<std::string> g_seenAtEnd;
// Records, at each element end, the text the element and its parent hold so far.
bool RecordTexts(CXmlElement* element) {
    const CXmlElement* parent = element->GetParentElm();
    g_seenAtEnd.push_back(element->GetLocalName() + "=" + element->GetText() + "|" +
                          (parent ? parent->GetText() : std::string("-")));
    return false;
}
}  // namespace

// Text still arriving for open elements is visible wherever the tree can be looked at while
// it is being built or after a failed load: in the element-end callback and in the partial
// tree a parse error leaves behind.
TEST(XmlTree, TextSoFarIsVisibleToCallbacksAndAfterErrors) {
    g_seenAtEnd.clear();
    {
        CXmlDocument doc(&RecordTexts);
        doc.LoadXml("<a>x<b>y<c>z</c>v</b>w</a>");
    }
    EXPECT_EQ(g_seenAtEnd, (std::vector<std::string>{"c=z|y", "b=yv|x", "a=xw|-"}));

    CXmlDocument doc;
    EXPECT_THROW(doc.LoadXml("<a>one<b>two<c>three</b></a>"), CTsException);
    CXmlElement* a = doc.GetDocumentElement();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(Dump(a), "a \"one\" [b \"two\" [c \"three\"]]");
}
