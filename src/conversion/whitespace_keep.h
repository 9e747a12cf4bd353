// whitespace_keep.h: the whitespace rules without a copy for the texts they leave alone.
// Values read from XML are nearly always already in their final form (no carriage return,
// tab or line feed, no leading, trailing or doubled space), so the conversions parse the
// caller's string itself and build a new one only when the rule changes something.
#pragma once

#include <cstring>
#include <string>

#include "tessel16/whitespace_utils.h"

namespace Tessel16::detail {

// True when CWhitespaceUtils::ApplyRule(rule, text) would return `text` unchanged.
inline bool RuleKeepsText(CWhitespaceUtils::WhitespaceRule rule, const std::string& text) {
    if (rule == CWhitespaceUtils::WhitespaceRule_None) return true;
    const char* p = text.data();
    const std::size_t n = text.size();
    // Preserve only ends lines: two library scans beat a loop over long free text.
    if (rule == CWhitespaceUtils::WhitespaceRule_Preserve)
        return !std::memchr(p, '\r', n) && !std::memchr(p, '\0', n);
    for (std::size_t i = 0; i < n; ++i) {
        const char c = p[i];
        // Every character the rules act on sorts at or below the space.
        if (static_cast<unsigned char>(c) > ' ') continue;
        // An embedded zero ends the text for the rules, which would shorten it.
        if (c == '\0' || c == '\r') return false;
        if (rule == CWhitespaceUtils::WhitespaceRule_Preserve) continue;
        if (c == '\t' || c == '\n') return false;
        if (c == ' ' && rule == CWhitespaceUtils::WhitespaceRule_Collapse &&
            (i == 0 || i + 1 == n || p[i + 1] == ' '))
            return false;
    }
    // An unknown rule must still reach ApplyRule, which rejects it.
    return rule == CWhitespaceUtils::WhitespaceRule_Preserve ||
           rule == CWhitespaceUtils::WhitespaceRule_Replace ||
           rule == CWhitespaceUtils::WhitespaceRule_Collapse;
}

// `text` itself when the rule leaves it unchanged, otherwise the rule's result in `scratch`.
inline const std::string& ApplyRuleOrKeep(CWhitespaceUtils::WhitespaceRule rule,
                                          const std::string& text, std::string& scratch) {
    if (RuleKeepsText(rule, text)) return text;
    scratch = CWhitespaceUtils::ApplyRule(rule, text);
    return scratch;
}

}  // namespace Tessel16::detail
