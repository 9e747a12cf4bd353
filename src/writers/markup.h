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

}  // namespace Tessel16::detail
