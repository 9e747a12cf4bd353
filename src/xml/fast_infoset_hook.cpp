// fast_infoset_hook.cpp: the hand-off to the Fast Infoset reader. Until that reader is
// part of the library no input is recognised as Fast Infoset, so everything goes to expat.
#include "xml/fast_infoset_hook.h"

namespace Tessel16::detail {

bool ReadFastInfoset(CXmlDocument&, const CSerializationContext&) { return false; }

}  // namespace Tessel16::detail
