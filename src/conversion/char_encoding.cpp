// char_encoding.cpp: local text <-> UTF-8 / UTF-16. The UTF-16 to UTF-8 encoder is our own so
// that malformed surrogates end the output at a predictable place instead of being replaced.
#include "conversion/char_encoding.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "conversion/utf8.h"
#include "platform/codepage.h"
#include "tessel16/switches.h"

namespace Tessel16::detail {
namespace {

std::size_t Utf16Length(const unsigned short* text) {
    std::size_t n = 0;
    if (text)
        while (text[n] != 0) ++n;
    return n;
}

}  // namespace

bool LocalIsUtf8() {
    return detail::IsASCIIOnly() || platform::CodePageIsUtf8(detail::LocalCharEncoding());
}

std::string Utf8ToLocal(const char* bytes, std::size_t length) {
    if (bytes == nullptr || length == 0) return std::string();
    if (detail::IsASCIIOnly()) return std::string(bytes, length);
    unsigned int codePage = detail::LocalCharEncoding();
    if (platform::CodePageIsUtf8(codePage) &&
        IsValidUtf8(reinterpret_cast<const unsigned char*>(bytes), length))
        return std::string(bytes, length);  // nothing to convert
    std::u16string wide = platform::MultiByteToWide(65001, bytes, length);
    return platform::WideToMultiByte(codePage, wide.data(), wide.size());
}

std::string Utf8ToLocal(const char* text) {
    return Utf8ToLocal(text, text ? std::strlen(text) : 0);
}

bool LocalIsAlreadyUtf8(const char* text, std::size_t length) {
    return detail::IsASCIIOnly() ||
           (platform::CodePageIsUtf8(detail::LocalCharEncoding()) &&
            IsValidUtf8(reinterpret_cast<const unsigned char*>(text), length));
}

namespace {
// Bytes in the character a lead byte starts; 1 for ASCII and for bytes that start none.
std::size_t SequenceLength(unsigned char lead) {
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

}  // namespace

Utf8Checker::Utf8Checker()
    : m_trusted(detail::IsASCIIOnly()),
      m_valid(m_trusted || platform::CodePageIsUtf8(detail::LocalCharEncoding())) {}

void Utf8Checker::Add(const unsigned char* piece, std::size_t length) {
    if (m_trusted || !m_valid) return;
    std::size_t i = 0;
    if (m_pendingLength > 0) {
        const std::size_t need = SequenceLength(m_pending[0]);
        while (m_pendingLength < need && i < length) m_pending[m_pendingLength++] = piece[i++];
        if (m_pendingLength < need) return;
        m_valid = DecodeUtf8CodePoint(m_pending, m_pendingLength).ok;
        m_pendingLength = 0;
        if (!m_valid) return;
    }
    // A character cut off at the end of the piece waits for the next one.
    std::size_t end = length;
    for (std::size_t back = 1; back <= 3 && back <= length - i; ++back) {
        const unsigned char b = piece[length - back];
        if ((b & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        if (SequenceLength(b) > back) end = length - back;
        break;
    }
    m_valid = IsValidUtf8(piece + i, end - i);
    for (std::size_t k = end; k < length; ++k) m_pending[m_pendingLength++] = piece[k];
}

CBinaryData LocalToUtf8(const char* text) {
    if (text == nullptr || *text == '\0') return CBinaryData();
    std::size_t length = std::strlen(text);
    const unsigned int codePage = detail::LocalCharEncoding();
    // Valid UTF-8 under a UTF-8 code page is already the answer; only text that is not goes
    // the long way through UTF-16, which decides how bad sequences end.
    if (detail::IsASCIIOnly() ||
        (platform::CodePageIsUtf8(codePage) &&
         IsValidUtf8(reinterpret_cast<const unsigned char*>(text), length)))
        return CBinaryData(reinterpret_cast<unsigned char*>(const_cast<char*>(text)),
                           static_cast<std::uint32_t>(length), false);
    std::u16string wide = platform::MultiByteToWide(codePage, text, length);
    return Utf16ToUtf8(reinterpret_cast<const unsigned short*>(wide.data()), wide.size());
}

std::string Utf16ToLocal(const unsigned short* units, std::size_t count) {
    if (units == nullptr || count == 0) return std::string();
    return platform::WideToMultiByte(detail::LocalCharEncoding(),
                                     reinterpret_cast<const char16_t*>(units), count);
}

CBinaryData Utf16ToUtf8(const unsigned short* text) { return Utf16ToUtf8(text, Utf16Length(text)); }

CBinaryData Utf16ToUtf8(const unsigned short* units, std::size_t count) {
    if (units == nullptr || count == 0) return CBinaryData();
    bool ascii = true;
    for (std::size_t i = 0; i < count && ascii; ++i) ascii = units[i] < 0x80;
    std::vector<unsigned char> out;
    out.reserve(ascii ? count : count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 >= count || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF) break;
            u = 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00u);
            ++i;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            break;
        }
        AppendUtf8(out, u);
    }
    return CBinaryData(out.data(), static_cast<std::uint32_t>(out.size()), false);
}

CBinaryData LocalToUtf16(const char* text) {
    if (text == nullptr || *text == '\0') return CBinaryData();
    std::u16string wide =
        platform::MultiByteToWide(detail::LocalCharEncoding(), text, std::strlen(text));
    std::vector<unsigned char> out(wide.size() * 2);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        out[2 * i] = static_cast<unsigned char>(wide[i] & 0xFF);
        out[2 * i + 1] = static_cast<unsigned char>(wide[i] >> 8);
    }
    return CBinaryData(out.data(), static_cast<std::uint32_t>(out.size()), false);
}

}  // namespace Tessel16::detail
