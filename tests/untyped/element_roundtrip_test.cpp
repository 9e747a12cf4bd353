// Round trips of XML documents through untyped elements: a document read into a CElement and
// written back parses to the same tree (names, namespaces, attributes in order, text), for
// hand-picked documents and for seeded random ones, by both ways of reading (FromXml and the
// element protocol) and through a clone.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "metadata/object_bridge.h"
#include "support/test_table.h"
#include "tessel16/element.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_document.h"

namespace {

using namespace Tessel16;

// A canonical dump of a parsed tree: prefixes do not matter, expanded names do.
void Dump(const CXmlElement* element, std::string& out) {
    out += "<{" + element->GetNamespaceURI() + "}" + element->GetLocalName();
    for (const CXmlAttribute* attribute : element->GetAttributes())
        out += " {" + attribute->GetNamespaceURI() + "}" + attribute->GetLocalName() + "=[" +
               attribute->GetValue() + "]";
    out += ">[" + element->GetText() + "]";
    for (const CXmlElement* child = element->GetFirstElement(); child;
         child = child->GetNextSiblingElement())
        Dump(child, out);
    out += "</>";
}

std::string DumpText(const std::string& xml) {
    CXmlDocument document;
    document.LoadXml(xml.c_str());
    std::string out;
    Dump(document.GetDocumentElement(), out);
    return out;
}

std::string Write(CElement* element) {
    return element->ToXml(false, false, EOLType_LF, CSerializationContext());
}

void ExpectRoundTrip(const std::string& xml) {
    SCOPED_TRACE(xml);
    const std::string expected = DumpText(xml);

    CSmartPtr<CElement> loaded(new CElement("placeholder"));
    loaded->FromXml(xml.c_str());
    const std::string written = Write(loaded.get());
    EXPECT_EQ(DumpText(written), expected) << written;

    // The element protocol reads the same tree (the document element is the one at the cursor).
    CXmlDocument document;
    document.LoadXml(xml.c_str());
    CSmartPtr<CElement> read(new CElement("placeholder"));
    CSerializationContext context;
    EXPECT_EQ(detail::ObjectBridge::ReadObject(read.get(), nullptr, document.GetDocumentElement(),
                                               context),
              nullptr);
    EXPECT_EQ(Write(read.get()), written);
    EXPECT_EQ(Write(read->Clone().get()), written);
}

TEST(ElementRoundTrip, HandPickedDocuments) {
    for (const auto& row : Tessel16::test::ReadTable("xml/roundtrip_documents.txt"))
        ExpectRoundTrip(row[0]);

    // Deep nesting.
    std::string deep;
    for (int i = 0; i < 300; ++i) deep += "<n" + std::to_string(i % 7) + ">";
    deep += "bottom";
    for (int i = 299; i >= 0; --i) deep += "</n" + std::to_string(i % 7) + ">";
    ExpectRoundTrip(deep);
}

// Builds random documents from a small vocabulary so that names, namespaces and prefixes
// collide often.
class RandomDocument {
public:
    explicit RandomDocument(unsigned seed) : m_random(seed) {}

    std::string Make() {
        std::string xml;
        Element(xml, 0, true);
        return xml;
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    std::string Text() {
        static const char* const pieces[] = {"a", "b c", " ",  "&amp;", "&lt;",  "&gt;", "\"",
                                             "'", "x1",  "\n", "\t",    "&#38;", "Z"};
        std::string text;
        for (int i = Pick(4); i > 0; --i) text += pieces[Pick(13)];
        return text;
    }

    std::string AttributeValue() {
        static const char* const pieces[] = {"v", "1", "&amp;", "&lt;", "&quot;", "'", " ", ">"};
        std::string value;
        for (int i = Pick(4); i > 0; --i) value += pieces[Pick(8)];
        return value;
    }

    void Element(std::string& xml, int depth, bool root) {
        static const char* const names[] = {"a", "b", "item", "x1", "_y", "n-d", "n.e"};
        static const char* const prefixes[] = {"", "p:", "q:"};
        const std::string name = std::string(prefixes[Pick(3)]) + names[Pick(7)];
        xml += "<" + name;
        if (root) xml += " xmlns:p=\"urn:p\" xmlns:q=\"urn:q\"";
        switch (Pick(4)) {
            case 0:
                xml += " xmlns=\"urn:d" + std::to_string(Pick(2)) + "\"";
                break;
            case 1:
                if (!root) xml += " xmlns=\"\"";
                break;
            case 2:
                if (!root) xml += " xmlns:p=\"urn:p" + std::to_string(Pick(2)) + "\"";
                break;
            default:
                break;
        }
        // Attribute names are unique per element, whatever their prefix.
        static const char* const attributes[] = {"k", "l", "m"};
        for (int i = 0; i < 3; ++i)
            if (Pick(2))
                xml += std::string(" ") + prefixes[Pick(3)] + attributes[i] + "=\"" +
                       AttributeValue() + "\"";
        xml += ">";
        const int children = depth < 5 ? Pick(4) : 0;
        for (int i = 0; i < children; ++i) {
            xml += Text();
            Element(xml, depth + 1, false);
        }
        xml += Text();
        xml += "</" + name + ">";
    }

    std::mt19937 m_random;
};

TEST(ElementRoundTrip, RandomDocuments) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(seed);
        const std::string xml = RandomDocument(seed).Make();
        try {
            ExpectRoundTrip(xml);
        } catch (const CTsException& e) {
            ADD_FAILURE() << e.GetFullMessage() << "\n" << xml;
        }
        if (HasFailure()) break;
    }
}

}  // namespace
