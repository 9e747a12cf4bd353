// xml_object_base_input.cpp: the XML input entry points of CXmlObjectBase. Each one parses
// into a document it owns for the length of the call (destroyed on return and on throw)
// and hands the document element to the object's FromXml_Int. Running out of memory on the
// way is reported like any other input failure.
#include <cstring>
#include <new>

#include "binding/entry_support.h"
#include "binding/name_match.h"
#include "binding/strict_reading.h"
#include "tessel16/binary_data.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_collection.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_generated_class.h"
#include "tessel16/xml_object_base.h"
#include "xml/xml_messages.h"
#include "xml/xml_stream.h"

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

}  // namespace

void CXmlObjectBase::FromLoadedXml(const CSerializationContext& context,
                                   void (*load)(CXmlDocument& document, const void* source),
                                   const void* source) {
    {
        CXmlDocument document(context);
        // Only generated classes read while parsing: untyped content copies the whole tree
        // anyway, and a collection as the document's object is rare enough to stay whole.
        document.m_streamRequested = dynamic_cast<CXmlGeneratedClass*>(this) != nullptr;
        load(document, source);
        CXmlElement* root = RootOf(document);
        if (!document.m_stream) {
            ReadDocumentElement(root, context);
            return;
        }
        bool again = false;
        try {
            ReadDocumentElement(root, context);
            document.m_stream->Finish();
            again = !document.m_stream->IsFaithful();
        } catch (const std::bad_alloc&) {
            throw;
        } catch (...) {
            // A whole-tree read reports a malformed document before binding anything.
            document.m_stream->Finish();
            again = true;
        }
        if (!again) return;
    }
    CXmlDocument document(context);
    load(document, source);
    ReadDocumentElement(RootOf(document), context);
}

void CXmlObjectBase::FromXml(const char* xmlText, const CSerializationContext& context) try {
    detail::CheckGeneratorVersion();
    FromLoadedXml(
        context,
        [](CXmlDocument& document, const void* text) {
            document.LoadXml(static_cast<const char*>(text));
        },
        xmlText);
} catch (const std::bad_alloc&) {
    detail::RefuseOutOfMemory();
}

void CXmlObjectBase::FromXml(const unsigned short* xmlText,
                             const CSerializationContext& context) try {
    detail::CheckGeneratorVersion();
    FromLoadedXml(
        context,
        [](CXmlDocument& document, const void* text) {
            document.LoadXml(static_cast<const unsigned short*>(text));
        },
        xmlText);
} catch (const std::bad_alloc&) {
    detail::RefuseOutOfMemory();
}

void CXmlObjectBase::FromXmlFile(const char* fileName, const CSerializationContext& context) try {
    detail::CheckGeneratorVersion();
    FromLoadedXml(
        context,
        [](CXmlDocument& document, const void* name) {
            document.Load(static_cast<const char*>(name));
        },
        fileName);
} catch (const std::bad_alloc&) {
    detail::RefuseOutOfMemory();
}

void CXmlObjectBase::FromXmlStream(unsigned char* const data, std::uint32_t length,
                                   const CSerializationContext& context) try {
    detail::CheckGeneratorVersion();
    struct Block {
        unsigned char* data;
        std::uint32_t length;
    } block{data, length};
    FromLoadedXml(
        context,
        [](CXmlDocument& document, const void* source) {
            const Block& bytes = *static_cast<const Block*>(source);
            document.LoadXmlStream(bytes.data, bytes.length);
        },
        &block);
} catch (const std::bad_alloc&) {
    detail::RefuseOutOfMemory();
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
    detail::RefuseOutOfMemory();
}

bool CXmlObjectBase::DoesElementNameMatch(const CSerializationContext& context,
                                          const CXmlElement* element, const char* localName,
                                          const char* namespaceUri) const {
    // Measured first: every item of a collection asks with the same short names, and a
    // length check with two word comparisons beats a walk over each character.
    const char* name = localName ? localName : "";
    if (!element || !detail::SameAsText(element->GetLocalName(), name, std::strlen(name)))
        return false;
    if (context.GetSchemaType() == SchemaType_NoNamespaces || context.GetIgnoreNamespaces())
        return true;
    const char* uri = namespaceUri ? namespaceUri : "";
    return detail::SameAsText(element->GetNamespaceURI(), uri, std::strlen(uri));
}

}  // namespace Tessel16
