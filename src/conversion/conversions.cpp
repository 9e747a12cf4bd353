// conversions.cpp: the integer, floating-point, boolean, character and string lexical forms.
// Parsing is our own code rather than strtol/strtod so that the result never depends on the
// process locale, but it keeps their rules (whitespace, sign, range error, end position)
// with the widths of the kinds. The value-type kinds live in conversions_values.cpp.
#include "tessel16/conversions.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "conversion/conversion_messages.h"
#include "conversion/number_format.h"
#include "conversion/whitespace_keep.h"
#include "tessel16/exception.h"

namespace Tessel16 {
namespace {

using Rule = CWhitespaceUtils::WhitespaceRule;

// Runs `parse` on the text under the rule; when the rule leaves the text as it is, the
// caller's string is used directly, which keeps the common path free of a copy.
template <class Parse>
auto WithRule(const std::string& text, Rule rule, Parse parse) {
    if (detail::RuleKeepsText(rule, text)) return parse(text);
    const std::string t = CWhitespaceUtils::ApplyRule(rule, text);
    return parse(t);
}

[[noreturn]] void ThrowValue(const char* format, const std::string& text) {
    throw CTsInvalidValueException(FormatString(format, text.c_str()));
}

// The C library's isspace in the "C" locale.
bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

enum class IntStatus { Ok, Range, Leftover };

// strtol/strtoul in base 10 reduced to what the callers need: the magnitude, its sign, and
// whether digits ran past `limit` (a range error) or characters were left over. As in the C
// library a range error wins over left-over characters, and no digits at all is left-over.
struct Magnitude {
    std::uint64_t value = 0;
    bool negative = false;
    bool overflow = false;
    IntStatus status = IntStatus::Ok;
};

Magnitude ScanInteger(std::string_view t, std::uint64_t limit) {
    Magnitude m;
    std::size_t i = 0;
    while (i < t.size() && IsCSpace(t[i])) ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) m.negative = t[i++] == '-';
    const std::size_t firstDigit = i;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
        const unsigned digit = static_cast<unsigned>(t[i] - '0');
        if (m.value > (limit - digit) / 10)
            m.overflow = true;
        else
            m.value = m.value * 10 + digit;
    }
    if (i == firstDigit) {
        m.status = IntStatus::Leftover;
    } else if (m.overflow) {
        m.status = IntStatus::Range;
    } else if (i != t.size()) {
        m.status = IntStatus::Leftover;
    }
    return m;
}

