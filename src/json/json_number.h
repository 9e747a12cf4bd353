// json_number.h: the RFC 8259 number grammar, shared by the writer (which writes a typed
// value bare only when its text is a JSON literal) and its tests.
#pragma once

namespace Tessel16::detail {

// True when the zero-terminated text is "true", "false" or a JSON number:
// -? (0 | [1-9][0-9]*) (. [0-9]+)? ([eE] [+-]? [0-9]+)?
bool IsJsonLiteral(const char* text);

}  // namespace Tessel16::detail
