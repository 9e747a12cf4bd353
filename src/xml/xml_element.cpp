// xml_element.cpp: navigation, lookup and path building of CXmlElement and CXmlAttribute.
// Paths are only built for messages, so they favour simplicity; everything the readers call
// per node (name access, attribute lookup, text appends) is kept allocation-free.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "tessel16/xml_document.h"
#include "xml/document_store.h"

namespace Tessel16 {

namespace {
// Views compare the length first: the readers ask this of every attribute, and almost none
// is in either namespace.
constexpr std::string_view kXsiNamespace = "http://www.w3.org/2001/XMLSchema-instance";
constexpr std::string_view kXmlnsNamespace = "http://www.w3.org/2000/xmlns/";

bool IsInfrastructureNamespace(const std::string& uri) {
    const std::string_view view(uri);
    return view == kXsiNamespace || view == kXmlnsNamespace;
}

detail::DocumentStore& StoreOf(const CXmlDocument* document) {
    return detail::DocumentStore::Of(document);
}
}  // namespace

// ---------------------------------------------------------------------------------------

CXmlAttribute::CXmlAttribute(const CXmlElement* owner, const std::string& localName,
                             const std::string& value, const std::string& namespaceUri)
    : CInstanceMonitor("CXmlAttribute"),
      m_owner(owner),
      m_localName(owner->m_document->Intern(localName.data(), localName.size())),
      m_value(value),
      m_namespaceUri(owner->m_document->Intern(namespaceUri.data(), namespaceUri.size())) {}

CXmlAttribute::~CXmlAttribute() { m_owner = nullptr; }

bool CXmlAttribute::IsNamespaceAttribute() const {
    if (!IsInfrastructureNamespace(*m_namespaceUri)) return false;
    const std::string_view name(*m_localName);
    return name == "xmlns" || name == "type" || name == "schemaLocation" ||
           name == "noNamespaceSchemaLocation";
}

bool CXmlAttribute::IsNilAttribute() const {
    return IsInfrastructureNamespace(*m_namespaceUri) && std::string_view(*m_localName) == "nil";
}

std::string CXmlAttribute::GetXPath() const {
    std::string path = m_owner ? m_owner->GetXPath() : std::string();
    path += "/@";
    if (!m_namespaceUri->empty() && m_owner && m_owner->m_document) {
        std::string prefix = m_owner->m_document->LookupAliasFromNamespace(m_namespaceUri->c_str());
        if (!prefix.empty()) {
            path += prefix;
            path += ':';
        }
    }
    path += *m_localName;
    return path;
}

// ---------------------------------------------------------------------------------------

CXmlElement::CXmlElement(const CXmlDocument* document, const CXmlElement* parent)
    : CInstanceMonitor("CXmlElement"),
      m_document(document),
      m_parent(const_cast<CXmlElement*>(parent)),
      m_localName(&detail::EmptyString()),
      m_namespaceUri(&detail::EmptyString()) {}

// The destructor is in document_store.cpp, where the pools' teardown inlines it.

CXmlElement* CXmlElement::CreateNewChildElement() {
    return StoreOf(m_document).NewChild(this, &detail::EmptyString(), &detail::EmptyString());
}

CXmlElement* CXmlElement::RemoveLastChildElement() {
    CXmlElement* last = m_lastChild;
    if (!last) return nullptr;
    if (m_firstChild == last) {
        m_firstChild = m_lastChild = nullptr;
    } else {
        // Singly linked list: finding the new tail walks the siblings. The loader only ever
        // removes an element right after it ended, which is then the last child, and the
        // callback typically prunes every such child, so the list stays short.
        CXmlElement* previous = m_firstChild;
        while (previous->m_nextSibling != last) previous = previous->m_nextSibling;
        previous->m_nextSibling = nullptr;
        m_lastChild = previous;
    }
    last->m_parent = nullptr;
    return last;
}

void CXmlElement::SetElementName(const std::string& localName) {
    m_localName = m_document->Intern(localName.data(), localName.size());
}

void CXmlElement::SetNamespace(const std::string& namespaceUri) {
    m_namespaceUri = m_document->Intern(namespaceUri.data(), namespaceUri.size());
}

void CXmlElement::AddAttribute(const std::string& localName, const std::string& value,
                               const std::string& namespaceUri) {
    detail::DocumentStore& store = StoreOf(m_document);
    CXmlAttribute* attribute = store.NewAttribute(
        this, m_document->Intern(localName.data(), localName.size()),
        m_document->Intern(namespaceUri.data(), namespaceUri.size()), value.data(), value.size());
    try {
        if (!m_attributes) m_attributes = store.NewAttributeList();
        m_attributes->push_back(attribute);
    } catch (...) {
        store.DestroyAttribute(attribute);
        throw;
    }
}

void CXmlElement::AppendText(const char* text) { AppendBytes(text, std::strlen(text)); }

void CXmlElement::AppendText(const char* text, int length) {
    if (length > 0) AppendBytes(text, static_cast<std::size_t>(length));
}

const std::string& CXmlElement::GetAttribute(const std::string& localName,
                                             const std::string& namespaceUri) const {
    for (const CXmlAttribute* attribute : GetAttributes()) {
        if (*attribute->m_localName == localName && *attribute->m_namespaceUri == namespaceUri)
            return attribute->m_value;
    }
    return detail::EmptyString();
}

const std::vector<CXmlAttribute*> CXmlElement::s_noAttributes;

std::string CXmlElement::GetQName() const {
    if (m_document && !m_namespaceUri->empty()) {
        std::string prefix = m_document->LookupAliasFromNamespace(m_namespaceUri->c_str());
        if (!prefix.empty()) return prefix + ':' + *m_localName;
    }
    return *m_localName;
}

std::string CXmlElement::GetNameWithPredicate() const {
    std::string qname = GetQName();
    if (!m_parent) return qname;
    int sameNamed = 0;
    int position = 0;
    for (const CXmlElement* sibling = m_parent->m_firstChild; sibling;
         sibling = sibling->m_nextSibling) {
        // Names are interned per document, so equal pointers mean equal qualified names;
        // different URIs may still yield the same qualified name and need the full check.
        bool same = sibling == this ||
                    (sibling->m_localName == m_localName &&
                     (sibling->m_namespaceUri == m_namespaceUri || sibling->GetQName() == qname));
        if (!same) continue;
        ++sameNamed;
        if (sibling == this) position = sameNamed;
    }
    if (sameNamed > 1) qname += '[' + std::to_string(position) + ']';
    return qname;
}

std::string CXmlElement::GetXPath() const {
    // Built from the root down without recursion, so a very deep element gets its path too.
    std::vector<const CXmlElement*> chain;
    for (const CXmlElement* node = this; node; node = node->m_parent) chain.push_back(node);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        path += '/';
        path += (*it)->GetNameWithPredicate();
    }
    return path;
}

}  // namespace Tessel16
