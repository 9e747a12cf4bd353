// lexical_check.h: recognisers for the exact lexical forms of the value kinds, used by the
// strict reading mode before the ordinary (lenient) conversion runs. Internal to the library.
#pragma once

#include <string>

#include "tessel16/types.h"

namespace Tessel16::detail {

// Whether t is base64 text: alphabet characters and blanks, padded to whole groups of four
// with at most two '=' at the end. `exact` also refuses any blank but single spaces between
// characters and unused bits that are not zero, as the canonical alphabet requires.
bool IsBase64Text(const std::string& t, bool exact);

// Throws CTsInvalidValueException, with the message the kind's conversion gives for text it
// cannot read, when t (the text after the whitespace rule) is not in the exact lexical space
// of `type`; for the date kinds this also refuses the form of another date kind.
void CheckExactLexicalForm(ItemType type, const std::string& t);

}  // namespace Tessel16::detail
