// number_format.h: formatting of floating-point values for the lexical conversions, shared
// with the facet messages. Internal to the library.
#pragma once

#include <cstddef>
#include <string>

namespace Tessel16::detail {

// "NaN", "INF", "-INF", or the shortest text that reads back as the same value, in "%g"
// shapes; a non-empty `format` is a printf format for the one double instead, whose result
// is cut to `maxLength` characters. Always uses '.' as the decimal point, whatever the locale.
// Throws CTsInvalidParamException when `format` is not a format for exactly one double.
std::string FormatReal(double value, const std::string& format, std::size_t maxLength);
std::string FormatReal(float value, const std::string& format, std::size_t maxLength);
// The caller's printf format alone (finite values; no NaN or infinity handling).
std::string FormatWithPrintf(double value, const std::string& format, std::size_t maxLength);

}  // namespace Tessel16::detail
