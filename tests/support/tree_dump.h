// tree_dump.h: a document's tree as lines (element start, its attributes in order, children,
// text, element end), to compare a document read with the one written. xsi attributes other
// than xsi:nil are left out (xsi:type is written where the runtime needs it, schemaLocation is
// a hint), and the children come in a fixed order, by their own lines: an xs:all group is
// written in schema order, and the order of a sequence is checked by other means.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "tessel16/xml_document.h"

namespace Tessel16::test {

// `normalise` gives the form in which attribute values and texts are compared.
template <class Normalise>
void DumpTree(const CXmlElement* element, const Normalise& normalise,
              std::vector<std::string>& lines) {
    lines.push_back("E {" + element->GetNamespaceURI() + "}" + element->GetLocalName());
    std::vector<std::string> attributes;
    for (const CXmlAttribute* attribute : element->GetAttributes()) {
        const std::string& uri = attribute->GetNamespaceURI();
        if (uri == "http://www.w3.org/2001/XMLSchema-instance" &&
            attribute->GetLocalName() != "nil")
            continue;
        attributes.push_back("A {" + uri + "}" + attribute->GetLocalName() + "=" +
                             normalise(attribute->GetValue()));
    }
    std::sort(attributes.begin(), attributes.end());
    lines.insert(lines.end(), attributes.begin(), attributes.end());
    std::vector<std::vector<std::string>> children;
    for (const CXmlElement* child = element->GetFirstElement(); child;
         child = child->GetNextSiblingElement()) {
        children.emplace_back();
        DumpTree(child, normalise, children.back());
    }
    std::sort(children.begin(), children.end());
    for (const auto& child : children) lines.insert(lines.end(), child.begin(), child.end());
    const std::string text = normalise(element->GetText());
    if (!text.empty()) lines.push_back("T " + text);
    lines.push_back("/E");
}

template <class Normalise>
std::vector<std::string> TreeOf(const std::string& xml, const Normalise& normalise) {
    CXmlDocument document;
    document.LoadXml(xml.c_str());
    std::vector<std::string> lines;
    DumpTree(document.GetDocumentElement(), normalise, lines);
    return lines;
}

}  // namespace Tessel16::test
