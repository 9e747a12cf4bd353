// untyped_access.h: the three things the records need from the untyped content (elements
// and attributes held as name, namespace and text). The records know those classes only
// through these operations, so the metadata code does not depend on their layout.
#pragma once

#include <string>

#include "tessel16/fwd.h"
#include "tessel16/smart_ptr.h"

namespace Tessel16::detail {

// A new untyped element (CElement) with the given name, namespace, namespace restriction
// and target namespace.
CSmartPtr<CXmlObjectBase> CreateUntypedElement(const char* name, const char* namespaceUri,
                                               const char* restriction,
                                               const char* targetNamespace);
// Reads consecutive elements of one name and namespace into an untyped element collection
// (CElementCol::FromXmlLockElementName_Int); returns the first element it did not take.
CXmlElement* ReadUntypedElementsNamed(CXmlCollectionBase* collection, const char* name,
                                      const char* namespaceUri, CXmlElement* parent,
                                      CXmlElement* cursor, const CSerializationContext& context);
// Adds an attribute to an untyped attribute collection (CAttributeCol::Add); false when the
// collection is not a CAttributeCol.
bool AddUntypedAttribute(CXmlCollectionBase* collection, const std::string& localName,
                         const std::string& value, const std::string& namespaceUri);

}  // namespace Tessel16::detail
