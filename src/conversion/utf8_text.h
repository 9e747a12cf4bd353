// utf8_text.h: the two questions the facet checks ask about local 8-bit text: its UTF-8
// form (what the regular-expression engine reads) and its length in characters.
#pragma once

#include <cstddef>
#include <string>

namespace Tessel16::detail {

// The text converted from the local encoding to UTF-8.
std::string LocalToUtf8Text(const std::string& text);

// The number of characters of local text: code points when the local encoding is UTF-8,
// bytes for a single-byte code page.
std::size_t LocalCharCount(const std::string& text);

}  // namespace Tessel16::detail