// An optional sign and one to `maxDigits` digits, nothing else: the form nearly every number
// in a document has. No whitespace rule changes such text (for the rules known to us) and,
// with few enough digits, no value of it is out of range, so the general scan is not needed.
bool ReadPlainDigits(const std::string& text, Rule rule, std::size_t maxDigits,
                     std::int64_t& value) {
    if (rule != Rule::WhitespaceRule_None && rule != Rule::WhitespaceRule_Preserve &&
        rule != Rule::WhitespaceRule_Replace && rule != Rule::WhitespaceRule_Collapse)
        return false;
    const char* p = text.data();
    const char* end = p + text.size();
    const bool negative = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+')) ++p;
    if (p == end || static_cast<std::size_t>(end - p) > maxDigits) return false;
    std::int64_t magnitude = 0;
    for (; p != end; ++p) {
        const unsigned digit = static_cast<unsigned>(*p) - '0';
        if (digit > 9) return false;
        magnitude = magnitude * 10 + static_cast<std::int64_t>(digit);
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

// strtol semantics at the width of T: the negative range reaches one further than the positive.
template <class T>
T ParseSigned(const std::string& t, const char* notConverted, const char* tooLarge) {
    if (t.empty()) ThrowValue(notConverted, t);
    constexpr std::uint64_t maxPositive = static_cast<std::uint64_t>(std::numeric_limits<T>::max());
    Magnitude m = ScanInteger(t, maxPositive + 1);
    if (m.status == IntStatus::Ok && !m.negative && m.value > maxPositive)
        m.status = IntStatus::Range;
    if (m.status == IntStatus::Range) ThrowValue(tooLarge, t);
    if (m.status == IntStatus::Leftover) ThrowValue(notConverted, t);
    if (!m.negative || m.value == 0) return static_cast<T>(m.value);
    // -(v - 1) - 1 reaches the minimum without passing through an unrepresentable +2^(w-1).
    return static_cast<T>(-static_cast<T>(m.value - 1) - 1);
}

// strtoul's scan, except that a negative value is out of range instead of wrapping round
// to a large one (only "-0" reads). `belowRange` is the message for that case, so that the
// narrow kinds report their own range.
template <class T>
T ParseUnsigned(const std::string& t, const char* notConverted, const char* tooLarge,
                const std::string& text, const char* belowRange) {
    if (t.empty()) ThrowValue(notConverted, t);
    Magnitude m = ScanInteger(t, std::numeric_limits<T>::max());
    if (m.status == IntStatus::Range) ThrowValue(m.negative ? belowRange : tooLarge,
                                                 m.negative ? text : t);
    if (m.status == IntStatus::Leftover) ThrowValue(notConverted, t);
    if (m.negative && m.value != 0) ThrowValue(belowRange, text);
    return static_cast<T>(m.value);
}

std::uint32_t ParseUI4(const std::string& text, Rule rule, const char* belowRange) {
    return WithRule(text, rule, [&](const std::string& t) {
        return ParseUnsigned<std::uint32_t>(t, detail::kMsgUI4NotConverted,
                                            detail::kMsgUI4TooLarge, text, belowRange);
    });
}

template <class T>
std::string IntegerText(T value) {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// The strtod subject sequence in the "C" locale, without its hexadecimal, infinity and NaN
// forms: [ws][sign](digits[.digits]|.digits)[(e|E)[sign]digits]. Returns the position after
// the number (0 when there is none) and fills the pieces the caller needs.
struct RealSyntax {
    std::size_t numberStart = 0;    // first character after the whitespace and a '+'
    std::size_t end = 0;            // one past the number; 0 when no number was found
    long long decimalExponent = 0;  // rough power of ten of the value, for range errors
    bool allZero = true;
};

RealSyntax ScanReal(std::string_view t) {
    RealSyntax s;
    std::size_t i = 0;
    while (i < t.size() && IsCSpace(t[i])) ++i;
    // from_chars takes a '-' but not a '+', so the number handed to it starts after a '+'.
    if (i < t.size() && t[i] == '+') {
        s.numberStart = ++i;
    } else {
        s.numberStart = i;
        if (i < t.size() && t[i] == '-') ++i;
    }
    std::size_t digits = 0;
    long long magnitude = 0;  // position of the first significant digit relative to '.'
    bool seenSignificant = false;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, ++digits) {
        if (t[i] != '0') seenSignificant = true;
        if (seenSignificant) ++magnitude;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, ++digits) {
            if (t[i] != '0' && !seenSignificant) seenSignificant = true;
            if (!seenSignificant) --magnitude;
        }
    }
    if (digits == 0) return s;
    s.allZero = !seenSignificant;
    s.end = i;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        std::size_t j = i + 1;
        bool negative = false;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) negative = t[j++] == '-';
        long long exponent = 0;
        const std::size_t firstDigit = j;
        for (; j < t.size() && t[j] >= '0' && t[j] <= '9'; ++j)
            if (exponent < 100000000) exponent = exponent * 10 + (t[j] - '0');
        // An 'e' without digits is not part of the number: strtod stops before it.
        if (j != firstDigit) {
            s.end = j;
            magnitude += negative ? -exponent : exponent;
        }
    }
    s.decimalExponent = magnitude;
    return s;
}

