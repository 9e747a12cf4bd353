// pattern.cpp: xs:pattern over PCRE2 (8-bit library, UTF mode). A schema carries a handful
// of patterns that are checked against every value, so each translated pattern is compiled
// (and JIT-compiled when the platform allows) once and shared by all threads through a
// read-mostly cache; compile errors are cached too and rethrown on every check.
#define PCRE2_CODE_UNIT_WIDTH 8
#include "conversion/pattern.h"

#include <pcre2.h>

#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string_view>
#include <unordered_map>

#include "conversion/char_encoding.h"
#include "conversion/conversion_messages.h"
#include "conversion/utf8_text.h"
#include "tessel16/exception.h"
#include "tessel16/switches.h"

namespace Tessel16::detail {
namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    std::size_t pos = 0;
    while ((pos = text.find(from, pos)) != std::string::npos) {
        text.replace(pos, from.size(), to);
        pos += to.size();
    }
}

// Rewrites XSD character-class subtraction, which PCRE2 lacks: "[base-[sub]]" becomes
// "(?:(?![sub])[base])", the subtracted class itself translated the same way (it may subtract
// again). `pos` is at a class's "["; on return it is past the class's "]". Escapes are copied
// as they stand; an unterminated class is left for PCRE2 to report.
std::string TranslateClass(const std::string& text, std::size_t& pos) {
    const std::size_t start = pos;
    std::size_t i = pos + 1;
    if (i < text.size() && text[i] == '^') ++i;
    if (i < text.size() && text[i] == ']') ++i;  // a leading "]" is a member, not the end
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\\') {
            i += 2;
        } else if (c == '-' && i + 1 < text.size() && text[i + 1] == '[') {
            const std::string base = text.substr(start + 1, i - start - 1);
            std::size_t inner = i + 1;
            const std::string subtracted = TranslateClass(text, inner);
            if (inner < text.size() && text[inner] == ']') {
                pos = inner + 1;
                return "(?:(?!" + subtracted + ")[" + base + "])";
            }
            break;
        } else if (c == ']') {
            pos = i + 1;
            return text.substr(start, pos - start);
        } else {
            ++i;
        }
    }
    pos = text.size();
    return text.substr(start);
}

std::string TranslateSubtractions(const std::string& text) {
    if (text.find("-[") == std::string::npos) return text;
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\\') {
            out.append(text, i, 2);
            i += 2;
        } else if (text[i] == '[') {
            out += TranslateClass(text, i);
        } else {
            out += text[i++];
        }
    }
    return out;
}

