// fastinfoset_binary_data.cpp: the built-in encoding algorithms. Numbers travel big-endian;
// booleans are bit-packed behind a four-bit count of unused trailing bits. Floating-point
// values and UUIDs read back in the text forms other Fast Infoset readers produce, so a
// document reads the same everywhere.
#include "tessel16/fastinfoset_binary_data.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "fastinfoset/fastinfoset_messages.h"
#include "tessel16/conversions.h"
#include "tessel16/exception.h"
#include "tessel16/whitespace_utils.h"

namespace Tessel16 {

namespace M = detail::FastInfosetMessages;

namespace {
constexpr auto kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;

void PutBigEndian(CBinaryData& out, std::uint64_t value, int octets) {
    unsigned char bytes[8];
    for (int i = 0; i < octets; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * (octets - 1 - i)));
    out.Append(bytes, static_cast<std::uint32_t>(octets));
}

std::uint64_t GetBigEndian(const unsigned char* p, int octets) {
    std::uint64_t value = 0;
    for (int i = 0; i < octets; ++i) value = (value << 8) | p[i];
    return value;
}

// Java's Float/Double.toString layout over the shortest round-trip digits: plain decimal for
// 1e-3 <= |v| < 1e7, else d.dddE<exp>; always at least one digit after the point.
template <typename Real>
std::string FormatJavaReal(Real value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0) return std::signbit(value) ? "-0.0" : "0.0";
    char buf[64];
    std::string out;
    if (std::signbit(value)) out += '-';
    std::string digits;
    int exponent = 0;
    auto split = [&](std::to_chars_result res) {
        const std::string sci(buf, res.ptr);
        const std::size_t ePos = sci.find('e');
        digits.clear();
        for (std::size_t i = std::signbit(value) ? 1 : 0; i < ePos; ++i)
            if (sci[i] != '.') digits += sci[i];
        exponent = std::atoi(sci.c_str() + ePos + 1);
    };
    split(std::to_chars(buf, buf + sizeof(buf), value, std::chars_format::scientific));
    // A one-digit shortest form is widened to the closest two-digit decimal (so the
    // smallest subnormal float reads 1.4E-45, not 1.0E-45); trailing zeros go again.
    if (digits.size() == 1) {
        split(std::to_chars(buf, buf + sizeof(buf), value, std::chars_format::scientific, 1));
        while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    }
    const Real magnitude = std::fabs(value);
    if (magnitude >= Real(1e-3) && magnitude < Real(1e7)) {
        if (exponent >= 0) {
            std::string whole = digits.substr(0, std::min<std::size_t>(digits.size(), exponent + 1));
            while (static_cast<int>(whole.size()) < exponent + 1) whole += '0';
            std::string frac = digits.size() > static_cast<std::size_t>(exponent + 1)
                                   ? digits.substr(exponent + 1)
                                   : "0";
            out += whole + "." + frac;
        } else {
            out += "0.";
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += digits;
        }
    } else {
        out += digits[0];
        out += '.';
        out += digits.size() > 1 ? digits.substr(1) : "0";
        out += 'E';
        out += std::to_string(exponent);
    }
    return out;
}

void CheckMultiple(std::uint32_t length, std::uint32_t size, const char* message) {
    if (length % size != 0) throw CTsException(message);
}

// A UUID is 32 hex digits; the hyphens of the 8-4-4-4-12 form are accepted and dropped.
std::string UuidDigits(const char* text) {
    std::string digits;
    for (const char* p = text; *p; ++p)
        if (*p != '-' && *p != ' ' && *p != '\t' && *p != '\n' && *p != '\r') digits += *p;
    return digits;
}
}  // namespace

CFastInfosetBinaryData::~CFastInfosetBinaryData() = default;

