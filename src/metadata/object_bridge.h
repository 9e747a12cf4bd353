// object_bridge.h: how the records and the engine reach the protected operations of any
// bindable object. CXmlObjectBase offers static bridges to its derived classes only; this
// never-instantiated subclass re-exports them to the metadata code of the library.
#pragma once

#include "tessel16/xml_object_base.h"

namespace Tessel16::detail {

class ObjectBridge : public CXmlObjectBase {
public:
    ObjectBridge() = delete;

    static void WriteObject(const CXmlObjectBase* object, CXmlWriter* writer, bool isRoot,
                            const char* namespaceUri, const CSerializationContext& context,
                            bool inChoice) {
        CXmlObjectBase::ToXml_Int(object, writer, isRoot, namespaceUri, context, inChoice);
    }
    static void WriteAttributes(const CXmlObjectBase* object, CXmlWriter* writer,
                                const CSerializationContext& context) {
        CXmlObjectBase::AttributesToXml_Int(object, writer, context);
    }
    static CXmlElement* ReadObject(CXmlObjectBase* object, CXmlElement* element, CXmlElement* child,
                                   const CSerializationContext& context) {
        return CXmlObjectBase::FromXml_Int(object, element, child, context);
    }
};

// The raw pointer a counted reference holds (null for none).
template <class T>
T* RawPtr(const CSmartPtr<T>& pointer) {
    return pointer.get();
}

}  // namespace Tessel16::detail
