// lexical_fuzz.cpp: the lexical parsers under a fuzzer. The input text goes through the
// from-string conversion of every value kind under every whitespace rule, leniently and
// strictly, and through the CDateTime, CDecimal, CBigInteger and CDateTimeSpan parsers; the
// input bytes also seed random values of every kind that are written and read back.
// Contract: only the library's exception family escapes; a value that parses prints as text
// that parses to the same value, printing the same way; what strict reading takes, lenient
// reading takes as the same value.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "support/value_roundtrip.h"
#include "tessel16/tessel16.h"

using namespace Tessel16;

namespace {

using Rule = CWhitespaceUtils::WhitespaceRule;

[[noreturn]] void Fail(const char* kind, const std::string& first, const std::string& second) {
    std::fprintf(stderr, "%s: canonical text is not stable: [%s] then [%s]\n", kind,
                 first.c_str(), second.c_str());
    std::abort();
}

// Parses text, prints the value and parses the print: the two values must be equal, and the
// second print must be the first.
template <typename Parse, typename Print>
void RoundTrip(const char* kind, const std::string& text, Rule rule, Parse parse, Print print) {
    decltype(parse(text, rule)) value{};
    try {
        value = parse(text, rule);
    } catch (const CTsException&) {
        return;
    }
    const std::string first = print(value);
    decltype(parse(text, rule)) back{};
    try {
        back = parse(first, rule);
    } catch (const CTsException& e) {
        std::fprintf(stderr, "%s: our own text [%s] from [%s] was refused: %s\n", kind,
                     first.c_str(), text.c_str(), e.GetFullMessage().c_str());
        std::abort();
    }
    if (!(back == value)) Fail(kind, first, "(another value)");
    const std::string second = print(back);
    if (first != second) Fail(kind, first, second);
}

template <typename Parse>
void ParseOnly(const std::string& text, Rule rule, Parse parse) {
    try {
        (void)parse(text, rule);
    } catch (const CTsException&) {
    }
}

// Floats: the print of a value must read back to the same bits (any NaN to a NaN).
template <typename Real, typename Parse, typename Print>
void RealRoundTrip(const char* kind, const std::string& text, Rule rule, Parse parse,
                   Print print) {
    Real value;
    try {
        value = parse(text, rule);
    } catch (const CTsException&) {
        return;
    }
    const std::string first = print(value);
    Real back;
    try {
        back = parse(first, rule);
    } catch (const CTsException& e) {
        std::fprintf(stderr, "%s: our own text [%s] was refused: %s\n", kind, first.c_str(),
                     e.GetFullMessage().c_str());
        std::abort();
    }
    const bool same = std::isnan(value) ? std::isnan(back)
                                        : std::memcmp(&value, &back, sizeof value) == 0;
    if (!same) Fail(kind, first, print(back));
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
    RealRoundTrip<float>("r4", text, rule, C::r4FromString,
                         [](float v) { return C::r4ToString(v); });
    RealRoundTrip<double>("r8", text, rule, C::r8FromString,
                          [](double v) { return C::r8ToString(v); });
    RoundTrip("boolean", text, rule, C::booleanFromString, C::booleanToString);
    ParseOnly(text, rule, C::charFromString);
    ParseOnly(text, rule, C::stringFromString);
    RoundTrip("decimal", text, rule, C::decimalFromString,
              [](const CDecimal& v) { return C::decimalToString(v); });
    RoundTrip("integer", text, rule, C::integerFromString, C::integerToString);
    RoundTrip("duration", text, rule, C::durationFromString, C::durationToString);
    RoundTrip("datetime", text, rule, C::datetimeFromString, C::datetimeToString);
    RoundTrip("date", text, rule, C::dateFromString, C::dateToString);
    RoundTrip("time", text, rule, C::timeFromString, C::timeToString);
    RoundTrip("yearMonth", text, rule, C::yearMonthFromString, C::yearMonthToString);
    RoundTrip("monthDay", text, rule, C::monthDayFromString, C::monthDayToString);
    RoundTrip("year", text, rule, C::yearFromString, C::yearToString);
    RoundTrip("month", text, rule, C::monthFromString, C::monthToString);
    RoundTrip("day", text, rule, C::dayFromString, C::dayToString);
    RoundTrip("hexBinary", text, rule, C::hexBinaryFromString, C::hexBinaryToString);
    RoundTrip("base64Binary", text, rule, C::base64BinaryFromString, C::base64BinaryToString);
}

// Strict reading is a subset of lenient reading: what it takes, lenient reading takes too,
// as the same value.
void StrictIsLenient(const std::string& text, Rule rule) {
    for (ItemType kind : test::kRoundTripKinds) {
        std::string strict;
        try {
            TsVariant value;
            value.FromString(text, kind, rule, true);
            strict = value.ToString();
        } catch (const CTsException&) {
            continue;
        }
        std::string lenient;
        try {
            TsVariant value;
            value.FromString(text, kind, rule, false);
            lenient = value.ToString();
        } catch (const CTsException& e) {
            std::fprintf(stderr, "kind %d: [%s] read strictly but refused leniently: %s\n",
                         static_cast<int>(kind), text.c_str(), e.GetFullMessage().c_str());
            std::abort();
        }
        if (strict != lenient) Fail("strict and lenient reading", strict, lenient);
    }
}

// Random values drawn from the input bytes, written and read back.
class BytesDraw : public test::Draw {
public:
    BytesDraw(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint64_t Next() override {
        std::uint64_t value = 0;
        for (int i = 0; i < 8 && m_at < m_size; ++i) value = value << 8 | m_data[m_at++];
        return value;
    }
    bool Exhausted() const { return m_at >= m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

void RandomValues(const std::uint8_t* data, std::size_t size) {
    BytesDraw draw(data, size);
    constexpr std::size_t kKinds = sizeof test::kRoundTripKinds / sizeof test::kRoundTripKinds[0];
    while (!draw.Exhausted()) {
        const ItemType kind = test::kRoundTripKinds[draw.Next() % kKinds];
        const std::string problem = test::RoundTripOne(kind, draw);
        if (!problem.empty()) {
            std::fprintf(stderr, "kind %d: %s\n", static_cast<int>(kind), problem.c_str());
            std::abort();
        }
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
    {
        AllConversions(text, rule);
        StrictIsLenient(text, rule);
    }
    ValueParsers(text);
    RandomValues(data, size);
    return 0;
}
