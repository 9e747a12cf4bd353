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

// The n bytes at p equal the n bytes at q. Lengths of 4 to 16 bytes are settled by two
// overlapping loads from each end.
inline bool SameBytes(const char* p, const char* q, std::size_t n) {
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

// a == b.
inline bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && SameBytes(a.data(), b.data(), a.size());
}

// a == text, where length is strlen(text). A name with an embedded zero byte never equals
// the C string: the text holds no zero in its first length bytes.
inline bool SameAsText(const std::string& a, const char* text, std::size_t length) {
    return a.size() == length && SameBytes(a.data(), text, length);
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
