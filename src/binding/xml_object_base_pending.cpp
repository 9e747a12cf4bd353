// xml_object_base_pending.cpp: entry points whose reader or writer is not part of this
// build yet (JSON, Fast Infoset). Each checks the version like every entry point
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

void CXmlObjectBase::ToJsonFile(const char*, bool, XmlEncoding, EOLType,
                                const CSerializationContext&, CompressionType) const {
    NotAvailable("ToJsonFile");
}

std::string CXmlObjectBase::ToJson(bool, EOLType, const CSerializationContext&) {
    NotAvailable("ToJson");
}

CBinaryData CXmlObjectBase::ToJsonStream(bool, XmlEncoding, EOLType,
                                         const CSerializationContext&, CompressionType) {
    NotAvailable("ToJsonStream");
}

void CXmlObjectBase::FromJsonFile(const char*, const CSerializationContext&) {
    NotAvailable("FromJsonFile");
}

void CXmlObjectBase::FromJson(const unsigned short*, const CSerializationContext&) {
    NotAvailable("FromJson");
}

void CXmlObjectBase::FromJson(const char*, const CSerializationContext&) {
    NotAvailable("FromJson");
}

void CXmlObjectBase::FromJsonStream(const CBinaryData&, const CSerializationContext&) {
    NotAvailable("FromJsonStream");
}

void CXmlObjectBase::FromJsonStream(unsigned char* const, std::uint32_t,
                                    const CSerializationContext&) {
    NotAvailable("FromJsonStream");
}

}  // namespace Tessel16
