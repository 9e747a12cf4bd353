// untyped_access.cpp: the operations through which the element and attribute records reach
// untyped content; they keep the metadata code independent of the untyped classes' layout.
#include "metadata/untyped_access.h"

#include "metadata/object_bridge.h"
#include "tessel16/attribute.h"
#include "tessel16/element.h"

namespace Tessel16::detail {

CSmartPtr<CXmlObjectBase> CreateUntypedElement(const char* name, const char* namespaceUri,
                                               const char* restriction,
                                               const char* targetNamespace) {
    return CSmartPtr<CXmlObjectBase>(
        new CElement(name, namespaceUri, restriction, targetNamespace));
}

CXmlElement* ReadUntypedElementsNamed(CXmlCollectionBase* collection, const char* name,
                                      const char* namespaceUri, CXmlElement* parent,
                                      CXmlElement* cursor, const CSerializationContext& context) {
    if (CElementCol* elements = dynamic_cast<CElementCol*>(collection))
        return elements->FromXmlLockElementName_Int(name, namespaceUri, parent, cursor, context);
    // Any other collection in an untyped member reads the way every collection reads.
    return ObjectBridge::ReadObject(collection, parent, cursor, context);
}

bool AddUntypedAttribute(CXmlCollectionBase* collection, const std::string& localName,
                         const std::string& value, const std::string& namespaceUri) {
    CAttributeCol* attributes = dynamic_cast<CAttributeCol*>(collection);
    if (!attributes) return false;
    attributes->Add(localName.c_str(), value.c_str(), namespaceUri.c_str());
    return true;
}

}  // namespace Tessel16::detail
