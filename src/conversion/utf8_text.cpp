// utf8_text.cpp: local text seen as UTF-8 for the facet checks.
#include "conversion/utf8_text.h"

namespace Tessel16::detail {

std::string LocalToUtf8Text(const std::string& text) { return text; }

std::size_t LocalCharCount(const std::string& text) {
    std::size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

}  // namespace Tessel16::detail
