// element_col.cpp: the collection of untyped elements. On reading it takes consecutive
// elements that its restriction admits, so a wildcard member stops at the first element that
// belongs to the next member of the content model; on writing every item writes itself.
#include "tessel16/element.h"
#include "tessel16/exception.h"
#include "tessel16/xml_document.h"
#include "untyped/untyped_messages.h"

namespace Tessel16 {

namespace M = detail::UntypedMessages;

const char* const detail::kMsgNoMoreElements = "No More Elements in the Collection";

namespace {
const char* Text(const char* value) { return value ? value : ""; }

// With no namespace given, a restriction that starts with a URI (rather than a "##" keyword)
// lends it to the elements Add(name) creates, as the attribute collection does.
std::string DefaultNamespace(const char* namespaceUri, const char* restriction) {
    std::string ns = Text(namespaceUri);
    if (!ns.empty()) return ns;
    std::string first = Text(restriction);
    first = first.substr(0, first.find(' '));
    if (first.size() >= 2 && first[0] != '#' && first[1] != '#') return first;
    return ns;
}
}  // namespace

// The item restriction is the one given: a wildcard member's collection must stop at the
// first element its constraint rejects, or it would swallow the elements of the members that
// follow it. The child collections of CElement are made with "##any" and take everything.
CElementCol::CElementCol(const char* namespaceUri, const char* restriction,
                         const char* targetNamespace, int minOccurs, int maxOccurs)
    : CXmlCollection("", DefaultNamespace(namespaceUri, restriction).c_str(), minOccurs, maxOccurs),
      CInstanceMonitor("CElementCol") {
    if (!restriction) throw CTsInvalidNamespaceException(M::kRestrictionMissing, "");
    if (!targetNamespace) throw CTsInvalidNamespaceException(M::kTargetNamespaceMissing, "");
    TestNamespace(Text(namespaceUri), restriction, targetNamespace);
    m_itemRestriction = restriction;
    m_namespace = DefaultNamespace(namespaceUri, restriction);
    m_targetNamespace = targetNamespace;
}

CElementCol::CElementCol(const CElementCol& other)
    : CXmlCollection(other),
      CInstanceMonitor("CElementCol"),
      m_itemRestriction(other.m_itemRestriction),
      m_namespace(other.m_namespace),
      m_targetNamespace(other.m_targetNamespace) {}

CElementCol& CElementCol::operator=(const CElementCol& other) {
    CXmlCollection::operator=(other);
    m_itemRestriction = other.m_itemRestriction;
    m_namespace = other.m_namespace;
    m_targetNamespace = other.m_targetNamespace;
    return *this;
}

CElement* CElementCol::Add(const char* name) {
    if (m_namespace.empty()) throw CTsInvalidStateException(M::kNoCollectionNamespace);
    CSmartPtr<CElement> element(new CElement(name, m_namespace.c_str(), m_itemRestriction.c_str(),
                                             m_targetNamespace.c_str()));
    AppendItem(element.get());
    return element.get();
}

CElement* CElementCol::Add(const char* name, const char* namespaceUri) {
    TestNamespace(Text(namespaceUri), m_itemRestriction.c_str(), m_targetNamespace.c_str());
    CSmartPtr<CElement> element(
        new CElement(name, namespaceUri, m_itemRestriction.c_str(), m_targetNamespace.c_str()));
    AppendItem(element.get());
    return element.get();
}

CElement* CElementCol::Add(CElement* element) {
    if (!element) throw CTsInvalidParamException(M::kNoElementToAdd);
    TestNamespace(element->m_namespace.c_str(), m_itemRestriction.c_str(),
                  m_targetNamespace.c_str());
    AppendItem(element);
    return element;
}

CElement* CElementCol::AddAfter(const CElement* existing, CElement* element) {
    if (!element) throw CTsInvalidParamException(M::kNoElementToAdd);
    AddAfterItem(existing, element);
    return element;
}

CElement* CElementCol::AddBefore(const CElement* existing, CElement* element) {
    if (!element) throw CTsInvalidParamException(M::kNoElementToAdd);
    AddBeforeItem(existing, element);
    return element;
}

CElement* CElementCol::Item(int index) const {
    return static_cast<CElement*>(GetNodeAtIndex(index)->GetItem());
}

CSmartPtr<CElementCol> CElementCol::CloneEmpty() const {
    return new CElementCol(m_namespace.c_str(), m_itemRestriction.c_str(),
                           m_targetNamespace.c_str(), GetMinOccurs(), GetMaxOccurs());
}

void CElementCol::ToXml_Int(CXmlWriter* writer, bool, const char* namespaceUri,
                            const CSerializationContext& context, bool) const {
    ValidateCount(context);
    for (const CElement* element : *this)
        CXmlObjectBase::ToXml_Int(element, writer, false, namespaceUri, context, false);
}

CXmlElement* CElementCol::FromXml_Int(CXmlElement* parent, CXmlElement* cursor,
                                      const CSerializationContext& context, bool) {
    while (cursor && IsNamespaceValid(cursor->GetNamespaceURI().c_str(), m_itemRestriction.c_str(),
                                      m_targetNamespace.c_str())) {
        CSmartPtr<CElement> element(
            new CElement(cursor->GetLocalName().c_str(), cursor->GetNamespaceURI().c_str(),
                         m_itemRestriction.c_str(), m_targetNamespace.c_str()));
        CXmlElement* next = CXmlObjectBase::FromXml_Int(element.get(), parent, cursor, context);
        if (next == cursor) break;
        AppendItem(element.get());
        cursor = next;
    }
    return cursor;
}

CXmlElement* CElementCol::FromXmlLockElementName_Int(const char* name, const char* namespaceUri,
                                                     CXmlElement* parent, CXmlElement* cursor,
                                                     const CSerializationContext& context) {
    const std::string localName = Text(name);
    const std::string ns = Text(namespaceUri);
    while (cursor && cursor->GetLocalName() == localName && cursor->GetNamespaceURI() == ns) {
        CSmartPtr<CElement> element(
            new CElement(localName.c_str(), ns.c_str(), "##any", m_targetNamespace.c_str()));
        CXmlElement* next = CXmlObjectBase::FromXml_Int(element.get(), parent, cursor, context);
        if (next == cursor) break;
        // The record fixed name and namespace, so the item restriction is not asked again.
        AppendItem(element.get());
        cursor = next;
    }
    return cursor;
}

}  // namespace Tessel16
