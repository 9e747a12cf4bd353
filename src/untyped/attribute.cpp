// attribute.cpp: untyped attributes and their collection. The collection is the only way in
// for parsed attributes, so it is where the wildcard's namespace constraint is enforced; a
// single attribute just carries its three texts.
#include "tessel16/attribute.h"

#include "tessel16/exception.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_writer.h"
#include "untyped/untyped_messages.h"

namespace Tessel16 {

namespace M = detail::UntypedMessages;

namespace {
const char* Text(const char* value) { return value ? value : ""; }

// The namespace an attribute added without one gets: the collection's own, or, when that is
// empty, the first token of the restriction if that token is a URI rather than a keyword.
std::string CollectionNamespace(const char* namespaceUri, const char* restriction) {
    std::string ns = Text(namespaceUri);
    if (!ns.empty()) return ns;
    std::string first = Text(restriction);
    first = first.substr(0, first.find(' '));
    if (first.size() >= 2 && first[0] != '#' && first[1] != '#') return first;
    return ns;
}
}  // namespace

CAttribute::CAttribute(const char* name, const char* value, const char* namespaceUri)
    : CInstanceMonitor("CAttribute"),
      m_name(Text(name)),
      m_value(Text(value)),
      m_namespace(Text(namespaceUri)) {}

CAttribute::CAttribute(const CAttribute& other)
    : CXmlObjectBase(other),
      CInstanceMonitor("CAttribute"),
      m_name(other.m_name),
      m_value(other.m_value),
      m_namespace(other.m_namespace) {}

CAttribute& CAttribute::operator=(const CAttribute& other) {
    CXmlObjectBase::operator=(other);
    m_name = other.m_name;
    m_value = other.m_value;
    m_namespace = other.m_namespace;
    return *this;
}

CAttribute::~CAttribute() = default;

CSmartPtr<CAttribute> CAttribute::Clone() const {
    return CSmartPtr<CAttribute>(
        new CAttribute(m_name.c_str(), m_value.c_str(), m_namespace.c_str()));
}

void CAttribute::ToXml_Int(CXmlWriter* writer, bool, const char*, const CSerializationContext&,
                           bool) const {
    // Wildcard attributes have no schema type here: whatever the text looks like, it is text.
    writer->AddAttribute(m_name, m_namespace, m_value, ItemType_string);
}

CXmlElement* CAttribute::FromXml_Int(CXmlElement*, CXmlElement*, const CSerializationContext&,
                                     bool) {
    throw CTsException(M::kAttributeReadByCollection);
}

CAttributeCol::CAttributeCol(const char* namespaceUri, const char* restriction,
                             const char* targetNamespace)
    : CXmlCollection("", CollectionNamespace(namespaceUri, restriction).c_str(), 0, -1),
      CInstanceMonitor("CAttributeCol"),
      m_restriction(Text(restriction)),
      m_targetNamespace(Text(targetNamespace)) {}

CAttributeCol::CAttributeCol(const CAttributeCol& other)
    : CXmlCollection(other),
      CInstanceMonitor("CAttributeCol"),
      m_restriction(other.m_restriction),
      m_targetNamespace(other.m_targetNamespace) {}

CAttributeCol& CAttributeCol::operator=(const CAttributeCol& other) {
    CXmlCollection::operator=(other);
    m_restriction = other.m_restriction;
    m_targetNamespace = other.m_targetNamespace;
    return *this;
}

CAttributeCol::~CAttributeCol() = default;

std::string CAttributeCol::GetTargetNamespace() const { return GetNamespace(); }

CAttribute* CAttributeCol::Add(const char* name, const char* value, const char* namespaceUri) {
    TestNamespace(Text(namespaceUri), m_restriction.c_str(), m_targetNamespace.c_str());
    CSmartPtr<CAttribute> attribute(new CAttribute(name, value, namespaceUri));
    AppendItem(attribute.get());
    return attribute.get();
}

CAttribute* CAttributeCol::Add(const char* name, const char* value) {
    const std::string ns = GetNamespace();
    return Add(name, value, ns.c_str());
}

CAttribute* CAttributeCol::Add(const char* name) { return Add(name, ""); }

CAttribute* CAttributeCol::Add(CAttribute* attribute) {
    if (!attribute) throw CTsInvalidParamException(M::kNoAttributeToAdd);
    AppendItem(attribute);
    return attribute;
}

CAttribute* CAttributeCol::AddAfter(const CAttribute* existing, CAttribute* attribute) {
    if (!attribute) throw CTsInvalidParamException(M::kNoAttributeToAdd);
    AddAfterItem(existing, attribute);
    return attribute;
}

CAttribute* CAttributeCol::AddBefore(const CAttribute* existing, CAttribute* attribute) {
    if (!attribute) throw CTsInvalidParamException(M::kNoAttributeToAdd);
    AddBeforeItem(existing, attribute);
    return attribute;
}

CAttribute* CAttributeCol::Item(int index) const {
    return static_cast<CAttribute*>(GetNodeAtIndex(index)->GetItem());
}

CSmartPtr<CAttributeCol> CAttributeCol::Clone() const {
    const std::string ns = GetNamespace();
    CSmartPtr<CAttributeCol> copy(
        new CAttributeCol(ns.c_str(), m_restriction.c_str(), m_targetNamespace.c_str()));
    for (CAttribute* attribute : *this) copy->Add(attribute->Clone().get());
    return copy;
}

void CAttributeCol::ToXml_Int(CXmlWriter* writer, bool, const char* namespaceUri,
                              const CSerializationContext& context, bool) const {
    for (const CAttribute* attribute : *this)
        CXmlObjectBase::ToXml_Int(attribute, writer, false, namespaceUri, context, false);
}

CXmlElement* CAttributeCol::FromXml_Int(CXmlElement* element, CXmlElement* child,
                                        const CSerializationContext&, bool) {
    for (const CXmlAttribute* attribute : element->GetAttributes()) {
        const std::string& ns = attribute->GetNamespaceURI();
        if (!IsNamespaceValid(ns.c_str(), m_restriction.c_str(), m_targetNamespace.c_str()))
            throw CTsInvalidNamespaceException(
                FormatString(M::kInvalidAttribute, attribute->GetLocalName().c_str()),
                element->GetXPath());
        Add(attribute->GetLocalName().c_str(), attribute->GetValue().c_str(), ns.c_str());
    }
    return child;
}

}  // namespace Tessel16
