// fast_infoset_hook.h: where the loader offers its (inflated) input to the Fast Infoset
// reader before handing it to expat. Kept as one function so the loader does not depend on
// how the Fast Infoset reader is built.
#pragma once

#include "tessel16/fwd.h"

namespace Tessel16::detail {

// Builds the document's tree from its input buffer and returns true when the input is a
// Fast Infoset document; returns false, leaving the document untouched, otherwise.
bool ReadFastInfoset(CXmlDocument& document, const CSerializationContext& context);

}  // namespace Tessel16::detail
