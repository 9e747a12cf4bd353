// element.cpp: untyped elements. An element admitted by a wildcard is kept as plain data and
// written back as it came: attributes on its start tag, child elements, then its text. An
// element that arrived with its own default namespace declaration is written as a separate
// fragment so that the declaration scopes exactly its subtree.
#include "tessel16/element.h"

#include "binding/entry_support.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/streams.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_text_writer.h"
#include "untyped/untyped_messages.h"
#include "xml/xml_messages.h"

namespace Tessel16 {

namespace M = detail::UntypedMessages;

namespace {
const char* Text(const char* value) { return value ? value : ""; }

const CXmlElement* RootOf(const CXmlDocument& document) {
    const CXmlElement* root = document.GetDocumentElement();
    if (!root) throw CTsException(detail::XmlMessages::kInvalidOrEmpty);
    return root;
}
}  // namespace

CElement::CElement(const char* name) : CInstanceMonitor("CElement") { Init(name, "", "##any", ""); }

CElement::CElement(const char* name, const char* namespaceUri) : CInstanceMonitor("CElement") {
    const std::string ns = Text(namespaceUri);
    // The namespace doubles as the restriction here, so a keyword would make the element
    // admit namespaces it is not in.
    if (ns == "##any" || ns == "##other" || ns == "##local" || ns == "##targetNamespace")
        throw CTsInvalidNamespaceException(FormatString(M::kInvalidNamespaceArgument, ns.c_str()),
                                           "");
    Init(name, ns.c_str(), ns.c_str(), "");
}

CElement::CElement(const char* name, const char* namespaceUri, const char* restriction,
                   const char* targetNamespace)
    : CInstanceMonitor("CElement") {
    Init(name, namespaceUri, restriction, targetNamespace);
}

CElement::CElement(CXmlObjectBase* object, const char* defaultNamespace)
    : CInstanceMonitor("CElement") {
    Init("", "", "##any", "");
    if (!object) throw CTsInvalidParamException(M::kNoSourceObject);
    if (defaultNamespace) m_defaultNamespaceDecl = defaultNamespace;
    CSerializationContext context;
    context.SetDefaultNamespaceURI(m_defaultNamespaceDecl.c_str());
    CBinaryData bytes = object->ToXmlStream(false, false, XmlEncoding_UTF8, EOLType_LF, context,
                                            CompressionType_None);
    CXmlDocument document(context);
    document.LoadXmlStream(bytes.GetData(), bytes.GetLength());
    CopyXmlElement(document.GetDocumentElement());
}

CElement::CElement(const CElement& other)
    : CXmlObjectBase(other),
      CInstanceMonitor("CElement"),
      m_name(other.m_name),
      m_text(other.m_text),
      m_namespace(other.m_namespace),
      m_restriction(other.m_restriction),
      m_targetNamespace(other.m_targetNamespace),
      m_attributes(other.m_attributes),
      m_children(other.m_children),
      m_defaultNamespaceDecl(other.m_defaultNamespaceDecl) {}

CElement& CElement::operator=(const CElement& other) {
    CXmlObjectBase::operator=(other);
    m_name = other.m_name;
    m_text = other.m_text;
    m_namespace = other.m_namespace;
    m_restriction = other.m_restriction;
    m_targetNamespace = other.m_targetNamespace;
    m_attributes = other.m_attributes;
    m_children = other.m_children;
    m_defaultNamespaceDecl = other.m_defaultNamespaceDecl;
    return *this;
}

CElement::~CElement() = default;

CSmartPtr<CElementCol> CElement::GetChildElements() const { return m_children; }

void CElement::Init(const char* name, const char* namespaceUri, const char* restriction,
                    const char* targetNamespace) {
    if (!name) throw CTsInvalidNamespaceException(M::kElementNameMissing, "");
    if (!restriction) throw CTsInvalidNamespaceException(M::kRestrictionMissing, "");
    if (!targetNamespace) throw CTsInvalidNamespaceException(M::kTargetNamespaceMissing, "");
    TestNamespace(Text(namespaceUri), restriction, targetNamespace);
    m_name = name;
    m_namespace = Text(namespaceUri);
    m_restriction = restriction;
    m_targetNamespace = targetNamespace;
    m_attributes = new CAttributeCol(m_namespace.c_str(), "##any", targetNamespace);
    m_children = new CElementCol(m_namespace.c_str(), "##any", targetNamespace, 0, -1);
}

void CElement::CopyXmlElement(const CXmlElement* source) {
    m_name = source->GetLocalName();
    m_namespace = source->GetNamespaceURI();
    m_text = source->GetText();
    m_attributes->Clear();
    m_children->Clear();
    for (const CXmlAttribute* attribute : source->GetAttributes()) {
        m_attributes->Add(attribute->GetLocalName().c_str(), attribute->GetValue().c_str(),
                          attribute->GetNamespaceURI().c_str());
        // Only a tree parsed without namespace processing shows declarations as attributes.
        if (attribute->GetLocalName() == "xmlns") m_defaultNamespaceDecl = attribute->GetValue();
    }
    for (const CXmlElement* child = source->GetFirstElement(); child;
         child = child->GetNextSiblingElement()) {
        CSmartPtr<CElement> element(new CElement(child->GetLocalName().c_str()));
        element->CopyXmlElement(child);
        m_children->Add(element.get());
    }
}

CSmartPtr<CElement> CElement::Clone() const {
    // Built field by field: the namespace may have been changed by SetNamespace since the
    // constraint was last checked, and a clone must not fail where the original stands.
    CSmartPtr<CElement> copy(new CElement(m_name.c_str()));
    copy->m_text = m_text;
    copy->m_namespace = m_namespace;
    copy->m_restriction = m_restriction;
    copy->m_targetNamespace = m_targetNamespace;
    copy->m_defaultNamespaceDecl = m_defaultNamespaceDecl;
    copy->m_attributes = m_attributes->Clone();
    copy->m_children = m_children->Clone();
    return copy;
}

void CElement::FromXml(const char* xmlText) {
    CXmlDocument document;
    document.LoadXml(xmlText);
    CopyXmlElement(RootOf(document));
}

void CElement::FromXml(const char* xmlText, const CSerializationContext& context) {
    detail::CheckGeneratorVersion();
    CXmlDocument document(context);
    document.LoadXml(xmlText);
    CopyXmlElement(RootOf(document));
}

void CElement::FromXml(const unsigned short* xmlText, const CSerializationContext& context) {
    detail::CheckGeneratorVersion();
    CXmlDocument document(context);
    document.LoadXml(xmlText);
    CopyXmlElement(RootOf(document));
}

void CElement::FromXmlFile(const char* fileName, const CSerializationContext& context) {
    detail::CheckGeneratorVersion();
    CXmlDocument document(context);
    document.Load(fileName);
    CopyXmlElement(RootOf(document));
}

void CElement::FromXmlStream(unsigned char* const data, std::uint32_t length,
                             const CSerializationContext& context) {
    detail::CheckGeneratorVersion();
    CXmlDocument document(context);
    document.LoadXmlStream(data, length);
    CopyXmlElement(RootOf(document));
}

void CElement::FromXmlElement(const CXmlElement* element, const CSerializationContext&) {
    detail::CheckGeneratorVersion();
    if (!element) throw CTsInvalidParamException(detail::XmlMessages::kNullElement);
    CopyXmlElement(element);
}

void CElement::SetNamespaceRestrictions(const char* restriction, const char* targetNamespace) {
    if (!restriction) throw CTsInvalidNamespaceException(M::kRestrictionMissing, "");
    if (!targetNamespace) throw CTsInvalidNamespaceException(M::kTargetNamespaceMissing, "");
    TestNamespace(m_namespace.c_str(), restriction, targetNamespace);
    for (const CElement* child : *m_children) {
        try {
            TestNamespace(child->m_namespace.c_str(), restriction, targetNamespace);
        } catch (const CTsException& error) {
            throw CTsInvalidNamespaceException(
                FormatString(M::kChildBreaksRestriction, child->m_namespace.c_str(),
                             child->m_name.c_str(), restriction),
                "", error);
        }
    }
    for (CElement* child : *m_children)
        child->SetNamespaceRestrictions(restriction, targetNamespace);
    m_restriction = restriction;
    m_targetNamespace = targetNamespace;
}

void CElement::ToXml_Int(CXmlWriter* writer, bool, const char* namespaceUri,
                         const CSerializationContext& context, bool inChoice) const {
    if (!m_defaultNamespaceDecl.empty() && dynamic_cast<CXmlTextWriter*>(writer)) {
        WriteWithDefaultNamespace(writer, context, inChoice);
        return;
    }
    // Writers other than XML text cannot take a raw fragment; they get the element the
    // ordinary way, which names the same namespaces without the separate declaration.
    writer->StartElement(m_name, m_namespace);
    CXmlObjectBase::ToXml_Int(m_attributes.get(), writer, false, namespaceUri, context, false);
    CXmlObjectBase::ToXml_Int(m_children.get(), writer, false, namespaceUri, context, inChoice);
    writer->WriteText(m_text, ItemType_string, false);
    writer->EndElement();
}

void CElement::WriteWithDefaultNamespace(CXmlWriter* writer, const CSerializationContext&,
                                         bool inChoice) const {
    CXmlTextWriter* outer = static_cast<CXmlTextWriter*>(writer);
    CTextStream stream;
    std::string fragment;
    {
        CXmlTextWriter inner(&stream);
        inner.StartDocument();
        inner.SetFormatted(outer->IsFormatted());
        inner.SetEOLType(outer->GetEOLType());
        inner.SetDefaultNamespace(m_defaultNamespaceDecl);
        inner.StartElement(m_name, m_namespace);
        // The fragment starts a namespace scope of its own, so its children are written under
        // settings that know only this declaration.
        CSerializationContext fragmentContext;
        fragmentContext.SetDefaultNamespaceURI(m_defaultNamespaceDecl.c_str());
        CXmlObjectBase::ToXml_Int(m_children.get(), &inner, false, m_namespace.c_str(),
                                  fragmentContext, inChoice);
        inner.WriteText(m_text, ItemType_string, false);
        inner.EndElement();
        inner.EndDocument();
        fragment = stream.GetString();
    }
    // The outer writer ends the raw fragment's line itself.
    while (!fragment.empty() && (fragment.back() == '\n' || fragment.back() == '\r'))
        fragment.pop_back();
    outer->PrepareForRawChild();
    outer->WriteRaw(fragment);
}

CXmlElement* CElement::FromXml_Int(CXmlElement*, CXmlElement* element,
                                   const CSerializationContext& context, bool) {
    if (!element) return element;
    const std::string& ns = element->GetNamespaceURI();
    if (!IsNamespaceValid(ns.c_str(), m_restriction.c_str(), m_targetNamespace.c_str()))
        return element;
    CXmlObjectBase::FromXml_Int(m_attributes.get(), element, nullptr, context);
    CXmlElement* rest =
        CXmlObjectBase::FromXml_Int(m_children.get(), element, element->GetFirstElement(), context);
    // The child collection admits "##any": a wildcard's constraint covers the element it
    // admitted, not that element's own content, so every child is taken and this is a guard
    // for a child collection that stops early rather than a rule a document can break.
    if (rest)
        throw CTsValidationException(
            FormatString(M::kInvalidElement, element->GetLocalName().c_str()), element->GetXPath());
    m_text = element->GetText();
    m_name = element->GetLocalName();
    m_namespace = ns;
    return element->GetNextSiblingElement();
}

}  // namespace Tessel16
