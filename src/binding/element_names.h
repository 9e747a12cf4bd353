// element_names.h: the process-wide table of element names that bindable objects point at
// instead of each holding a string of its own. An object's name is nearly always one of its
// schema's few names, so two objects per order line save two strings' worth of memory.
#pragma once

namespace Tessel16::detail {

// The interned copy of name, valid until the process ends, or null when the table is full:
// names can come from documents (the document element of a lenient read), and a stream of
// documents with ever new names must not grow the table without bound.
const char* InternElementName(const char* name);

}  // namespace Tessel16::detail
