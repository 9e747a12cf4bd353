// name_hash.h: the hash of element and attribute names in the reader's tables. Names come
// from the document, so an attacker chooses them: the hash reads every byte and is keyed by
// a seed no document can know, and tables that use it bound how far they probe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace Tessel16::detail {

// A fresh seed per call: process-wide random bits mixed with a counter, so every table
// hashes differently and the random device is read once per process.
std::uint64_t NewHashSeed();

inline std::uint64_t FoldedMultiply(std::uint64_t a, std::uint64_t b) {
    __extension__ using Wide = unsigned __int128;
    const Wide product = static_cast<Wide>(a) * b;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

inline std::size_t HashName(const char* name, std::size_t length, std::uint64_t seed) {
    constexpr std::uint64_t kOdd1 = 0xA0761D6478BD642Full;
    constexpr std::uint64_t kOdd2 = 0xE7037ED1A0B428DBull;
    std::uint64_t h = seed ^ (length * 0x9E3779B97F4A7C15ull);
    const std::uint64_t key = seed | 1;
    while (length >= 8) {
        std::uint64_t word;
        std::memcpy(&word, name, 8);
        h = FoldedMultiply(h ^ word ^ kOdd1, key);
        name += 8;
        length -= 8;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, name, length);
    h = FoldedMultiply(h ^ tail ^ kOdd2, key);
    return static_cast<std::size_t>(FoldedMultiply(h, kOdd1));
}

// For std::unordered_map keyed by names.
struct SeededNameHash {
    std::uint64_t seed = NewHashSeed();
    std::size_t operator()(std::string_view text) const {
        return HashName(text.data(), text.size(), seed);
    }
};

}  // namespace Tessel16::detail
