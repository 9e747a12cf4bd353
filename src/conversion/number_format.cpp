// number_format.cpp: printing floating-point values. The default forms go through
// std::to_chars, which is exact, fast and locale-free; a caller's printf format goes through
// snprintf after it has been checked to consume exactly one double, so a bad format from
// generated code cannot read arguments that were never passed.
#include "conversion/number_format.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "conversion/conversion_messages.h"
#include "tessel16/exception.h"

namespace Tessel16::detail {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Accepts ordinary text, "%%", and at most one conversion of the form
// %[flags][width][.precision][l](a|A|e|E|f|F|g|G). '*' is refused: it would take an int.
bool IsFormatForOneDouble(const std::string& format) {
    int conversions = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        ++i;
        if (i < format.size() && format[i] == '%') continue;
        while (i < format.size() && std::strchr("-+ #0", format[i]) != nullptr && format[i]) ++i;
        while (i < format.size() && IsDigit(format[i])) ++i;
        if (i < format.size() && format[i] == '.') {
            ++i;
            while (i < format.size() && IsDigit(format[i])) ++i;
        }
        if (i < format.size() && format[i] == 'l') ++i;
        if (i >= format.size() || std::strchr("aAeEfFgG", format[i]) == nullptr ||
            format[i] == '\0')
            return false;
        ++conversions;
    }
    return conversions <= 1 && format.find('\0') == std::string::npos;
}

}  // namespace

namespace {

// The shortest digits that read back as the same value, laid out as "%g" lays them out:
// plain notation for decimal exponents from -4 to below `plainLimit` (7 for float, 16 for
// double, where "%.7g" and "%.16g" switch), scientific with a signed exponent of at least two
// digits otherwise ("1e+20", "1.5e-07"). A fixed "%.7g" or "%.16g" is too short for many values.
template <class Real>
std::string ShortestText(Real value, int plainLimit) {
    char buffer[64];
    const auto scientific =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const char* mark = std::find(buffer, scientific.ptr, 'e');
    int exponent = 0;
    std::from_chars(mark[1] == '+' ? mark + 2 : mark + 1, scientific.ptr, exponent);
    if (exponent < -4 || exponent >= plainLimit) return std::string(buffer, scientific.ptr);
    // In plain range the fixed form has the same shortest digits.
    const auto fixed = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, fixed.ptr);
}

}  // namespace

std::string FormatReal(double value, const std::string& format, std::size_t maxLength) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (format.empty()) return ShortestText(value, 16);
    return FormatWithPrintf(value, format, maxLength);
}

std::string FormatReal(float value, const std::string& format, std::size_t maxLength) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (format.empty()) return ShortestText(value, 7);
    return FormatWithPrintf(static_cast<double>(value), format, maxLength);
}

std::string FormatWithPrintf(double value, const std::string& format, std::size_t maxLength) {
    if (!IsFormatForOneDouble(format))
        throw CTsInvalidParamException(FormatString(kMsgBadFloatFormat, format.c_str()));
    std::string text(maxLength + 1, '\0');
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
    int n = std::snprintf(&text[0], text.size(), format.c_str(), value);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    if (n < 0) n = 0;
    text.resize(static_cast<std::size_t>(n) < maxLength ? static_cast<std::size_t>(n) : maxLength);
    // The caller's format runs under the process locale; the lexical form always uses '.'.
    const char* point = std::localeconv()->decimal_point;
    if (point != nullptr && point[0] != '\0' && point[0] != '.' && point[1] == '\0') {
        for (char& c : text)
            if (c == point[0]) c = '.';
    }
    return text;
}

}  // namespace Tessel16::detail
