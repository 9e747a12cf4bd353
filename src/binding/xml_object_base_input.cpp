// xml_object_base_input.cpp: the XML input entry points of CXmlObjectBase. Each one parses
// into a document it owns for the length of the call (destroyed on return and on throw)
// and hands the document element to the object's FromXml_Int. Running out of memory on the
// way is reported like any other input failure.
#include <new>

#include "binding/entry_support.h"
#include "binding/strict_reading.h"
#include "tessel16/binary_data.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_collection.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_object_base.h"
#include "xml/xml_messages.h"

namespace Tessel16 {

namespace {

// A load that produced no tree is an empty document rather than something to hand on as
// null.
CXmlElement* RootOf(CXmlDocument& document) {
    CXmlElement* root = document.GetDocumentElement();
    if (!root) throw CTsException(detail::XmlMessages::kInvalidOrEmpty);
    return root;
}

// Strict reading refuses a document whose element is not the object's own: the name the
// object carries (given by its constructor, or taken from the element it last read) in the
// object's namespace. A collection names its items, not a document element, so it has
// nothing to compare.
void CheckRoot(const CSerializationContext& context, const CXmlElement& root,
               const CXmlObjectBase& object, const std::string& elementName) {
    if (!context.GetStrictReading() || elementName.empty() ||
        dynamic_cast<const CXmlCollectionBase*>(&object))
        return;
    detail::CheckRootElement(context, root, elementName, object.GetNamespace());
}

// The document and the partly read objects are gone by the time the handler runs, so the
// memory is back before the caller sees the exception.
[[noreturn]] void RefuseOutOfMemory() { throw CTsException(detail::XmlMessages::kOutOfMemory); }

}  // namespace

void CXmlObjectBase::FromXml(const char* xmlText, const CSerializationContext& context) try {
    detail::CheckGeneratorVersion();
    CXmlDocument document(context);
    document.LoadXml(xmlText);
    ReadDocumentElement(RootOf(document), context);
} catch (const std::bad_alloc&) {
    RefuseOutOfMemory();
}

void CXmlObjectBase::FromXml(const unsigned short* xmlText,
                             const CSerializationContext& context) try {
    detail::CheckGeneratorVersion();
    CXmlDocument document(context);
    document.LoadXml(xmlText);
    ReadDocumentElement(RootOf(document), context);
} catch (const std::bad_alloc&) {
    RefuseOutOfMemory();
}

void CXmlObjectBase::FromXmlFile(const char* fileName, const CSerializationContext& context) try {
    detail::CheckGeneratorVersion();
    CXmlDocument document(context);
    document.Load(fileName);
    ReadDocumentElement(RootOf(document), context);
} catch (const std::bad_alloc&) {
    RefuseOutOfMemory();
}

void CXmlObjectBase::FromXmlStream(unsigned char* const data, std::uint32_t length,
                                   const CSerializationContext& context) try {
    detail::CheckGeneratorVersion();
    CXmlDocument document(context);
    document.LoadXmlStream(data, length);
    ReadDocumentElement(RootOf(document), context);
} catch (const std::bad_alloc&) {
    RefuseOutOfMemory();
}

void CXmlObjectBase::ReadDocumentElement(CXmlElement* root, const CSerializationContext& context) {
    CheckRoot(context, *root, *this, GetElementName());
    FromXml_Int(root, root->GetFirstElement(), context, false);
}

void CXmlObjectBase::FromXmlStream(const CBinaryData& data, const CSerializationContext& context) {
    FromXmlStream(data.GetData(), data.GetLength(), context);
}

void CXmlObjectBase::FromXmlElement(const CXmlElement* element,
                                    const CSerializationContext& context) try {
    detail::CheckGeneratorVersion();
    if (!element) throw CTsInvalidParamException(detail::XmlMessages::kNullElement);
    // The tree stays the caller's; reading never changes it, whatever the signature says.
    ReadDocumentElement(const_cast<CXmlElement*>(element), context);
} catch (const std::bad_alloc&) {
    RefuseOutOfMemory();
}

bool CXmlObjectBase::DoesElementNameMatch(const CSerializationContext& context,
                                          const CXmlElement* element, const char* localName,
                                          const char* namespaceUri) const {
    if (!element) return false;
    if (element->GetLocalName() != (localName ? localName : "")) return false;
    if (context.GetSchemaType() == SchemaType_NoNamespaces || context.GetIgnoreNamespaces())
        return true;
    return element->GetNamespaceURI() == (namespaceUri ? namespaceUri : "");
}

}  // namespace Tessel16
