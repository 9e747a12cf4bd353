// xml_object_base_pending.cpp: entry points whose reader or writer is not part of this
// build yet (Fast Infoset). Each checks the version like every entry point
// and then refuses clearly, so a caller never gets a silent no-op. Replaced piece by piece
// as those subsystems land.
#include "binding/binding_messages.h"
#include "binding/entry_support.h"
#include "tessel16/exception.h"
#include "tessel16/xml_object_base.h"

namespace Tessel16 {

namespace {
[[noreturn]] void NotAvailable(const char* what) {
    detail::CheckGeneratorVersion();
    throw CTsException(FormatString(detail::kMsgNotAvailable, what));
}
}  // namespace

void CXmlObjectBase::ToFastInfosetFile(const char*, FInfoDecl, const CSerializationContext&,
                                       CompressionType) const {
    NotAvailable("ToFastInfosetFile");
}

CBinaryData CXmlObjectBase::ToFastInfosetStream(FInfoDecl, const CSerializationContext&,
                                                CompressionType) {
    NotAvailable("ToFastInfosetStream");
}

}  // namespace Tessel16
