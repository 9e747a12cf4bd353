// whitespace_utils.h: the XSD whitespace facet (preserve, replace, collapse) applied to text
// before it is parsed into a value. Kept apart from the conversions because the readers and
// the collections also apply it to text that stays a string.
#pragma once

#include <cstdint>
#include <string>

#include "tessel16/export.h"

namespace Tessel16 {

class TESSEL16_API CWhitespaceUtils {
public:
    enum WhitespaceRule : std::int32_t {
        WhitespaceRule_None = 0,
        WhitespaceRule_Preserve = 1,
        WhitespaceRule_Replace = 2,
        WhitespaceRule_Collapse = 3
    };

    // The text under the rule: None returns it unchanged, the others call Preserve, Replace or
    // Collapse. Throws CTsException "Unknown WhitespaceRule" for any other rule value.
    static std::string ApplyRule(WhitespaceRule rule, const std::string& text);

    // Each CR LF pair and each lone CR become one LF. Stops at an embedded NUL.
    static std::string Preserve(const std::string& text);
    // As Preserve, over at most `length` characters of `text` (null gives "").
    static std::string Preserve(const char* text, int length);
    // Each tab, LF, lone CR and CR LF pair becomes one space. Stops at an embedded NUL.
    static std::string Replace(const std::string& text);
    // Runs of space, tab, CR and LF become one space, with none at either end. Stops at an
    // embedded NUL.
    static std::string Collapse(const std::string& text);
    // True for space, tab, CR and LF (the XML whitespace characters).
    static bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
};

}  // namespace Tessel16
