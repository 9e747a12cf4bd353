// base64.h: base64 coding of byte buffers (RFC 4648 alphabet). Kept apart from CBinaryData
// so the Fast Infoset and conversion code can code raw bytes without a buffer object.
#pragma once

#include <cstdint>
#include <string>

namespace Tessel16::detail {

class CBase64 {
public:
    // '=' pads the text to a multiple of four characters; no line breaks.
    static std::string Encode(const unsigned char* data, std::uint32_t length);
    // Decodes into out (room for at least strlen(text) bytes) and returns the byte count.
    // Blanks, line breaks and '=' are skipped wherever they stand; any other character
    // outside the alphabet makes the result zero bytes.
    static std::uint32_t Decode(const char* text, std::size_t textLength, unsigned char* out);
};

}  // namespace Tessel16::detail
