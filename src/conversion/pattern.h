// pattern.h: the xs:pattern facet. XSD regular expressions are translated to the PCRE
// dialect, compiled once per distinct pattern into a process-wide cache, and matched against
// the whole value. Internal to the library; callers go through the facet check.
#pragma once

#include <cstddef>
#include <string>

namespace Tessel16::detail {

// The PCRE text for an XSD pattern: the XSD-only escapes (\i \I \c \C and four \p{Is...}
// blocks) rewritten, an escaped backslash left alone, and the whole wrapped as "^(...)$".
std::string TranslateXsdPattern(const std::string& xsdPattern);

// True when the whole of `value` matches the XSD pattern. The compiled pattern (or its
// compile error) is cached, so repeated checks against one pattern compile it once.
// Throws CTsException "Invalid Regular Expression: %s Error: '%s'" for a pattern that does
// not compile, on every call.
bool MatchesXsdPattern(const std::string& xsdPattern, const std::string& value);

// The same test with a fresh compilation and no cache, as a baseline for measurements.
bool MatchesXsdPatternUncached(const std::string& xsdPattern, const std::string& value);

// Cache introspection for tests and benchmarks.
std::size_t PatternCacheSize();
void ClearPatternCache();

}  // namespace Tessel16::detail
