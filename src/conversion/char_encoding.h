// char_encoding.h: the conversions at the edge between the library's 8-bit text (in the
// local encoding set by SetLocalCharEncoding, UTF-8 by default) and UTF-8 or UTF-16 bytes.
// None of them throws: unrepresentable characters become replacement characters.
#pragma once

#include <cstddef>
#include <string>

#include "tessel16/binary_data.h"
#include "tessel16/export.h"

namespace Tessel16::detail {

// True when text in the local encoding is already UTF-8 (or ASCIIOnly is on), so UTF-8
// input can be taken over without conversion.
TESSEL16_API bool LocalIsUtf8();

// UTF-8 bytes to local text; with ASCIIOnly the bytes are copied unchanged.
TESSEL16_API std::string Utf8ToLocal(const char* bytes, std::size_t length);
TESSEL16_API std::string Utf8ToLocal(const char* text);
// Local text to UTF-8 bytes (no BOM, no terminating zero); with ASCIIOnly a plain copy.
TESSEL16_API CBinaryData LocalToUtf8(const char* text);
// True when LocalToUtf8 would hand these bytes back unchanged (ASCIIOnly, or valid UTF-8
// under a UTF-8 local encoding), so a caller holding them can skip the conversion.
TESSEL16_API bool LocalIsAlreadyUtf8(const char* text, std::size_t length);
// The same question for text that arrives in pieces (a writer's output chunks), asked while
// each piece is at hand rather than in a second pass over the whole: a character may be split
// between two pieces.
class TESSEL16_API Utf8Checker {
public:
    Utf8Checker();
    void Add(const unsigned char* piece, std::size_t length);
    // True when all the pieces together would be handed back unchanged.
    bool Finish() const { return m_trusted || (m_valid && m_pendingLength == 0); }

private:
    bool m_trusted;  // ASCIIOnly: every byte goes out as it is
    bool m_valid = true;
    unsigned char m_pending[4] = {};  // the start of a character the next piece completes
    std::size_t m_pendingLength = 0;
};

// UTF-16 code units to local text (ASCIIOnly does not apply).
TESSEL16_API std::string Utf16ToLocal(const unsigned short* units, std::size_t count);
// Zero-terminated UTF-16 to UTF-8. A high surrogate not followed by a low one, or a lone
// low surrogate, ends the output there.
TESSEL16_API CBinaryData Utf16ToUtf8(const unsigned short* text);
// Same, for a counted run of units.
TESSEL16_API CBinaryData Utf16ToUtf8(const unsigned short* units, std::size_t count);
// Local text to UTF-16 code units, little-endian bytes, no BOM (ASCIIOnly does not apply).
TESSEL16_API CBinaryData LocalToUtf16(const char* text);

}  // namespace Tessel16::detail
