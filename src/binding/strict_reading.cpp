// strict_reading.cpp: the place a strict reader gives a failure (the node's path and the
// line the parser saw it on), and the checks that only strict reading makes of a document
// as a whole: the document element and a namespace mismatch behind an unknown element.
#include "binding/strict_reading.h"

#include <cctype>

#include "tessel16/element_info.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_document.h"

namespace Tessel16::detail {

namespace {

// The message as it was raised, without the "\nPath: ..." the constructor appended.
std::string BareMessage(const CTsException& error) {
    std::string message = error.GetMessage();
    const std::string suffix = "\nPath: " + error.GetPath();
    if (!error.GetPath().empty() && message.size() >= suffix.size() &&
        message.compare(message.size() - suffix.size(), suffix.size(), suffix) == 0)
        message.resize(message.size() - suffix.size());
    return message;
}

}  // namespace

bool NamesLine(const CTsException& error) {
    const std::string message = BareMessage(error);
    std::size_t end = message.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(message[end - 1]))) --end;
    static const std::string kMarker = " at line ";
    return end < message.size() && end >= kMarker.size() &&
           message.compare(end - kMarker.size(), kMarker.size(), kMarker) == 0;
}

void RethrowAt(const CTsException& error, const CXmlElement& element, const std::string& path,
               const std::string& note) {
    // A tree that did not come from XML text has no lines to name; its path still places it.
    std::string message = BareMessage(error) + note;
    if (element.GetLineNumber() > 0) message += FormatString(kMsgAtLine, element.GetLineNumber());
    const std::string& where = error.GetPath().empty() ? path : error.GetPath();
    const CTsException* inner = error.GetInnerException();
    const CTsException placed =
        inner ? CTsException(message, where, *inner) : CTsException(message, where);
    // Most derived first: a handler for the original class must still catch the result.
    if (dynamic_cast<const CTsInvalidValueException*>(&error))
        throw CTsInvalidValueException(placed);
    if (dynamic_cast<const CTsInvalidNamespaceException*>(&error))
        throw CTsInvalidNamespaceException(placed);
    if (dynamic_cast<const CTsValidationException*>(&error)) throw CTsValidationException(placed);
    if (dynamic_cast<const CTsInvalidParamException*>(&error))
        throw CTsInvalidParamException(placed);
    if (dynamic_cast<const CTsInvalidStateException*>(&error))
        throw CTsInvalidStateException(placed);
    if (dynamic_cast<const CTsOverFlowException*>(&error)) throw CTsOverFlowException(placed);
    throw placed;
}

void CheckRootElement(const CSerializationContext& context, const CXmlElement& root,
                      const std::string& elementName, const std::string& namespaceUri) {
    const bool namespacesCount =
        !context.GetIgnoreNamespaces() && context.GetSchemaType() != SchemaType_NoNamespaces;
    if (root.GetLocalName() == elementName &&
        (!namespacesCount || root.GetNamespaceURI() == namespaceUri))
        return;
    const CTsValidationException error(
        FormatString(kMsgRootMismatch, root.GetLocalName().c_str(), root.GetNamespaceURI().c_str(),
                     elementName.c_str(), namespaceUri.c_str()),
        std::string());
    RethrowAt(error, root, root.GetXPath());
}

std::string NamespaceMismatchNote(const CSerializationContext& context, const CXmlElement& element,
                                  Tessel16Data::CElementInfo* const* records) {
    if (!records || context.GetIgnoreNamespaces() ||
        context.GetSchemaType() == SchemaType_NoNamespaces)
        return std::string();
    for (const CXmlElement* child = element.GetFirstElement(); child;
         child = child->GetNextSiblingElement()) {
        const Tessel16Data::CElementInfo* sameName = nullptr;
        bool exact = false;
        for (Tessel16Data::CElementInfo* const* record = records; *record; ++record) {
            if ((*record)->GetElementName() != child->GetLocalName()) continue;
            if ((*record)->GetNamespace() == child->GetNamespaceURI()) exact = true;
            if (!sameName) sameName = *record;
        }
        if (sameName && !exact)
            return FormatString(kMsgNamespaceNote, child->GetLocalName().c_str(),
                                child->GetNamespaceURI().c_str(), sameName->GetNamespace().c_str());
    }
    return std::string();
}

}  // namespace Tessel16::detail
