// class_factory.cpp: the xsi:type helpers of the generated factories. The type name is a
// QName whose prefix is resolved against the document's prefix map, which is all a parsed
// tree keeps of the namespace declarations.
#include "tessel16/class_factory.h"

#include "binding/engine_messages.h"
#include "tessel16/xml_document.h"

namespace Tessel16 {

namespace {

const std::string& RawTypeOf(CXmlElement* element) {
    return element->GetAttribute("type", detail::kXsiNamespace);
}

}  // namespace

CClassfactoryBase::~CClassfactoryBase() = default;

std::string CClassfactoryBase::GetElementType(CXmlElement* element) {
    const std::string& type = RawTypeOf(element);
    const std::string::size_type colon = type.find(':');
    return colon == std::string::npos ? type : type.substr(colon + 1);
}

std::string CClassfactoryBase::GetElementTypeNamespaceUri(CXmlElement* element) {
    const std::string& type = RawTypeOf(element);
    const std::string::size_type colon = type.find(':');
    if (colon == std::string::npos) return element->GetNamespaceURI();
    const std::string prefix = type.substr(0, colon);
    const CXmlDocument* document = element->GetDocument();
    std::string uri;
    if (document) {
        uri = const_cast<CXmlDocument*>(document)->LookupNamespaceFromAlias(prefix.c_str());
    }
    return uri.empty() ? element->GetNamespaceURI() : uri;
}

}  // namespace Tessel16
