// element.cpp: untyped elements: construction, copying and the plain accessors. What walks a
// whole subtree (reading, writing, cloning, copying a parsed tree, re-checking namespaces)
// lives in element_tree.cpp.
#include "tessel16/element.h"

#include <new>

#include "binding/entry_support.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/streams.h"
#include "tessel16/xml_document.h"
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
      m_attributes(&other.Attributes()),
      m_children(&other.Children()),
      m_defaultNamespaceDecl(other.m_defaultNamespaceDecl),
      m_collectionNamespace(other.m_collectionNamespace),
      m_collectionTargetNamespace(other.m_collectionTargetNamespace) {}

CElement& CElement::operator=(const CElement& other) {
    CXmlObjectBase::operator=(other);
    m_name = other.m_name;
    m_text = other.m_text;
    m_namespace = other.m_namespace;
    m_restriction = other.m_restriction;
    m_targetNamespace = other.m_targetNamespace;
    m_attributes = &other.Attributes();
    m_children = &other.Children();
    m_defaultNamespaceDecl = other.m_defaultNamespaceDecl;
    m_collectionNamespace = other.m_collectionNamespace;
    m_collectionTargetNamespace = other.m_collectionTargetNamespace;
    return *this;
}

CElement::~CElement() = default;

CSmartPtr<CAttributeCol> CElement::GetAttributes() const { return &Attributes(); }

CSmartPtr<CElementCol> CElement::GetChildElements() const { return &Children(); }

CAttributeCol& CElement::Attributes() const {
    if (!m_attributes)
        m_attributes = new CAttributeCol(m_collectionNamespace.c_str(), "##any",
                                         m_collectionTargetNamespace.c_str());
    return *m_attributes;
}

CElementCol& CElement::Children() const {
    if (!m_children)
        m_children = new CElementCol(m_collectionNamespace.c_str(), "##any",
                                     m_collectionTargetNamespace.c_str(), 0, -1);
    return *m_children;
}

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
    m_collectionNamespace = m_namespace;
    m_collectionTargetNamespace = targetNamespace;
    m_attributes = nullptr;
    m_children = nullptr;
}

// Parses into a document of its own and copies the document element with its whole subtree.
// Running out of memory is reported like any input failure; the parsed tree is gone by then,
// and what was copied stays, as after any failed read. The entry points that take a context
// are the object base's; they hand their document element to ReadDocumentElement.
void CElement::FromXml(const char* xmlText) try {
    CXmlDocument document;
    document.LoadXml(xmlText);
    CopyXmlElement(RootOf(document));
} catch (const std::bad_alloc&) {
    detail::RefuseOutOfMemory();
}

void CElement::ReadDocumentElement(CXmlElement* root, const CSerializationContext&) {
    CopyXmlElement(root);
}

}  // namespace Tessel16
