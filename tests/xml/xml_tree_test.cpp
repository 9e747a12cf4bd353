// xml_tree_test.cpp: the element tree as readers see it: text accumulation, names and
// namespaces, attribute lookup, paths with predicates and pruning through the callback.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_document.h"

using namespace Tessel16;

namespace {

std::vector<std::string> ChildNames(CXmlElement* element) {
    std::vector<std::string> names;
    for (CXmlElement* c = element->GetFirstElement(); c; c = c->GetNextSiblingElement())
        names.push_back(c->GetLocalName());
    return names;
}

CXmlElement* Child(CXmlElement* element, int index) {
    CXmlElement* c = element->GetFirstElement();
    while (c && index-- > 0) c = c->GetNextSiblingElement();
    return c;
}

}  // namespace

TEST(XmlTree, TextBeforeBetweenAndAfterChildrenIsConcatenated) {
    CXmlDocument doc;
    doc.LoadXml("<a>x<b/>y<c>z</c>w</a>");
    CXmlElement* a = doc.GetDocumentElement();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetText(), "xyw");
    EXPECT_EQ(Child(a, 0)->GetText(), "");
    EXPECT_EQ(Child(a, 1)->GetText(), "z");
    EXPECT_EQ(ChildNames(a), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(Child(a, 0)->GetParentElm(), a);
    EXPECT_EQ(a->GetParentElm(), nullptr);
    EXPECT_EQ(a->GetDocument(), &doc);
}

TEST(XmlTree, CarriageReturnsNeverReachTheText) {
    CXmlDocument doc;
    // A literal CR LF is normalised by the parser; &#13; arrives as a real CR and is dropped.
    doc.LoadXml("<a>one\r\ntwo&#13;three\rfour<![CDATA[five\r\n]]></a>");
    EXPECT_EQ(doc.GetDocumentElement()->GetText(), "one\ntwothree\nfourfive\n");
    // An entity's text keeps its references' carriage returns inside one run of characters,
    // with or without an element-end callback.
    const char* entity = "<!DOCTYPE a [<!ENTITY e 'x&#13;y&#xD;&#13;'>]><a>&e;z</a>";
    CXmlDocument withCallback([](CXmlElement*) { return false; });
    for (CXmlDocument* target : {&doc, &withCallback}) {
        target->LoadXml(entity);
        EXPECT_EQ(target->GetDocumentElement()->GetText(), "xyz");
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

TEST(XmlTree, NamesAreSplitIntoNamespaceAndLocalName) {
    CXmlDocument doc;
    doc.LoadXml(
        "<p:order xmlns:p='urn:po' xmlns='urn:default' p:id='7' plain='x'>"
        "<item/><p:item/><none xmlns=''/></p:order>");
    CXmlElement* order = doc.GetDocumentElement();
    EXPECT_EQ(order->GetLocalName(), "order");
    EXPECT_EQ(order->GetNamespaceURI(), "urn:po");
    EXPECT_EQ(Child(order, 0)->GetNamespaceURI(), "urn:default");
    EXPECT_EQ(Child(order, 1)->GetNamespaceURI(), "urn:po");
    EXPECT_EQ(Child(order, 2)->GetNamespaceURI(), "");
    ASSERT_EQ(order->GetAttributes().size(), 2u);  // xmlns declarations are not attributes
    EXPECT_EQ(order->GetAttributes()[0]->GetLocalName(), "id");
    EXPECT_EQ(order->GetAttributes()[0]->GetNamespaceURI(), "urn:po");
    EXPECT_EQ(order->GetAttributes()[1]->GetNamespaceURI(), "");
}

TEST(XmlTree, RepeatedShapesWithNamesThatDifferAtTheEndKeepEveryName) {
    // Each record's children are looked up against the names the previous record had in
    // the same places; a name that extends, shortens or changes namespace must not pass.
    CXmlDocument doc;
    doc.LoadXml(
        "<r xmlns:q='urn:q'><x><ab/><a/></x><x><a/><ab/></x><x><abc/><q:a/></x>"
        "<x><ab/><a/></x><y><ab/></y></r>");
    CXmlElement* r = doc.GetDocumentElement();
    const std::vector<std::vector<std::string>> expected = {
        {"ab", "a"}, {"a", "ab"}, {"abc", "a"}, {"ab", "a"}, {"ab"}};
    ASSERT_EQ(ChildNames(r), (std::vector<std::string>{"x", "x", "x", "x", "y"}));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(ChildNames(Child(r, i)), expected[i]) << i;
    EXPECT_EQ(Child(Child(r, 2), 1)->GetNamespaceURI(), "urn:q");
    EXPECT_EQ(Child(Child(r, 3), 1)->GetNamespaceURI(), "");
}

TEST(XmlTree, GetAttributeMatchesLocalNameAndNamespace) {
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
}

TEST(XmlTree, NamespaceAndNilAttributesAreRecognised) {
    const char* xsi = "http://www.w3.org/2001/XMLSchema-instance";
    CXmlDocument doc;
    doc.LoadXml(
        "<a xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' xsi:type='T' "
        "xsi:schemaLocation='u l' xsi:noNamespaceSchemaLocation='l' xsi:nil='true' "
        "type='plain' nil='plain' xsi:other='o'/>");
    struct {
        const char* local;
        const char* ns;
        bool isNamespace;
        bool isNil;
    } const kCases[] = {
        {"type", xsi, true, false},
        {"schemaLocation", xsi, true, false},
        {"noNamespaceSchemaLocation", xsi, true, false},
        {"nil", xsi, false, true},
        {"type", "", false, false},
        {"nil", "", false, false},
        {"other", xsi, false, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.ns) + "|" + c.local);
        const CXmlAttribute* found = nullptr;
        for (const CXmlAttribute* attr : doc.GetDocumentElement()->GetAttributes())
            if (attr->GetLocalName() == c.local && attr->GetNamespaceURI() == c.ns) found = attr;
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->IsNamespaceAttribute(), c.isNamespace);
        EXPECT_EQ(found->IsNilAttribute(), c.isNil);
    }
}