template <class T>
T ParseReal(const std::string& t, const char* notConverted) {
    if (t.empty()) ThrowValue(notConverted, t);
    if (t == "NaN" || t == "1.#QNAN" || t == "-NAN") return std::numeric_limits<T>::quiet_NaN();
    if (t == "-INF") return -std::numeric_limits<T>::infinity();
    if (t == "INF") return std::numeric_limits<T>::infinity();
    const RealSyntax s = ScanReal(t);
    if (s.end == 0 || s.end != t.size()) ThrowValue(notConverted, t);
    const char* first = t.data() + s.numberStart;
    const char* last = t.data() + s.end;
    // A float is read at its own width: going through a double first would round twice and
    // could miss the float that the shortest text of a float names.
    T value = 0;
    auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // strtod reports no failure here: it gives an infinity on overflow and zero on
        // underflow, with the sign of the text.
        const bool negative = *first == '-';
        value = s.decimalExponent > 0 ? std::numeric_limits<T>::infinity() : T(0);
        if (negative) value = -value;
    } else if (result.ec != std::errc() || result.ptr != last) {
        ThrowValue(notConverted, t);
    }
    return value;
}

}  // namespace

std::string CConversions::i1ToString(char value) {
    return IntegerText(static_cast<int>(static_cast<signed char>(value)));
}
std::string CConversions::i2ToString(short value) { return IntegerText(static_cast<int>(value)); }
std::string CConversions::i4ToString(std::int32_t value) { return IntegerText(value); }
std::string CConversions::i8ToString(long long value) { return IntegerText(value); }
std::string CConversions::ui1ToString(unsigned char value) {
    return IntegerText(static_cast<unsigned>(value));
}
std::string CConversions::ui2ToString(unsigned short value) {
    return IntegerText(static_cast<unsigned>(value));
}
std::string CConversions::ui4ToString(std::uint32_t value) { return IntegerText(value); }
std::string CConversions::ui8ToString(unsigned long long value) { return IntegerText(value); }

std::string CConversions::r4ToString(float value) { return r4ToString(value, std::string()); }
std::string CConversions::r4ToString(float value, const std::string& format) {
    return detail::FormatReal(value, format, 31);
}
std::string CConversions::r8ToString(double value) { return r8ToString(value, std::string()); }
std::string CConversions::r8ToString(double value, const std::string& format) {
    return detail::FormatReal(value, format, 47);
}

std::string CConversions::booleanToString(bool value) { return value ? "true" : "false"; }
std::string CConversions::charToString(char value) {
    return value == '\0' ? std::string() : std::string(1, value);
}
std::string CConversions::stringToString(const std::string& value) { return value; }

// At least four digits, as a gYear needs them to read back.
std::string CConversions::yearToString(unsigned short value) {
    return FormatString("%04u", static_cast<unsigned>(value));
}
std::string CConversions::monthToString(unsigned char value) {
    return FormatString("--%02u", static_cast<unsigned>(value));
}
std::string CConversions::dayToString(unsigned char value) {
    return FormatString("---%02u", static_cast<unsigned>(value));
}

std::int32_t CConversions::i4FromString(const std::string& text, WhitespaceRule rule) {
    std::int64_t plain;
    if (ReadPlainDigits(text, rule, 9, plain)) return static_cast<std::int32_t>(plain);
    return WithRule(text, rule, [](const std::string& t) {
        return ParseSigned<std::int32_t>(t, detail::kMsgI4NotConverted, detail::kMsgI4TooLarge);
    });
}
long long CConversions::i8FromString(const std::string& text, WhitespaceRule rule) {
    std::int64_t plain;
    if (ReadPlainDigits(text, rule, 18, plain)) return plain;
    return WithRule(text, rule, [](const std::string& t) {
        return ParseSigned<long long>(t, detail::kMsgI8NotConverted, detail::kMsgI8TooLarge);
    });
}
std::uint32_t CConversions::ui4FromString(const std::string& text, WhitespaceRule rule) {
    return ParseUI4(text, rule, detail::kMsgUI4TooLarge);
}
unsigned long long CConversions::ui8FromString(const std::string& text, WhitespaceRule rule) {
    return WithRule(text, rule, [&text](const std::string& t) {
        return ParseUnsigned<unsigned long long>(t, detail::kMsgUI8NotConverted,
                                                 detail::kMsgUI8TooLarge, text,
                                                 detail::kMsgUI8TooLarge);
    });
}

