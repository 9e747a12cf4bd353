// utf8.cpp: strict UTF-8 decoding and validation shared by the code-page layer and the
// local-text conversions. Validation runs over whole documents on output, hence its ASCII
// fast path.
#include "conversion/utf8.h"

#include <cstring>

namespace Tessel16::detail {

Utf8Decoded DecodeUtf8CodePoint(const unsigned char* p, std::size_t n) {
    const unsigned char b = p[0];
    if (b < 0x80) return {b, 1, true};
    std::size_t extra = 0;
    std::uint32_t cp = 0;
    std::uint32_t min = 0;
    if ((b & 0xE0) == 0xC0) {
        extra = 1, cp = b & 0x1Fu, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        extra = 2, cp = b & 0x0Fu, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        extra = 3, cp = b & 0x07u, min = 0x10000;
    } else {
        return {0, 1, false};  // a stray continuation byte or an impossible lead byte
    }
    std::size_t j = 1;
    for (; j <= extra; ++j) {
        if (j >= n || (p[j] & 0xC0) != 0x80) break;
        cp = (cp << 6) | (p[j] & 0x3Fu);
    }
    if (j <= extra || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return {0, j, false};
    return {cp, j, true};
}

// Document text is mostly ASCII: it goes eight bytes at a time, a word with a non-ASCII byte
// skips straight to it, and two-byte characters (most non-ASCII text in Latin scripts) are
// checked inline; longer ones go through the full decoder.
bool IsValidUtf8(const unsigned char* p, std::size_t n) {
    std::size_t i = 0;
    while (i < n) {
        if (n - i >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            const std::uint64_t high = word & 0x8080808080808080ull;
            if (high == 0) {
                i += 8;
                continue;
            }
            // Bytes are in memory order, so the lowest set bit marks the first non-ASCII byte
            // on a little-endian machine; elsewhere the loop below walks there byte by byte.
#if defined(__GNUC__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
            i += static_cast<std::size_t>(__builtin_ctzll(high)) / 8;
#endif
        }
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF) {
            if (i + 1 >= n || (p[i + 1] & 0xC0) != 0x80) return false;
            i += 2;
            continue;
        }
        const Utf8Decoded d = DecodeUtf8CodePoint(p + i, n - i);
        if (!d.ok) return false;
        i += d.length;
    }
    return true;
}

}  // namespace Tessel16::detail
