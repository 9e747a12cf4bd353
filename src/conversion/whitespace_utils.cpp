// whitespace_utils.cpp: the three XSD whitespace rules. The texts are treated as C strings
// (an embedded NUL ends them) because the values reach us from C-string based APIs and the
// rules have always behaved that way for callers.
#include "tessel16/whitespace_utils.h"

#include <cstring>

#include "conversion/conversion_messages.h"
#include "tessel16/exception.h"

namespace Tessel16 {
namespace {

std::size_t CLength(const std::string& text) { return std::strlen(text.c_str()); }

std::string PreserveRange(const char* text, std::size_t length) {
    std::string out;
    out.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c == '\r') {
            // A CR LF pair and a lone CR both end a line; the LF of a pair is consumed here.
            if (i + 1 < length && text[i + 1] == '\n') ++i;
            out += '\n';
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string CWhitespaceUtils::ApplyRule(WhitespaceRule rule, const std::string& text) {
    switch (rule) {
        case WhitespaceRule_None:
            return text;
        case WhitespaceRule_Preserve:
            return Preserve(text);
        case WhitespaceRule_Replace:
            return Replace(text);
        case WhitespaceRule_Collapse:
            return Collapse(text);
    }
    throw CTsException(detail::kMsgUnknownWhitespaceRule);
}

std::string CWhitespaceUtils::Preserve(const std::string& text) {
    return PreserveRange(text.c_str(), CLength(text));
}

std::string CWhitespaceUtils::Preserve(const char* text, int length) {
    if (text == nullptr || length <= 0) return std::string();
    std::size_t n = 0;
    while (n < static_cast<std::size_t>(length) && text[n] != '\0') ++n;
    return PreserveRange(text, n);
}

std::string CWhitespaceUtils::Replace(const std::string& text) {
    const std::size_t length = CLength(text);
    std::string out;
    out.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c == '\r') {
            if (i + 1 < length && text[i + 1] == '\n') ++i;
            out += ' ';
        } else if (c == '\t' || c == '\n') {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

std::string CWhitespaceUtils::Collapse(const std::string& text) {
    const std::size_t length = CLength(text);
    std::string out;
    out.reserve(length);
    bool pendingSpace = false;
    for (std::size_t i = 0; i < length; ++i) {
        char c = text[i];
        if (IsWhiteSpace(c)) {
            // Leading whitespace never produces a space; inner runs produce one, and only once
            // a non-blank follows, so no trailing space is ever written.
            pendingSpace = !out.empty();
        } else {
            if (pendingSpace) out += ' ';
            pendingSpace = false;
            out += c;
        }
    }
    return out;
}

}  // namespace Tessel16
