// schema_loader.h: the loaded schema set, its documents and global components by name.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "schema_model.h"

namespace xsd {

extern const char* const kXsdNamespace;
extern const char* const kXmlNamespace;

bool IsXsd(const Tessel16::CXmlElement* node, const char* localName);
// The attribute in no namespace, or "".
std::string Attr(const Tessel16::CXmlElement* node, const char* name);
bool HasAttr(const Tessel16::CXmlElement* node, const char* name);

class SchemaSet {
public:
    // Loads a document and, first, everything it includes and imports. A chameleon include
    // (no target namespace of its own) takes the includer's.
    const SchemaDocument* Load(const std::string& path, const std::string& where,
                               const std::string* chameleonNamespace);
    // kind: element, complexType, simpleType, group, attributeGroup, attribute.
    const Component* Find(const std::string& kind, const QName& name) const;
    // Global components of a kind in the order they were read.
    const std::vector<QName>& Order(const std::string& kind) const;
    // "file:line:col" of a node.
    std::string Where(const SchemaDocument* doc, const Tessel16::CXmlElement* node) const;
    // A QName-valued attribute resolved against the document's prefixes.
    QName Resolve(const SchemaDocument* doc, const Tessel16::CXmlElement* node,
                  const std::string& qname) const;
    const std::vector<std::string>& Files() const { return m_files; }

private:
    std::vector<std::unique_ptr<SchemaDocument>> m_documents;
    std::map<std::string, const SchemaDocument*> m_loaded;
    std::map<std::string, std::map<QName, Component>> m_components;
    std::map<std::string, std::vector<QName>> m_order;
    std::vector<std::string> m_files;
};

}  // namespace xsd