TEST(XmlTree, XmlnsAttributesWithoutNamespaceProcessingAreNamespaceAttributes) {
    CSerializationContext context;
    context.SetSchemaType(static_cast<SchemaType>(2));
    CXmlDocument doc(context);
    doc.LoadXml("<p:a xmlns:p='urn:x' p:b='1'/>");
    CXmlElement* a = doc.GetDocumentElement();
    EXPECT_EQ(a->GetLocalName(), "p:a");
    EXPECT_EQ(a->GetNamespaceURI(), "");
    ASSERT_EQ(a->GetAttributes().size(), 2u);
    EXPECT_EQ(a->GetAttributes()[0]->GetLocalName(), "xmlns:p");
    EXPECT_EQ(a->GetAttributes()[0]->GetValue(), "urn:x");
    EXPECT_EQ(a->GetAttributes()[1]->GetLocalName(), "p:b");
    EXPECT_EQ(doc.LookupNamespaceFromAlias("p"), "");
}

TEST(XmlTree, PathsCarryPredicatesOnlyForRepeatedNames) {
    CXmlDocument doc;
    doc.LoadXml(
        "<order xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance'>"
        "<item/><item xsi:type='T'><price/></item><note/><item/></order>");
    CXmlElement* order = doc.GetDocumentElement();
    EXPECT_EQ(order->GetXPath(), "/order");
    EXPECT_EQ(Child(order, 0)->GetXPath(), "/order/item[1]");
    CXmlElement* second = Child(order, 1);
    EXPECT_EQ(second->GetXPath(), "/order/item[2]");
    EXPECT_EQ(second->GetFirstElement()->GetXPath(), "/order/item[2]/price");
    EXPECT_EQ(Child(order, 2)->GetXPath(), "/order/note");
    EXPECT_EQ(Child(order, 3)->GetXPath(), "/order/item[3]");
    EXPECT_EQ(second->GetAttributes()[0]->GetXPath(), "/order/item[2]/@xsi:type");
}

TEST(XmlTree, PathsUseDocumentWidePrefixes) {
    CXmlDocument doc;
    doc.LoadXml(
        "<p:root xmlns:p='urn:p'><d xmlns='urn:d' a='1'/><q:x xmlns:q='urn:p'/>"
        "<p:x/></p:root>");
    CXmlElement* root = doc.GetDocumentElement();
    EXPECT_EQ(root->GetXPath(), "/p:root");
    // The default namespace is bound to the empty prefix, so no prefix is written.
    EXPECT_EQ(Child(root, 0)->GetXPath(), "/p:root/d");
    EXPECT_EQ(Child(root, 0)->GetAttributes()[0]->GetXPath(), "/p:root/d/@a");
    // Two prefixes for urn:p: the first in prefix order ("p") names both, so they count as
    // the same qualified name.
    EXPECT_EQ(Child(root, 1)->GetXPath(), "/p:root/p:x[1]");
    EXPECT_EQ(Child(root, 2)->GetXPath(), "/p:root/p:x[2]");
}

TEST(XmlTree, PrefixMapKeepsTheLastBindingOfEachPrefix) {
    CXmlDocument doc;
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
}

TEST(XmlTree, CommentsProcessingInstructionsAndDoctypeLeaveNoTrace) {
    CXmlDocument doc;
    doc.LoadXml(
        "<?xml version='1.0'?><!DOCTYPE a [<!ELEMENT a ANY>]><!--c--><?pi data?>"
        "<a>x<!-- inner --><?pi2 y?>y</a><!--after-->");
    CXmlElement* a = doc.GetDocumentElement();
    EXPECT_EQ(a->GetText(), "xy");
    EXPECT_EQ(a->GetFirstElement(), nullptr);
    EXPECT_TRUE(a->GetAttributes().empty());
}

namespace {
int g_offered = 0;
bool PruneItems(CXmlElement* element) {
    ++g_offered;
    return element->GetLocalName() == "item";
}
}  // namespace

TEST(XmlTree, CallbackPrunesElementsAsTheyEnd) {
    g_offered = 0;
    CXmlDocument doc(&PruneItems);
    doc.LoadXml("<order><item><sub/></item><total>3</total><item/><note><item/></note></order>");
    CXmlElement* order = doc.GetDocumentElement();
    EXPECT_EQ(ChildNames(order), (std::vector<std::string>{"total", "note"}));
    EXPECT_EQ(Child(order, 1)->GetFirstElement(), nullptr);
    EXPECT_EQ(Child(order, 0)->GetText(), "3");
    // Every element is offered once, the document element included.
    EXPECT_EQ(g_offered, 7);
}

TEST(XmlTree, ReloadingReplacesTheTreeAndThePrefixes) {
    CXmlDocument doc;
    doc.LoadXml("<p:a xmlns:p='urn:1'><b/></p:a>");
    doc.LoadXml("<c xmlns:q='urn:2'/>");
    EXPECT_EQ(doc.GetDocumentElement()->GetLocalName(), "c");
    EXPECT_EQ(doc.GetDocumentElement()->GetFirstElement(), nullptr);
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
    EXPECT_EQ(a->GetText(), "one");
    ASSERT_NE(Child(a, 0), nullptr);
    EXPECT_EQ(Child(a, 0)->GetText(), "two");
    ASSERT_NE(Child(Child(a, 0), 0), nullptr);
    EXPECT_EQ(Child(Child(a, 0), 0)->GetText(), "three");
}
