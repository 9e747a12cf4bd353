// utf8.h: the library's one UTF-8 coder. Validation, decoding and encoding used to be written
// separately by the code-page layer and the local-text conversions; they share these so that
// every path agrees on what is malformed (overlongs, surrogates, anything past U+10FFFF).
#pragma once

#include <cstddef>
#include <cstdint>

namespace Tessel16::detail {

// One decoded code point. On a malformed sequence `ok` is false and `length` is the number of
// bytes that belonged to it (the lead byte and the continuation bytes seen), so a caller that
// replaces bad sequences resumes at the next possible character.
struct Utf8Decoded {
    std::uint32_t codePoint;
    std::size_t length;
    bool ok;
};

// Decodes the code point starting at p[0]; n > 0 is the number of bytes available.
Utf8Decoded DecodeUtf8CodePoint(const unsigned char* p, std::size_t n);

// True when the n bytes at p are well-formed UTF-8 throughout.
bool IsValidUtf8(const unsigned char* p, std::size_t n);

// Writes cp (at most U+10FFFF, not a surrogate) to out as UTF-8; returns the byte count (1-4).
inline std::size_t EncodeUtf8CodePoint(std::uint32_t cp, unsigned char out[4]) {
    if (cp < 0x80) {
        out[0] = static_cast<unsigned char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<unsigned char>(0xC0 | (cp >> 6));
        out[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
        out[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<unsigned char>(0xF0 | (cp >> 18));
    out[1] = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    return 4;
}

// Appends cp as UTF-8 to any byte container (std::string, std::vector<unsigned char>).
template <typename Bytes>
void AppendUtf8(Bytes& out, std::uint32_t cp) {
    unsigned char buf[4];
    const std::size_t n = EncodeUtf8CodePoint(cp, buf);
    for (std::size_t k = 0; k < n; ++k)
        out.push_back(static_cast<typename Bytes::value_type>(buf[k]));
}

}  // namespace Tessel16::detail
