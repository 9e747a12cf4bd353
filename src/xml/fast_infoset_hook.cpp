// fast_infoset_hook.cpp: the hand-off to the Fast Infoset reader, which recognises its input
// by the identification octets (behind an optional XML declaration).
#include "xml/fast_infoset_hook.h"

#include "fastinfoset/fastinfoset_reader.h"
#include "tessel16/serialization_context.h"

namespace Tessel16::detail {

bool ReadFastInfoset(CXmlDocument& document, const CSerializationContext& context) {
    CFastInfosetReader reader(context.GetFIContext(), &document);
    return reader.Parse();
}

}  // namespace Tessel16::detail