// One compiled pattern, or the message of the compile error it produced.
class CompiledPattern {
public:
    // `utf8` is what PCRE compiles; `shown` is the same pattern in local text, for the message.
    CompiledPattern(const std::string& utf8, const std::string& shown, bool jit) : m_shown(shown) {
        int errorCode = 0;
        PCRE2_SIZE errorOffset = 0;
        // PCRE2_ANCHORED at compile time matches the anchored match of the XSD rule and,
        // unlike the match-time option, leaves the JIT usable.
        m_code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(utf8.data()), utf8.size(),
                               PCRE2_UTF | PCRE2_ANCHORED, &errorCode, &errorOffset, nullptr);
        if (m_code == nullptr) {
            PCRE2_UCHAR buffer[256];
            pcre2_get_error_message(errorCode, buffer, sizeof buffer);
            m_error = FormatString(kMsgInvalidRegex, shown.c_str(),
                                   reinterpret_cast<const char*>(buffer));
            return;
        }
        if (jit) m_jit = pcre2_jit_compile(m_code, PCRE2_JIT_COMPLETE) == 0;
        std::uint32_t captures = 0;
        pcre2_pattern_info(m_code, PCRE2_INFO_CAPTURECOUNT, &captures);
        m_pairs = captures + 1;
    }
    ~CompiledPattern() { pcre2_code_free(m_code); }
    CompiledPattern(const CompiledPattern&) = delete;
    CompiledPattern& operator=(const CompiledPattern&) = delete;

    // The XSD rule: a match counts only when it covers the subject from its first to its
    // last byte ("$" alone would also accept a final line feed left unmatched).
    bool MatchesWhole(const std::string& subject) const {
        if (m_code == nullptr) throw CTsException(m_error);
        pcre2_match_data* data = MatchData(m_pairs);
        pcre2_match_context* context = MatchContext();
        const auto* text = reinterpret_cast<PCRE2_SPTR>(subject.data());
        int rc = pcre2_match(m_code, text, subject.size(), 0, 0, data, context);
        if (rc == PCRE2_ERROR_JIT_STACKLIMIT)
            rc = pcre2_match(m_code, text, subject.size(), 0, PCRE2_NO_JIT, data, context);
        if (IsResourceLimit(rc)) {
            // The engine stopped before it could decide: saying "no match" would blame the
            // value for the pattern's backtracking, so the caller hears why instead.
            PCRE2_UCHAR buffer[256];
            pcre2_get_error_message(rc, buffer, sizeof buffer);
            throw CTsException(FormatString(kMsgRegexGaveUp, m_shown.c_str(),
                                            reinterpret_cast<const char*>(buffer)));
        }
        if (rc < 1) return false;
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
        return ovector[0] == 0 && ovector[1] == subject.size();
    }

    // The value in UTF-8, converted only when the local encoding is not UTF-8 already.
    bool MatchesLocal(const std::string& value) const {
        return LocalIsUtf8() ? MatchesWhole(value) : MatchesWhole(LocalToUtf8Text(value));
    }

    static std::shared_ptr<const CompiledPattern> FromXsd(const std::string& xsdPattern, bool jit) {
        const std::string translated = TranslateXsdPattern(xsdPattern);
        return std::make_shared<const CompiledPattern>(LocalToUtf8Text(translated), translated,
                                                       jit);
    }

private:
    static bool IsResourceLimit(int rc) {
        return rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT ||
               rc == PCRE2_ERROR_HEAPLIMIT || rc == PCRE2_ERROR_JIT_STACKLIMIT ||
               rc == PCRE2_ERROR_NOMEMORY;
    }

    // Limits that bound the work of one match, so a pattern that backtracks catastrophically
    // (nested repeats such as (a+)+b, or long subjects under nested groups) ends in an
    // exception within a fraction of a second instead of holding the thread for minutes. The
    // JIT stack is larger than PCRE2's default, so ordinary long values stay on the fast path.
    static pcre2_match_context* MatchContext() {
        struct Holder {
            pcre2_match_context* context = nullptr;
            pcre2_jit_stack* stack = nullptr;
            Holder() {
                context = pcre2_match_context_create(nullptr);
                if (context == nullptr) throw std::bad_alloc();
                pcre2_set_match_limit(context, kMatchLimit);
                pcre2_set_depth_limit(context, kDepthLimit);
                pcre2_set_heap_limit(context, kHeapLimitKiB);
                stack = pcre2_jit_stack_create(32 * 1024, kJitStackBytes, nullptr);
                // Without a stack of our own the JIT falls back on its small default one.
                if (stack != nullptr) pcre2_jit_stack_assign(context, nullptr, stack);
            }
            ~Holder() {
                pcre2_jit_stack_free(stack);
                pcre2_match_context_free(context);
            }
        };
        thread_local Holder holder;
        return holder.context;
    }

    // Ten million steps are milliseconds under the JIT and about a second without it; the
    // heap and JIT stack are reserved as needed, up to these bounds, per thread.
    static constexpr std::uint32_t kMatchLimit = 10000000;
    static constexpr std::uint32_t kDepthLimit = 10000000;
    static constexpr std::uint32_t kHeapLimitKiB = 64 * 1024;
    static constexpr std::size_t kJitStackBytes = 16 * 1024 * 1024;

    // Match data large enough for every capture, one block per thread, grown on demand.
    static pcre2_match_data* MatchData(std::uint32_t pairs) {
        struct Holder {
            pcre2_match_data* data = nullptr;
            std::uint32_t pairs = 0;
            ~Holder() { pcre2_match_data_free(data); }
        };
        thread_local Holder holder;
        if (holder.pairs < pairs) {
            pcre2_match_data* grown = pcre2_match_data_create(pairs, nullptr);
            if (grown == nullptr) throw std::bad_alloc();
            pcre2_match_data_free(holder.data);
            holder.data = grown;
            holder.pairs = pairs;
        }
        return holder.data;
    }

    pcre2_code* m_code = nullptr;
    bool m_jit = false;
    std::uint32_t m_pairs = 1;
    std::string m_error;
    std::string m_shown;
};

