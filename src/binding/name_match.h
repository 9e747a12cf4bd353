// name_match.h: the equality test behind every record's "is this my element / attribute"
// question. Reading asks it several times per element, nearly always about short names that
// differ early, so it compares machine words in place instead of calling memcmp.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace Tessel16::detail {

inline std::uint64_t LoadWord(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

inline std::uint32_t LoadHalfWord(const char* p) {
    std::uint32_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// a == b. Lengths of 4 to 16 bytes are settled by two overlapping loads from each end.
inline bool SameName(const std::string& a, const std::string& b) {
    const std::size_t n = a.size();
    if (n != b.size()) return false;
    const char* p = a.data();
    const char* q = b.data();
    if (n >= 8) {
        if (n > 16) return std::memcmp(p, q, n) == 0;
        return LoadWord(p) == LoadWord(q) && LoadWord(p + n - 8) == LoadWord(q + n - 8);
    }
    if (n >= 4) {
        return LoadHalfWord(p) == LoadHalfWord(q) &&
               LoadHalfWord(p + n - 4) == LoadHalfWord(q + n - 4);
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (p[i] != q[i]) return false;
    }
    return true;
}

// a == text, without measuring text first: the walk stops at the first difference. A name
// with an embedded zero byte never equals a C string.
inline bool SameAsText(const std::string& a, const char* text) {
    const char* p = a.c_str();
    std::size_t i = 0;
    for (; p[i] == text[i]; ++i) {
        if (text[i] == '\0') return i == a.size();
    }
    return false;
}

}  // namespace Tessel16::detail
