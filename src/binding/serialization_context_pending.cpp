// serialization_context_pending.cpp: the additional root attributes need the untyped
// attribute collection, which is not part of this build yet; until it is, asking for them
// fails clearly instead of handing out a collection that cannot exist.
#include "binding/binding_messages.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"

namespace Tessel16 {

CSmartPtr<CAttributeCol> CSerializationContext::GetAdditionalRootAttributes() {
    throw CTsException(FormatString(detail::kMsgNotAvailable,
                                    "CSerializationContext::GetAdditionalRootAttributes"));
}

}  // namespace Tessel16