// Patterns come from static schema metadata, so the cache stays small; the cap only guards
// against a caller that builds patterns from data. It is keyed by the XSD text, so a hit costs
// neither the translation nor a conversion; the compiled form depends on the local encoding
// too, so a change of that switch empties the cache. Entries are shared_ptr so a check that is
// running keeps its pattern alive across a flush.
class PatternCache {
public:
    std::shared_ptr<const CompiledPattern> Get(const std::string& xsdPattern) {
        const Encoding current = CurrentEncoding();
        {
            std::shared_lock<std::shared_mutex> lock(m_mutex);
            if (m_encoding == current) {
                auto found = m_entries.find(xsdPattern);
                if (found != m_entries.end()) return found->second;
            }
        }
        // Compiled outside the lock; two threads racing on a new pattern both compile and
        // the first insert wins, which costs one spare compilation at most.
        auto compiled = CompiledPattern::FromXsd(xsdPattern, true);
        std::unique_lock<std::shared_mutex> lock(m_mutex);
        if (m_encoding != current || m_entries.size() >= kMaxEntries) {
            m_entries.clear();
            m_encoding = current;
        }
        return m_entries.emplace(xsdPattern, std::move(compiled)).first->second;
    }
    std::size_t Size() {
        std::shared_lock<std::shared_mutex> lock(m_mutex);
        return m_entries.size();
    }
    void Clear() {
        std::unique_lock<std::shared_mutex> lock(m_mutex);
        m_entries.clear();
    }

private:
    struct Encoding {
        unsigned int codePage = 0;
        bool asciiOnly = false;
        bool operator==(const Encoding& o) const {
            return codePage == o.codePage && asciiOnly == o.asciiOnly;
        }
        bool operator!=(const Encoding& o) const { return !(*this == o); }
    };
    static Encoding CurrentEncoding() {
        return Encoding{detail::LocalCharEncoding(), detail::IsASCIIOnly()};
    }

    static constexpr std::size_t kMaxEntries = 4096;
    std::shared_mutex m_mutex;
    Encoding m_encoding = CurrentEncoding();
    std::unordered_map<std::string, std::shared_ptr<const CompiledPattern>> m_entries;
};

PatternCache& Cache() {
    static PatternCache cache;
    return cache;
}

}  // namespace

std::string TranslateXsdPattern(const std::string& xsdPattern) {
    std::string text = xsdPattern;
    // An escaped backslash is parked as 0x01 so that "\\i" is not read as "\i".
    ReplaceAll(text, "\\\\", "\x01");
    text = TranslateSubtractions(text);
    ReplaceAll(text, "\\i", "([^\\W\\d]|:)");
    ReplaceAll(text, "\\I", "([\\W\\d])");
    ReplaceAll(text, "\\c", "(\\w|\\.|-|:)");
    ReplaceAll(text, "\\C", "([^\\w\\.\\-\\:])");
    ReplaceAll(text, "\\p{IsBasicLatin}", "[\\000-\\177]");
    ReplaceAll(text, "\\p{IsLatin-1Supplement}", "[\\200-\\377]");
    ReplaceAll(text, "\\p{IsLatinExtended-A}", "[\\400-\\577]");
    ReplaceAll(text, "\\p{IsLatinExtended-B}", "[\\600-\\1117]");
    ReplaceAll(text, "\x01", "\\\\");
    return "^(" + text + ")$";
}

bool MatchesXsdPattern(const std::string& xsdPattern, const std::string& value) {
    return Cache().Get(xsdPattern)->MatchesLocal(value);
}

bool MatchesXsdPatternUncached(const std::string& xsdPattern, const std::string& value) {
    return CompiledPattern::FromXsd(xsdPattern, false)->MatchesLocal(value);
}

std::size_t PatternCacheSize() { return Cache().Size(); }
void ClearPatternCache() { Cache().Clear(); }

}  // namespace Tessel16::detail
