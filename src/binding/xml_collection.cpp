// xml_collection.cpp: the shared collection bases: count checks and listeners, the linked
// list of counted references behind every object collection, and the element-per-value
// reading of primitive collections. Every insertion and removal tells the listeners before
// and after, so an observer can veto nothing but always sees a consistent list afterwards.
#include "tessel16/xml_collection.h"

#include <algorithm>

#include "binding/engine_messages.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_document.h"

namespace Tessel16 {

using namespace Tessel16::detail;

CXmlCollectionBase::CXmlCollectionBase() : m_minOccurs(0), m_maxOccurs(-1) {}

CXmlCollectionBase::CXmlCollectionBase(const char* elementName, const char* namespaceUri,
                                       int minOccurs, int maxOccurs)
    : m_namespace(namespaceUri ? namespaceUri : ""),
      m_minOccurs(minOccurs),
      m_maxOccurs(maxOccurs) {
    SetElementName(elementName ? elementName : "");
}

CXmlCollectionBase::CXmlCollectionBase(const CXmlCollectionBase& other)
    : CXmlObjectBase(other),
      m_namespace(other.m_namespace),
      m_listeners(other.m_listeners),
      m_minOccurs(other.m_minOccurs),
      m_maxOccurs(other.m_maxOccurs) {}

CXmlCollectionBase& CXmlCollectionBase::operator=(const CXmlCollectionBase& other) {
    if (this != &other) {
        CXmlObjectBase::operator=(other);
        m_namespace = other.m_namespace;
        m_listeners = other.m_listeners;
        m_minOccurs = other.m_minOccurs;
        m_maxOccurs = other.m_maxOccurs;
    }
    return *this;
}

CXmlCollectionBase::~CXmlCollectionBase() = default;

void CXmlCollectionBase::AddEventListener(IEventSink* sink) { m_listeners.push_back(sink); }

void CXmlCollectionBase::RemoveEventListener(IEventSink* sink) {
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), sink), m_listeners.end());
}

void CXmlCollectionBase::ValidateCount(const CSerializationContext& context) const {
    if (context.GetIgnoreInvalidCollectionCounts()) return;
    const int count = GetCount();
    if (m_maxOccurs != -1 && count > m_maxOccurs) {
        throw CTsValidationException(
            FormatString(kMsgCollectionMaximum, GetElementName().c_str(), m_maxOccurs), "");
    }
    if (count < m_minOccurs) {
        throw CTsValidationException(
            FormatString(kMsgCollectionMinimum, GetElementName().c_str(), m_minOccurs), "");
    }
}

bool CXmlCollectionBase::IsValidCount(const CSerializationContext& context) const {
    if (context.GetIgnoreInvalidCollectionCounts()) return true;
    const int count = GetCount();
    if (m_maxOccurs != -1 && count > m_maxOccurs) return false;
    return count >= m_minOccurs;
}

CXmlObjectBase* CXmlCollectionBase::GetBase() { return this; }

std::string CXmlCollectionBase::GetTargetNamespace() const {
    throw CTsException(kMsgCollectionTargetNamespace);
}

std::string CXmlCollectionBase::GetNamespace() const { return m_namespace; }

// Listeners may remove themselves while being told, so each round works on a copy. Nearly
// every collection has none, and then nothing is copied.
void CXmlCollectionBase::FireOnCollectionChange() {
    if (m_listeners.empty()) return;
    const std::vector<IEventSink*> listeners = m_listeners;
    for (IEventSink* sink : listeners) FireOnCollectionChangeEvent(sink, this);
}

void CXmlCollectionBase::FireOnCollectionAdd(void* item) {
    if (m_listeners.empty()) return;
    const std::vector<IEventSink*> listeners = m_listeners;
    for (IEventSink* sink : listeners) FireOnCollectionAddEvent(sink, this, item);
}

void CXmlCollectionBase::FireOnCollectionAddComplete(void* item) {
    if (m_listeners.empty()) return;
    const std::vector<IEventSink*> listeners = m_listeners;
    for (IEventSink* sink : listeners) FireOnCollectionAddCompleteEvent(sink, this, item);
}

void CXmlCollectionBase::FireOnCollectionRemove(int index) {
    if (m_listeners.empty()) return;
    const std::vector<IEventSink*> listeners = m_listeners;
    for (IEventSink* sink : listeners) FireOnCollectionRemoveEvent(sink, this, index);
}

void CXmlCollectionBase::FireOnCollectionRemoveComplete(int index) {
    if (m_listeners.empty()) return;
    const std::vector<IEventSink*> listeners = m_listeners;
    for (IEventSink* sink : listeners) FireOnCollectionRemoveCompleteEvent(sink, this, index);
}

CXmlCollection::CXmlCollection() = default;

CXmlCollection::CXmlCollection(const char* elementName, const char* namespaceUri, int minOccurs,
                               int maxOccurs)
    : CXmlCollectionBase(elementName, namespaceUri, minOccurs, maxOccurs) {}

