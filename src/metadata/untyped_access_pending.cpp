// untyped_access_pending.cpp: stands in for the untyped content until CElement, CElementCol
// and CAttributeCol are part of the build; each operation refuses clearly. The untyped
// subsystem replaces this file with the real operations of untyped_access.h.
#include "binding/binding_messages.h"
#include "metadata/untyped_access.h"
#include "tessel16/exception.h"

namespace Tessel16::detail {

CSmartPtr<CXmlObjectBase> CreateUntypedElement(const char*, const char*, const char*, const char*) {
    throw CTsException(FormatString(kMsgNotAvailable, "CElement"));
}

CXmlElement* ReadUntypedElementsNamed(CXmlCollectionBase*, const char*, const char*, CXmlElement*,
                                      CXmlElement*, const CSerializationContext&) {
    throw CTsException(FormatString(kMsgNotAvailable, "CElementCol"));
}

bool AddUntypedAttribute(CXmlCollectionBase*, const std::string&, const std::string&,
                         const std::string&) {
    throw CTsException(FormatString(kMsgNotAvailable, "CAttributeCol"));
}

}  // namespace Tessel16::detail
