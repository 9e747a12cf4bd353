// untyped_entry_points.cpp: the places where the binding core meets untyped content: reading
// a bound object from an untyped element, and the context's extra root attributes, which are
// an untyped attribute collection that accepts any namespace.
#include "binding/entry_support.h"
#include "tessel16/element.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "untyped/untyped_messages.h"

namespace Tessel16 {

void CXmlObjectBase::FromXmlElement(const CElement* element, const CSerializationContext& context) {
    detail::CheckGeneratorVersion();
    if (!element) throw CTsInvalidParamException(detail::UntypedMessages::kNoElementToRead);
    // The element is written with default settings and parsed again under the caller's, so
    // what the object reads is exactly what the untyped element would write.
    CElement* source = const_cast<CElement*>(element);
    const std::string text =
        source->ToXml(false, false, EOLType_LF, CSerializationContext::GetDefaultContext());
    FromXml(text.c_str(), context);
}

CSmartPtr<CAttributeCol> CSerializationContext::GetAdditionalRootAttributes() {
    return static_cast<const CSerializationContext*>(this)->GetAdditionalRootAttributes();
}

CSmartPtr<CAttributeCol> CSerializationContext::GetAdditionalRootAttributes() const {
    if (!m_additionalRootAttributes) {
        CAttributeCol* attributes = new CAttributeCol("", "##any", "");
        attributes->AddRef();
        m_additionalRootAttributes = attributes;
    }
    return CSmartPtr<CAttributeCol>(static_cast<CAttributeCol*>(m_additionalRootAttributes));
}

}  // namespace Tessel16
