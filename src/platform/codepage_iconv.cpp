// codepage_iconv.cpp: code pages on POSIX. UTF-8 is coded here directly (it is the default
// and the hot path); other code pages are converted with iconv, whose descriptors are cached
// per thread because opening one costs far more than a short conversion.
#include <errno.h>
#include <iconv.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "conversion/utf8.h"
#include "platform/codepage.h"

namespace Tessel16::platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Each malformed sequence becomes one U+FFFD.
std::u16string DecodeUtf8(const char* bytes, std::size_t length) {
    std::u16string out;
    out.reserve(length);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    std::size_t i = 0;
    while (i < length) {
        if (p[i] < 0x80) {
            out += static_cast<char16_t>(p[i]);
            ++i;
            continue;
        }
        const detail::Utf8Decoded d = detail::DecodeUtf8CodePoint(p + i, length - i);
        i += d.length;
        if (!d.ok) {
            out += kReplacement;
        } else if (d.codePoint >= 0x10000) {
            const std::uint32_t cp = d.codePoint - 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(d.codePoint);
        }
    }
    return out;
}

std::string EncodeUtf8(const char16_t* units, std::size_t count) {
    std::string out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            u = 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00u);
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            u = kReplacement;
        }
        detail::AppendUtf8(out, u);
    }
    return out;
}

std::string IconvName(unsigned int codePage) {
    if (codePage >= 28591 && codePage <= 28606)
        return "ISO-8859-" + std::to_string(codePage - 28590);
    if (codePage == 20127) return "ASCII";
    if (codePage == 1200) return "UTF-16LE";
    if (codePage == 1201) return "UTF-16BE";
    return "CP" + std::to_string(codePage);
}

// The iconv descriptors of one thread for the most recently used code page.
struct IconvCache {
    unsigned int codePage = 0;
    iconv_t toWide = reinterpret_cast<iconv_t>(-1);
    iconv_t fromWide = reinterpret_cast<iconv_t>(-1);

    ~IconvCache() { Close(); }
    void Close() {
        if (toWide != reinterpret_cast<iconv_t>(-1)) iconv_close(toWide);
        if (fromWide != reinterpret_cast<iconv_t>(-1)) iconv_close(fromWide);
        toWide = fromWide = reinterpret_cast<iconv_t>(-1);
    }
    void Select(unsigned int cp) {
        if (cp == codePage && toWide != reinterpret_cast<iconv_t>(-1)) return;
        Close();
        codePage = cp;
        std::string name = IconvName(cp);
        toWide = iconv_open("UTF-16LE", name.c_str());
        fromWide = iconv_open(name.c_str(), "UTF-16LE");
    }
};

IconvCache& Cache(unsigned int codePage) {
    thread_local IconvCache cache;
    cache.Select(codePage);
    return cache;
}

}  // namespace

bool CodePageIsUtf8(unsigned int codePage) {
    return codePage == 0 || codePage == 3 || codePage == 65001;
}

std::u16string MultiByteToWide(unsigned int codePage, const char* bytes, std::size_t length) {
    if (length == 0) return std::u16string();
    if (CodePageIsUtf8(codePage)) return DecodeUtf8(bytes, length);
    IconvCache& cache = Cache(codePage);
    if (cache.toWide == reinterpret_cast<iconv_t>(-1)) return DecodeUtf8(bytes, length);
    iconv(cache.toWide, nullptr, nullptr, nullptr, nullptr);
    std::u16string out(length + 4, u'\0');
    char* in = const_cast<char*>(bytes);
    std::size_t inLeft = length;
    char* dst = reinterpret_cast<char*>(&out[0]);
    std::size_t dstLeft = out.size() * 2;
    while (inLeft > 0) {
        if (iconv(cache.toWide, &in, &inLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) break;  // cannot happen: one byte never yields two units here
        // An undecodable byte: emit the replacement and go on after it.
        if (dstLeft < 2) break;
        std::memcpy(dst, &kReplacement, 2);
        dst += 2;
        dstLeft -= 2;
        ++in;
        --inLeft;
    }
    out.resize(out.size() - dstLeft / 2);
    return out;
}

std::string WideToMultiByte(unsigned int codePage, const char16_t* units, std::size_t count) {
    if (count == 0) return std::string();
    if (CodePageIsUtf8(codePage)) return EncodeUtf8(units, count);
    IconvCache& cache = Cache(codePage);
    if (cache.fromWide == reinterpret_cast<iconv_t>(-1)) return EncodeUtf8(units, count);
    iconv(cache.fromWide, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.resize(count * 4 + 8);
    char* in = reinterpret_cast<char*>(const_cast<char16_t*>(units));
    std::size_t inLeft = count * 2;
    char* dst = &out[0];
    std::size_t dstLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cache.fromWide, &in, &inLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG || dstLeft == 0) break;
        // Unrepresentable character or unpaired surrogate: '?' in its place.
        *dst++ = '?';
        --dstLeft;
        std::size_t skip = 2;
        char16_t u;
        std::memcpy(&u, in, 2);
        if (u >= 0xD800 && u <= 0xDBFF && inLeft >= 4) {
            char16_t next;
            std::memcpy(&next, in + 2, 2);
            if (next >= 0xDC00 && next <= 0xDFFF) skip = 4;
        }
        in += skip;
        inLeft -= skip;
    }
    out.resize(out.size() - dstLeft);
    return out;
}

}  // namespace Tessel16::platform
