// lexical_fuzz.cpp: the lexical parsers under a fuzzer. The input text goes through the
// from-string conversion of every value kind under every whitespace rule, and through the
// CDateTime, CDecimal, CBigInteger and CDateTimeSpan parsers. Contract: only the library's
// exception family escapes, and a value that parses prints as text that parses to a value
// printing the same way.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "tessel16/tessel16.h"

using namespace Tessel16;

namespace {

using Rule = CWhitespaceUtils::WhitespaceRule;

[[noreturn]] void Fail(const char* kind, const std::string& first, const std::string& second) {
    std::fprintf(stderr, "%s: canonical text is not stable: [%s] then [%s]\n", kind,
                 first.c_str(), second.c_str());
    std::abort();
}

// Parses text, prints the value, parses the print and prints again: the prints must agree.
template <typename Parse, typename Print>
void RoundTrip(const char* kind, const std::string& text, Rule rule, Parse parse, Print print,
               bool (*reparsable)(const std::string&) = nullptr) {
    std::string first;
    try {
        first = print(parse(text, rule));
    } catch (const CTsException&) {
        return;
    }
    if (reparsable && !reparsable(first)) return;
    std::string second;
    try {
        second = print(parse(first, rule));
    } catch (const CTsException& e) {
        std::fprintf(stderr, "%s: our own text [%s] from [%s] was refused: %s\n", kind,
                     first.c_str(), text.c_str(), e.GetFullMessage().c_str());
        std::abort();
    }
    if (first != second) Fail(kind, first, second);
}

// Kinds whose print is not meant to parse back to the same print (floats print with a
// limited precision) are only parsed.
template <typename Parse>
void ParseOnly(const std::string& text, Rule rule, Parse parse) {
    try {
        (void)parse(text, rule);
    } catch (const CTsException&) {
    }
}

void AllConversions(const std::string& text, Rule rule) {
    using C = CConversions;
    RoundTrip("i1", text, rule, C::i1FromString, C::i1ToString);
    RoundTrip("i2", text, rule, C::i2FromString, C::i2ToString);
    RoundTrip("i4", text, rule, C::i4FromString, C::i4ToString);
    RoundTrip("i8", text, rule, C::i8FromString, C::i8ToString);
    RoundTrip("ui1", text, rule, C::ui1FromString, C::ui1ToString);
    RoundTrip("ui2", text, rule, C::ui2FromString, C::ui2ToString);
    RoundTrip("ui4", text, rule, C::ui4FromString, C::ui4ToString);
    RoundTrip("ui8", text, rule, C::ui8FromString, C::ui8ToString);
    ParseOnly(text, rule, C::r4FromString);
    ParseOnly(text, rule, C::r8FromString);
    RoundTrip("boolean", text, rule, C::booleanFromString, C::booleanToString);
    ParseOnly(text, rule, C::charFromString);
    ParseOnly(text, rule, C::stringFromString);
    RoundTrip("decimal", text, rule, C::decimalFromString,
              [](const CDecimal& v) { return C::decimalToString(v); });
    RoundTrip("integer", text, rule, C::integerFromString, C::integerToString);
    // A zero duration prints as a bare "P" ("-P" when it was parsed from "-P0D"), which the
    // parser refuses by design: such prints are not fed back.
    RoundTrip("duration", text, rule, C::durationFromString, C::durationToString,
              [](const std::string& p) { return p != "P" && p != "-P"; });
    RoundTrip("datetime", text, rule, C::datetimeFromString, C::datetimeToString);
    RoundTrip("date", text, rule, C::dateFromString, C::dateToString);
    RoundTrip("time", text, rule, C::timeFromString, C::timeToString);
    RoundTrip("yearMonth", text, rule, C::yearMonthFromString, C::yearMonthToString);
    RoundTrip("monthDay", text, rule, C::monthDayFromString, C::monthDayToString);
    // A gYear travels as a bare unsigned 16-bit number printed without padding, so years
    // below 1000 and negative ones do not print back into a four-digit year: parse only.
    ParseOnly(text, rule, C::yearFromString);
    RoundTrip("month", text, rule, C::monthFromString, C::monthToString);
    RoundTrip("day", text, rule, C::dayFromString, C::dayToString);
    RoundTrip("hexBinary", text, rule, C::hexBinaryFromString, C::hexBinaryToString);
    RoundTrip("base64Binary", text, rule, C::base64BinaryFromString, C::base64BinaryToString);
    // Floats print with a fixed number of digits; the parse of a print must still succeed.
    try {
        (void)C::r8FromString(C::r8ToString(C::r8FromString(text, rule)), rule);
        (void)C::r4FromString(C::r4ToString(C::r4FromString(text, rule)), rule);
    } catch (const CTsException&) {
    }
}

// The value types' own parsers, which accept what the conversions hand them and more.
void ValueParsers(const std::string& text) {
    const char* c = text.c_str();
    for (void (CDateTime::*parse)(const char*) :
         {&CDateTime::ParseXSDDateTime, &CDateTime::ParseXSDDate, &CDateTime::ParseXSDTime}) {
        try {
            CDateTime value;
            (value.*parse)(c);
            (void)value.ToString();
        } catch (const CTsException&) {
        }
    }
    try {
        CDecimal value(c);
        (void)value.ToString();
    } catch (const CTsException&) {
    }
    try {
        CBigInteger value(c);
        (void)value.ToString();
    } catch (const CTsException&) {
    }
    try {
        CDateTimeSpan value;
        value.ParseXSDDuration(c);
        (void)value.ToString();
    } catch (const CTsException&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;  // lexical forms are short; long inputs only slow the search
    // The text stops at its first NUL, as every caller's C string would.
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.c_str();
    for (Rule rule : {CWhitespaceUtils::WhitespaceRule_None, CWhitespaceUtils::WhitespaceRule_Preserve,
                      CWhitespaceUtils::WhitespaceRule_Replace,
                      CWhitespaceUtils::WhitespaceRule_Collapse})
        AllConversions(text, rule);
    ValueParsers(text);
    return 0;
}
