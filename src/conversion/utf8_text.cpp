// utf8_text.cpp: local text seen as UTF-8 for the facet checks. When the local encoding is
// UTF-8 (the default) both answers come straight from the bytes.
#include "conversion/utf8_text.h"

#include "conversion/char_encoding.h"

namespace Tessel16::detail {

std::string LocalToUtf8Text(const std::string& text) {
    if (LocalIsUtf8()) return text;
    const CBinaryData utf8 = LocalToUtf8(text.c_str());
    if (utf8.GetLength() == 0) return std::string();
    return std::string(reinterpret_cast<const char*>(utf8.GetData()), utf8.GetLength());
}

std::size_t LocalCharCount(const std::string& text) {
    if (!LocalIsUtf8()) return text.size();
    // Every byte but a UTF-8 continuation byte starts a character.
    std::size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

}  // namespace Tessel16::detail