void CFastInfosetBinaryData::SetAsEncodedString(std::uint32_t algorithm, const char* text) {
    const char* t = text ? text : "";
    Clear();
    switch (algorithm) {
        case 1:
            SetAsHexString(t);
            break;
        case 2:
            SetAsBase64(t);
            break;
        case 3:
            PutBigEndian(*this, static_cast<std::uint16_t>(CConversions::i2FromString(t, kCollapse)),
                         2);
            break;
        case 4:
            PutBigEndian(*this, static_cast<std::uint32_t>(CConversions::i4FromString(t, kCollapse)),
                         4);
            break;
        case 5:
            PutBigEndian(*this, static_cast<std::uint64_t>(CConversions::i8FromString(t, kCollapse)),
                         8);
            break;
        case 6:
            Append(static_cast<unsigned char>(CConversions::booleanFromString(t, kCollapse) ? 0x38
                                                                                            : 0x30));
            break;
        case 7: {
            const float f = CConversions::r4FromString(t, kCollapse);
            std::uint32_t bits;
            std::memcpy(&bits, &f, 4);
            PutBigEndian(*this, bits, 4);
            break;
        }
        case 8: {
            const double d = CConversions::r8FromString(t, kCollapse);
            std::uint64_t bits;
            std::memcpy(&bits, &d, 8);
            PutBigEndian(*this, bits, 8);
            break;
        }
        case 9:
            SetAsHexString(UuidDigits(t).c_str());
            break;
        case 10:
            Append(t);
            break;
        default:
            throw CTsException(M::kUnknownByteEncoding);
    }
}

std::string CFastInfosetBinaryData::GetAsString(std::uint32_t algorithm) const {
    if (algorithm < 1 || algorithm > 9) throw CTsException(M::kUnknownByteEncoding);
    const std::uint32_t length = GetLength();
    if (length == 0) return std::string();
    const unsigned char* p = GetData();
    std::string out;
    auto each = [&](std::uint32_t size, const char* message, auto&& show) {
        CheckMultiple(length, size, message);
        for (std::uint32_t i = 0; i < length; i += size) {
            if (i) out += ' ';
            out += show(p + i);
        }
    };
    switch (algorithm) {
        case 1:
            return GetAsHexString();
        case 2:
            return GetAsBase64();
        case 3:
            each(2, M::kInvalidShort, [](const unsigned char* q) {
                return CConversions::i2ToString(static_cast<short>(GetBigEndian(q, 2)));
            });
            break;
        case 4:
            each(4, M::kInvalidInt, [](const unsigned char* q) {
                return CConversions::i4ToString(static_cast<std::int32_t>(GetBigEndian(q, 4)));
            });
            break;
        case 5:
            each(8, M::kInvalidLong, [](const unsigned char* q) {
                return CConversions::i8ToString(static_cast<long long>(GetBigEndian(q, 8)));
            });
            break;
        case 6: {
            const std::uint32_t unused = p[0] >> 4;
            const std::uint64_t bits = std::uint64_t{length} * 8;
            const std::uint64_t count = bits >= 4 + unused ? bits - 4 - unused : 0;
            for (std::uint64_t k = 0; k < count; ++k) {
                const std::uint64_t bit = 4 + k;
                const bool v = (p[bit / 8] >> (7 - bit % 8)) & 1;
                if (k) out += ' ';
                out += CConversions::booleanToString(v);
            }
            break;
        }
        case 7:
            each(4, M::kInvalidFloat, [](const unsigned char* q) {
                const std::uint32_t bits = static_cast<std::uint32_t>(GetBigEndian(q, 4));
                float f;
                std::memcpy(&f, &bits, 4);
                return FormatJavaReal(f);
            });
            break;
        case 8:
            each(8, M::kInvalidDouble, [](const unsigned char* q) {
                const std::uint64_t bits = GetBigEndian(q, 8);
                double d;
                std::memcpy(&d, &bits, 8);
                return FormatJavaReal(d);
            });
            break;
        case 9:
            each(16, M::kInvalidUuid, [](const unsigned char* q) {
                static const char* hex = "0123456789abcdef";
                std::string s;
                for (int i = 0; i < 16; ++i) {
                    if (i == 4 || i == 6 || i == 8 || i == 10) s += '-';
                    s += hex[q[i] >> 4];
                    s += hex[q[i] & 15];
                }
                return s;
            });
            break;
    }
    return out;
}

}  // namespace Tessel16
