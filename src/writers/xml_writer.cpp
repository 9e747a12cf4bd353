// xml_writer.cpp: the format-independent half of every writer: the stack of open elements
// and their namespace scopes, which are shared down the tree until an element declares
// something of its own, and prefix invention.
#include "tessel16/xml_writer.h"

#include "tessel16/exception.h"
#include "writers/markup.h"
#include "writers/writer_messages.h"

namespace Tessel16 {

using CXmlWriterContext = CXmlWriter::CXmlWriterContext;

CXmlWriterContext::CXmlWriterContext(CXmlWriterContext* parent, const std::string& localName,
                                     const std::string& namespaceUri,
                                     const NamespaceMap& documentMap,
                                     const std::string& documentDefaultNamespace)
    : CInstanceMonitor("CXmlWriterContext") {
    Reset(parent, localName, namespaceUri, documentMap, documentDefaultNamespace);
}

void CXmlWriterContext::Reset(CXmlWriterContext* parent, const std::string& localName,
                              const std::string& namespaceUri, const NamespaceMap& documentMap,
                              const std::string& documentDefaultNamespace) {
    m_childCount = 0;
    m_startTagOpen = true;
    m_namespace = namespaceUri;
    m_localName = localName;
    m_parent = parent;
    m_firstMemberWritten = false;
    m_collectionState = CollectionState_None;
    if (parent) {
        m_depth = parent->m_depth + 1;
        m_inheritsScope = true;
        m_ownsMap = false;
        m_scopeOwner = parent->m_scopeOwner;
        m_scopeMap = m_scopeOwner->m_scopeMap;
        m_scopeDefaultNamespace.clear();
    } else {
        m_depth = 0;
        m_inheritsScope = false;
        m_scopeMap = new NamespaceMap(documentMap);
        m_ownsMap = true;
        m_lastFound = nullptr;
        m_scopeDefaultNamespace = documentDefaultNamespace;
        m_scopeOwner = this;
    }
}

void CXmlWriterContext::ReleaseScope() {
    if (m_ownsMap) delete m_scopeMap;
    m_scopeMap = nullptr;
    m_ownsMap = false;
    m_scopeOwner = nullptr;
    m_lastFound = nullptr;
}

CXmlWriterContext::~CXmlWriterContext() {
    if (m_ownsMap) delete m_scopeMap;
    // Iterative, so that abandoning a deep document cannot exhaust the stack.
    CXmlWriterContext* ancestor = DetachParent();
    while (ancestor) {
        CXmlWriterContext* next = ancestor->DetachParent();
        delete ancestor;
        ancestor = next;
    }
}

const std::string& CXmlWriterContext::GetDefaultNamespace() const {
    return m_scopeOwner->m_scopeDefaultNamespace;
}

const CXmlWriter::NamespaceMap& CXmlWriterContext::GetNamespaceMap() const {
    return *m_scopeOwner->m_scopeMap;
}

const std::string& CXmlWriterContext::LookupPrefix(const std::string& namespaceUri) const {
    static const std::string kNone;
    const std::string* prefix = FindPrefix(namespaceUri);
    return prefix ? *prefix : kNone;
}

const std::string* CXmlWriterContext::FindPrefix(const std::string& namespaceUri) const {
    const CXmlWriterContext* owner = m_scopeOwner;
    const NamespaceMap::value_type* last = owner->m_lastFound;
    if (last && detail::SameText(last->first, namespaceUri)) return &last->second;
    auto it = owner->m_scopeMap->find(namespaceUri);
    if (it == owner->m_scopeMap->end()) return nullptr;
    owner->m_lastFound = &*it;
    return &it->second;
}

void CXmlWriterContext::AddNamespace(const std::string& namespaceUri, const std::string& prefix) {
    MakeScopeOwn();
    (*m_scopeMap)[namespaceUri] = prefix;
}

void CXmlWriterContext::SetDefaultNamespace(const std::string& namespaceUri) {
    MakeScopeOwn();
    m_scopeDefaultNamespace = namespaceUri;
}

CXmlWriterContext* CXmlWriterContext::DetachParent() {
    CXmlWriterContext* parent = m_parent;
    m_parent = nullptr;
    return parent;
}

void CXmlWriterContext::MakeScopeOwn() {
    if (!m_inheritsScope) return;
    m_scopeMap = new NamespaceMap(*m_scopeOwner->m_scopeMap);
    m_ownsMap = true;
    m_lastFound = nullptr;
    m_scopeDefaultNamespace = m_scopeOwner->m_scopeDefaultNamespace;
    m_inheritsScope = false;
    m_scopeOwner = this;
}

CXmlWriter::CXmlWriter(const char* className) : CInstanceMonitor(className) {
    m_documentMap[detail::kXmlNamespaceUri] = "xml";
}

CXmlWriter::~CXmlWriter() {
    delete m_current;
    delete m_spare;
}

void CXmlWriter::StartDocument() {}

void CXmlWriter::EndDocument() {
    if (m_current) throw CTsException(detail::kMsgElementNotClosed);
}

void CXmlWriter::SetDefaultNamespace(const std::string& namespaceUri) {
    if (m_current)
        m_current->SetDefaultNamespace(namespaceUri);
    else
        m_documentDefaultNamespace = namespaceUri;
}

void CXmlWriter::AddNamespaceAlias(const std::string& alias, const std::string& namespaceUri) {
    if (m_current)
        m_current->AddNamespace(namespaceUri, alias);
    else
        m_documentMap[namespaceUri] = alias;
}

void CXmlWriter::WriteSimpleElement(const std::string& localName, const std::string& namespaceUri,
                                    const std::string& text, ItemType type, bool isDefaultValue) {
    StartElement(localName, namespaceUri);
    WriteText(text, type, isDefaultValue);
    EndElement();
}

void CXmlWriter::SetCollectionState(CollectionState state) {
    if (m_current) m_current->SetCollectionState(state);
}

std::string CXmlWriter::AllocatePrefix(const NamespaceMap& map) {
    std::string candidate(2, 'A');
    for (unsigned n = 0;; ++n) {
        // Past ZZ the first character runs on through the character set; a map holding 676
        // prefixes already is not a realistic document, and the search still terminates.
        candidate[0] = static_cast<char>('A' + n / 26);
        candidate[1] = static_cast<char>('A' + n % 26);
        bool taken = false;
        for (const auto& entry : map) {
            if (entry.second == candidate) {
                taken = true;
                break;
            }
        }
        if (!taken) return candidate;
    }
}

CXmlWriterContext* CXmlWriter::PushContext(const std::string& localName,
                                           const std::string& namespaceUri) {
    if (m_spare) {
        CXmlWriterContext* context = m_spare;
        m_spare = context->DetachParent();
        try {
            context->Reset(m_current, localName, namespaceUri, m_documentMap,
                           m_documentDefaultNamespace);
        } catch (...) {
            // Not linked to anything yet, so deleting it frees only itself.
            context->DetachParent();
            delete context;
            throw;
        }
        m_current = context;
    } else {
        m_current = new CXmlWriterContext(m_current, localName, namespaceUri, m_documentMap,
                                          m_documentDefaultNamespace);
    }
    return m_current;
}

void CXmlWriter::PopContext() {
    if (!m_current) return;
    CXmlWriterContext* closed = m_current;
    m_current = closed->DetachParent();
    closed->ReleaseScope();
    closed->m_parent = m_spare;
    m_spare = closed;
}

}  // namespace Tessel16
