// xml_document.cpp: CXmlDocument's lifetime, prefix lookups and the tree-building operations
// that every reader (expat, Fast Infoset) calls. Loading lives in xml_loader.cpp.
#include "tessel16/xml_document.h"

#include <cstring>

#include "tessel16/serialization_context.h"
#include "xml/document_store.h"
#include "xml/xml_stream.h"

namespace Tessel16 {

CXmlDocument::CXmlDocument() : CXmlDocument(nullptr, CSerializationContext::GetDefaultContext()) {}

CXmlDocument::CXmlDocument(const CSerializationContext& context) : CXmlDocument(nullptr, context) {}

CXmlDocument::CXmlDocument(ElementEndCallback callback)
    : CXmlDocument(callback, CSerializationContext::GetDefaultContext()) {}

CXmlDocument::CXmlDocument(ElementEndCallback callback, const CSerializationContext& context)
    : CInstanceMonitor("CXmlDocument"),
      m_schemaType(static_cast<std::int32_t>(context.GetSchemaType())),
      m_callback(callback),
      m_context(&context),
      m_store(new detail::DocumentStore) {}

CXmlDocument::~CXmlDocument() { CXmlDocument::Cleanup(); }

void CXmlDocument::Cleanup() {
    // The stream's parser refers to the tree and the input: it goes first.
    m_stream.reset();
    if (m_documentElement) {
        m_store->DestroySubtree(m_documentElement);
        m_documentElement = nullptr;
    }
    // With the tree gone no node refers to a name or a pool block any more.
    m_store->Reset();
    m_input.reset();
    m_inputData = nullptr;
    m_inputLength = 0;
    m_openElements.clear();
    m_prefixes.clear();
}

void CXmlDocument::DestroyElement(CXmlElement* element) const {
    if (element) m_store->DestroySubtree(element);
}

const std::string* CXmlDocument::Intern(const char* text, std::size_t length) const {
    return m_store->names.Intern(std::string_view(text, length));
}

std::string CXmlDocument::LookupNamespaceFromAlias(const char* prefix) const {
    if (m_stream) m_stream->NoteLookup();
    auto found = m_prefixes.find(prefix ? prefix : "");
    return found == m_prefixes.end() ? std::string() : found->second;
}

std::string CXmlDocument::LookupAliasFromNamespace(const char* namespaceUri) const {
    if (m_stream) m_stream->NoteLookup();
    const char* uri = namespaceUri ? namespaceUri : "";
    for (const auto& binding : m_prefixes) {
        if (binding.second == uri) return binding.first;
    }
    return std::string();
}

CXmlElement* CXmlDocument::AddDocElement(const char* namespaceUri, const char* localName) {
    if (m_documentElement) {
        m_store->DestroySubtree(m_documentElement);
        m_documentElement = nullptr;
    }
    CXmlElement* element = m_store->NewElement(this, nullptr);
    m_documentElement = element;
    element->m_namespaceUri = Intern(namespaceUri, std::strlen(namespaceUri));
    element->m_localName = Intern(localName, std::strlen(localName));
    m_openElements.push_back(element);
    return element;
}

CXmlElement* CXmlDocument::AddChildElement(const char* namespaceUri, const char* localName) {
    if (m_openElements.empty()) return AddDocElement(namespaceUri, localName);
    CXmlElement* element = m_openElements.back()->CreateNewChildElement();
    element->m_namespaceUri = Intern(namespaceUri, std::strlen(namespaceUri));
    element->m_localName = Intern(localName, std::strlen(localName));
    m_openElements.push_back(element);
    return element;
}

CXmlElement* CXmlDocument::AddInternedElement(const std::string* namespaceUri,
                                             const std::string* localName) {
    CXmlElement* element;
    if (m_openElements.empty()) {
        if (m_documentElement) {
            m_store->DestroySubtree(m_documentElement);
            m_documentElement = nullptr;
        }
        element = m_store->NewElement(this, nullptr);
        m_documentElement = element;
    } else {
        element = m_openElements.back()->CreateNewChildElement();
    }
    element->m_namespaceUri = namespaceUri;
    element->m_localName = localName;
    m_openElements.push_back(element);
    return element;
}

void CXmlDocument::AddElementAttribute(CXmlElement* element, const std::string& localName,
                                       const std::string& value, const std::string& namespaceUri) {
    element->AddAttribute(localName, value, namespaceUri);
}

void CXmlDocument::AppendTextExcludingCR(CXmlElement* element, const char* text) {
    AppendTextExcludingCR(element, text, std::strlen(text));
}

void CXmlDocument::AppendTextExcludingCR(CXmlElement* element, const char* text,
                                         std::size_t length) {
    // The text ends early at a zero byte, as a C string would.
    const void* zero = std::memchr(text, '\0', length);
    std::size_t remaining =
        zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - text) : length;
    while (remaining > 0) {
        const void* cr = std::memchr(text, '\r', remaining);
        std::size_t run =
            cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - text) : remaining;
        if (run > 0) element->AppendBytes(text, run);
        if (!cr) break;
        text += run + 1;
        remaining -= run + 1;
    }
}

void CXmlDocument::EndElement() {
    if (m_openElements.empty()) return;
    CXmlElement* element = m_openElements.back();
    m_openElements.pop_back();
    // The document element has no parent to be unlinked from, so it is never pruned.
    if (m_callback && m_callback(element) && element->m_parent) {
        CXmlElement* removed = element->m_parent->RemoveLastChildElement();
        m_store->DestroySubtree(removed);
    }
}

}  // namespace Tessel16