// The narrow kinds report their range with the text as the caller passed it.
char CConversions::i1FromString(const std::string& text, WhitespaceRule rule) {
    const std::int32_t value = i4FromString(text, rule);
    if (value < -128 || value > 127) ThrowValue(detail::kMsgI1TooLarge, text);
    return static_cast<char>(value);
}
short CConversions::i2FromString(const std::string& text, WhitespaceRule rule) {
    const std::int32_t value = i4FromString(text, rule);
    if (value < -32768 || value > 32767) ThrowValue(detail::kMsgI2TooLarge, text);
    return static_cast<short>(value);
}
unsigned char CConversions::ui1FromString(const std::string& text, WhitespaceRule rule) {
    const std::uint32_t value = ParseUI4(text, rule, detail::kMsgUI1TooLarge);
    if (value > 255) ThrowValue(detail::kMsgUI1TooLarge, text);
    return static_cast<unsigned char>(value);
}
unsigned short CConversions::ui2FromString(const std::string& text, WhitespaceRule rule) {
    const std::uint32_t value = ParseUI4(text, rule, detail::kMsgUI2TooLarge);
    if (value > 65535) ThrowValue(detail::kMsgUI2TooLarge, text);
    return static_cast<unsigned short>(value);
}

float CConversions::r4FromString(const std::string& text, WhitespaceRule rule) {
    return WithRule(text, rule, [](const std::string& t) {
        return ParseReal<float>(t, detail::kMsgR4NotConverted);
    });
}
double CConversions::r8FromString(const std::string& text, WhitespaceRule rule) {
    return WithRule(text, rule, [](const std::string& t) {
        return ParseReal<double>(t, detail::kMsgR8NotConverted);
    });
}

bool CConversions::booleanFromString(const std::string& text, WhitespaceRule rule) {
    // The canonical forms, which no known rule changes, answer at once.
    if (rule >= Rule::WhitespaceRule_None && rule <= Rule::WhitespaceRule_Collapse) {
        // Length first, then the bytes in place: std::string's compare is a call per word.
        const std::size_t n = text.size();
        if (n == 4 && std::memcmp(text.data(), "true", 4) == 0) return true;
        if (n == 5 && std::memcmp(text.data(), "false", 5) == 0) return false;
    }
    return WithRule(text, rule, [&text](const std::string& t) {
        auto equalsIgnoringCase = [&t](const char* word) {
            const std::size_t n = std::strlen(word);
            if (t.size() != n) return false;
            for (std::size_t i = 0; i < n; ++i) {
                char c = t[i];
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
                if (c != word[i]) return false;
            }
            return true;
        };
        if (equalsIgnoringCase("true") || t == "1") return true;
        if (equalsIgnoringCase("false") || t == "0") return false;
        ThrowValue(detail::kMsgBadBoolean, text);
    });
}

char CConversions::charFromString(const std::string& text, WhitespaceRule rule) {
    return WithRule(text, rule, [](const std::string& t) {
        if (t.size() != 1) ThrowValue(detail::kMsgBadChar, t);
        return t[0];
    });
}

std::string CConversions::stringFromString(const std::string& text, WhitespaceRule rule) {
    if (detail::RuleKeepsText(rule, text)) return text;
    return CWhitespaceUtils::ApplyRule(rule, text);
}

}  // namespace Tessel16
