// base64.cpp: base64 encoder and the tolerant decoder used for xs:base64Binary.
#include "values/base64.h"

#include <array>

namespace Tessel16::detail {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr signed char kSkip = -2;
constexpr signed char kBad = -1;

// Indexed by a character masked to seven bits: its six bits, kSkip or kBad.
constexpr std::array<signed char, 128> MakeDecodeTable() {
    std::array<signed char, 128> table{};
    for (auto& v : table) v = kBad;
    for (int i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] =
        static_cast<signed char>(i);
    table['='] = kSkip;
    table[' '] = kSkip;
    table['\t'] = kSkip;
    table['\r'] = kSkip;
    table['\n'] = kSkip;
    return table;
}
constexpr auto kDecode = MakeDecodeTable();

}  // namespace

std::string CBase64::Encode(const unsigned char* data, std::uint32_t length) {
    std::string out;
    if (data == nullptr || length == 0) return out;
    out.reserve((static_cast<std::size_t>(length) + 2) / 3 * 4);
    std::uint32_t i = 0;
    for (; i + 3 <= length; i += 3) {
        std::uint32_t v = (std::uint32_t{data[i]} << 16) | (std::uint32_t{data[i + 1]} << 8) |
                          data[i + 2];
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    std::uint32_t rest = length - i;
    if (rest == 1) {
        std::uint32_t v = std::uint32_t{data[i]} << 16;
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += "==";
    } else if (rest == 2) {
        std::uint32_t v = (std::uint32_t{data[i]} << 16) | (std::uint32_t{data[i + 1]} << 8);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += '=';
    }
    return out;
}

std::uint32_t CBase64::Decode(const char* text, std::size_t textLength, unsigned char* out) {
    std::uint32_t count = 0;
    std::uint32_t bits = 0;
    int pending = 0;
    for (std::size_t i = 0; i < textLength; ++i) {
        signed char v = kDecode[static_cast<unsigned char>(text[i]) & 0x7F];
        if (v == kSkip) continue;
        if (v == kBad) return 0;
        bits = (bits << 6) | static_cast<std::uint32_t>(v);
        pending += 6;
        if (pending >= 8) {
            pending -= 8;
            out[count++] = static_cast<unsigned char>((bits >> pending) & 0xFF);
        }
    }
    return count;
}

}  // namespace Tessel16::detail
