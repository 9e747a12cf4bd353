// format_string.cpp: printf-style formatting into a std::string. One pass over the format
// bounds the output length, the string is allocated once at that size and vsnprintf fills
// it; output that would pass the bound is cut rather than regrown.
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "tessel16/exception.h"

namespace Tessel16 {
namespace {

enum class Size { None, Short, Long, LongLong, Int64, SizeT, LongDouble };

// Applies the precision and then the width to an item's length.
std::size_t ClampItem(std::size_t length, int width, int precision) {
    if (precision > 0 && length > static_cast<std::size_t>(precision))
        length = static_cast<std::size_t>(precision);
    if (width > 0 && static_cast<std::size_t>(width) > length)
        length = static_cast<std::size_t>(width);
    return length;
}

// One more decimal digit of a width or precision. printf itself refuses values past
// INT_MAX, so saturating there keeps the bound an upper bound without overflowing.
int AddDigit(int value, char digit) {
    const int d = digit - '0';
    return value > (INT_MAX - d) / 10 ? INT_MAX : value * 10 + d;
}

std::size_t AtLeast(std::size_t floor, int width, int precision) {
    std::size_t wp = static_cast<std::size_t>(width > 0 ? width : 0) +
                     static_cast<std::size_t>(precision > 0 ? precision : 0);
    return wp > floor ? wp : floor;
}

std::size_t BoundLength(const char* format, va_list args) {
    std::size_t bound = 0;
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            ++bound;
            continue;
        }
        ++p;
        if (*p == '\0') break;
        if (*p == '%') {
            ++bound;
            continue;
        }
        int width = 0;
        int precision = 0;
        for (;; ++p) {
            if (*p == '#') {
                bound += 2;
            } else if (*p == '*') {
                width = va_arg(args, int);
                if (width < 0) width = -width;
            } else if (*p != '-' && *p != '+' && *p != '0' && *p != ' ') {
                break;
            }
        }
        while (*p >= '0' && *p <= '9') width = AddDigit(width, *p++);
        if (*p == '.') {
            ++p;
            if (*p == '*') {
                precision = va_arg(args, int);
                if (precision < 0) precision = 0;
                ++p;
            } else {
                while (*p >= '0' && *p <= '9') precision = AddDigit(precision, *p++);
            }
        }
        Size size = Size::None;
        bool wide = false;
        for (;;) {
            if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
                size = Size::Int64;
                p += 3;
            } else if (*p == 'h') {
                size = Size::Short;
                ++p;
            } else if (*p == 'l') {
                size = size == Size::Long ? Size::LongLong : Size::Long;
                wide = true;
                ++p;
            } else if (*p == 'z' || *p == 'j' || *p == 't') {
                size = Size::SizeT;
                ++p;
            } else if (*p == 'L') {
                size = Size::LongDouble;
                ++p;
            } else if (*p == 'F' || *p == 'N') {
                ++p;
            } else {
                break;
            }
        }
        switch (*p) {
            case 'c':
            case 'C':
                if (wide)
                    (void)va_arg(args, wint_t);
                else
                    (void)va_arg(args, int);
                bound += ClampItem(2, width, precision);
                break;
            case 's':
            case 'S': {
                if (wide || *p == 'S') {
                    const wchar_t* w = va_arg(args, const wchar_t*);
                    // Bounded in output bytes: in a multibyte locale one wide character
                    // can print as several bytes, and a bound in characters would cut it.
                    std::size_t n = w ? std::wcslen(w) * MB_LEN_MAX : 6;
                    bound += ClampItem(n ? n : 1, width, precision);
                } else {
                    const char* s = va_arg(args, const char*);
                    std::size_t n = s ? std::strlen(s) : 6;
                    bound += ClampItem(n ? n : 1, width, precision);
                }
                break;
            }
            case 'd':
            case 'i':
            case 'u':
            case 'o':
            case 'x':
            case 'X':
                if (size == Size::LongLong || size == Size::Int64)
                    (void)va_arg(args, long long);
                else if (size == Size::Long)
                    (void)va_arg(args, long);
                else if (size == Size::SizeT)
                    (void)va_arg(args, std::size_t);
                else
                    (void)va_arg(args, int);
                bound += AtLeast(32, width, precision);
                break;
            case 'e':
            case 'E':
            case 'g':
            case 'G':
            case 'a':
            case 'A':
                if (size == Size::LongDouble)
                    (void)va_arg(args, long double);
                else
                    (void)va_arg(args, double);
                bound += AtLeast(128, width, precision);
                break;
            case 'f':
            case 'F': {
                double value = size == Size::LongDouble
                                   ? static_cast<double>(va_arg(args, long double))
                                   : va_arg(args, double);
                // Measured with six more digits of precision than asked for, so the
                // default precision of "%f" fits too. A double's integral part has at most
                // 309 digits, hence the 318 bytes of scratch.
                std::size_t scratch = static_cast<std::size_t>(width > precision ? width : precision) + 318 + 6;
                std::vector<char> buffer(scratch);
                const int measured = precision > INT_MAX - 6 ? INT_MAX : precision + 6;
                int n = std::snprintf(buffer.data(), scratch, "%*.*f", width, measured, value);
                bound += static_cast<std::size_t>(n > 0 ? n : 0);
                break;
            }
            case 'p':
                (void)va_arg(args, void*);
                bound += AtLeast(32, width, precision);
                break;
            case 'n':
                (void)va_arg(args, void*);
                break;
            default:
                if (*p == '\0') --p;
                break;
        }
    }
    return bound;
}

}  // namespace

std::string FormatString(const char* format, ...) {
    if (format == nullptr) return std::string();
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    std::size_t bound = BoundLength(format, measure);
    va_end(measure);
    std::string result(bound + 1, 'X');
    std::vsnprintf(&result[0], bound + 1, format, args);
    va_end(args);
    result.resize(std::strlen(result.c_str()));
    return result;
}

}  // namespace Tessel16
