// markup.h: the small copies the text writers make while they assemble markup in place in
// their stream's buffer (names, prefixes, indentation, line ends: mostly a few bytes each).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace Tessel16::detail {

// Length of a string as the streams' appends take it: up to its first zero byte.
inline std::size_t TextLength(const std::string& text) {
    const char* data = text.data();
    const std::size_t size = text.size();
    if (size > 32) {
        const void* zero = std::memchr(data, 0, size);
        return zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - data) : size;
    }
    std::size_t length = 0;
    while (length < size && data[length] != '\0') ++length;
    return length;
}

// Copies with at most two overlapping word moves for short pieces rather than a call.
inline char* CopyShort(char* out, const char* text, std::size_t length) {
    if (length >= 8 && length <= 16) {
        std::uint64_t head, tail;
        std::memcpy(&head, text, 8);
        std::memcpy(&tail, text + length - 8, 8);
        std::memcpy(out, &head, 8);
        std::memcpy(out + length - 8, &tail, 8);
    } else if (length >= 4 && length < 8) {
        std::uint32_t head, tail;
        std::memcpy(&head, text, 4);
        std::memcpy(&tail, text + length - 4, 4);
        std::memcpy(out, &head, 4);
        std::memcpy(out + length - 4, &tail, 4);
    } else if (length < 4) {
        for (std::size_t i = 0; i < length; ++i) out[i] = text[i];
    } else {
        std::memcpy(out, text, length);
    }
    return out + length;
}

// Equality of two short strings (namespace URIs, names) without a library call for the
// usual lengths.
inline bool SameText(const std::string& a, const std::string& b) {
    const std::size_t n = a.size();
    if (n != b.size()) return false;
    const char* p = a.data();
    const char* q = b.data();
    if (n > 16) return std::memcmp(p, q, n) == 0;
    if (n >= 8) {
        std::uint64_t p1, p2, q1, q2;
        std::memcpy(&p1, p, 8);
        std::memcpy(&p2, p + n - 8, 8);
        std::memcpy(&q1, q, 8);
        std::memcpy(&q2, q + n - 8, 8);
        return ((p1 ^ q1) | (p2 ^ q2)) == 0;
    }
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] != q[i]) return false;
    return true;
}

}  // namespace Tessel16::detail