CXmlCollection::CXmlCollection(const CXmlCollection& other) : CXmlCollectionBase(other) {
    CopyItemsFrom(other);
}

CXmlCollection& CXmlCollection::operator=(const CXmlCollection& other) {
    if (this != &other) {
        CXmlCollectionBase::operator=(other);
        while (m_count > 0) RemoveNode(m_head);
        CopyItemsFrom(other);
    }
    return *this;
}

CXmlCollection::~CXmlCollection() {
    // Qualified: during destruction the subclass is gone, so this is the only Remove there is.
    while (m_count > 0) CXmlCollection::Remove(0);
}

void CXmlCollection::CopyItemsFrom(const CXmlCollection& other) {
    for (CNode* node = other.m_head; node; node = node->m_next) {
        LinkBefore(new CNode(node->GetItem()), nullptr);
    }
}

int CXmlCollection::GetCount() const { return m_count; }

void CXmlCollection::Clear() {
    while (m_count > 0) Remove(0);
}

void CXmlCollection::Remove(int index) { RemoveNode(GetNodeAtIndex(index)); }

void CXmlCollection::LinkBefore(CNode* node, CNode* before) {
    if (!before) {
        node->m_previous = m_tail;
        if (m_tail)
            m_tail->m_next = node;
        else
            m_head = node;
        m_tail = node;
    } else {
        node->m_next = before;
        node->m_previous = before->m_previous;
        if (before->m_previous)
            before->m_previous->m_next = node;
        else
            m_head = node;
        before->m_previous = node;
    }
    ++m_count;
}

void CXmlCollection::InsertWithEvents(CXmlObjectBase* item, CNode* before) {
    LinkBefore(new CNode(item), before);
    FireOnCollectionAddComplete(item);
    FireOnCollectionChange();
}

void CXmlCollection::AppendItem(CXmlObjectBase* item) {
    FireOnCollectionAdd(item);
    InsertWithEvents(item, nullptr);
}

void CXmlCollection::PrependItem(CXmlObjectBase* item) {
    FireOnCollectionAdd(item);
    InsertWithEvents(item, m_head);
}

void CXmlCollection::AddItemAt(int index, CXmlObjectBase* item) {
    if (index < 0 || index > m_count) throw CTsInvalidParamException(kMsgIndexOutOfRange);
    if (index == m_count) {
        AppendItem(item);
        return;
    }
    FireOnCollectionAdd(item);
    InsertWithEvents(item, GetNodeAtIndex(index));
}

void CXmlCollection::AddAfterItem(const CXmlObjectBase* existing, CXmlObjectBase* item) {
    if (!existing) {
        PrependItem(item);
        return;
    }
    FireOnCollectionAdd(item);
    CNode* node = GetNodeForItem(existing);
    InsertWithEvents(item, node->m_next);
}

void CXmlCollection::AddBeforeItem(const CXmlObjectBase* existing, CXmlObjectBase* item) {
    if (!existing) {
        AppendItem(item);
        return;
    }
    FireOnCollectionAdd(item);
    CNode* node = GetNodeForItem(existing);
    InsertWithEvents(item, node);
}

CXmlCollection::CNode* CXmlCollection::GetNodeAtIndex(int index) const {
    if (index < 0 || index > m_count - 1) {
        throw CTsInvalidParamException(FormatString(kMsgIndexOutOfRangeUse, index, m_count - 1));
    }
    CNode* node = m_head;
    for (int i = 0; i < index; ++i) node = node->m_next;
    return node;
}

CXmlCollection::CNode* CXmlCollection::GetNodeForItem(const CXmlObjectBase* item) const {
    const CXmlObjectBase* wanted = item ? item->GetBase() : nullptr;
    for (CNode* node = m_head; node; node = node->m_next) {
        const CXmlObjectBase* held = node->GetItem();
        if (held && held->GetBase() == wanted) return node;
    }
    throw CTsInvalidParamException(kMsgObjectNotInCollection);
}

void CXmlCollection::RemoveNode(CNode* node) {
    FireOnCollectionRemove(-1);
    if (node->m_previous)
        node->m_previous->m_next = node->m_next;
    else
        m_head = node->m_next;
    if (node->m_next)
        node->m_next->m_previous = node->m_previous;
    else
        m_tail = node->m_previous;
    --m_count;
    delete node;  // releases the item, which may destroy it
    FireOnCollectionRemoveComplete(-1);
    FireOnCollectionChange();
}

void CXmlCollection::AttributesToXml_Int(CXmlWriter* writer,
                                         const CSerializationContext& context) const {
    for (CNode* node = m_head; node; node = node->m_next) {
        const CXmlObjectBase* item = node->GetItem();
        CXmlObjectBase::AttributesToXml_Int(item->GetBase(), writer, context);
    }
}

}  // namespace Tessel16
