// conversions_bench.cpp: cost of one lexical conversion per kind in each direction, and of
// one xs:pattern check with the compiled-pattern cache against a fresh compilation per
// check (the behaviour without the cache), so both numbers come from the same run.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "conversion/pattern.h"
#include "tessel16/conversions.h"
#include "tessel16/primitive_restrictions.h"

using namespace Tessel16;
using C = CConversions;

namespace {

constexpr auto kNone = CWhitespaceUtils::WhitespaceRule_None;
constexpr std::size_t kValues = 1024;  // a power of two, cycled with a mask

template <class Make>
std::vector<std::string> Texts(Make make) {
    std::mt19937_64 random(1);
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < kValues; ++i) texts.push_back(make(random));
    return texts;
}

const std::vector<std::string>& I4Texts() {
    static const auto texts =
        Texts([](std::mt19937_64& r) { return C::i4ToString(static_cast<std::int32_t>(r())); });
    return texts;
}
const std::vector<std::string>& R8Texts() {
    static const auto texts = Texts([](std::mt19937_64& r) {
        return C::r8ToString(static_cast<double>(r() % 100000000) / 997.0);
    });
    return texts;
}
const std::vector<std::string>& DecimalTexts() {
    static const auto texts = Texts([](std::mt19937_64& r) {
        return std::to_string(r() % 10000000) + "." + std::to_string(r() % 100000);
    });
    return texts;
}
const std::vector<std::string>& DateTimeTexts() {
    static const auto texts = Texts([](std::mt19937_64& r) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ",
                      static_cast<int>(1900 + r() % 200), static_cast<int>(1 + r() % 12),
                      static_cast<int>(1 + r() % 28), static_cast<int>(r() % 24),
                      static_cast<int>(r() % 60), static_cast<int>(r() % 60),
                      static_cast<int>(r() % 1000));
        return std::string(buffer);
    });
    return texts;
}
const std::vector<std::string>& BooleanTexts() {
    static const auto texts = Texts([](std::mt19937_64& r) {
        static const char* words[] = {"true", "false", "1", "0", "TRUE", "False"};
        return std::string(words[r() % 6]);
    });
    return texts;
}

template <class Parse>
void FromText(benchmark::State& state, const std::vector<std::string>& texts, Parse parse) {
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(parse(texts[i++ & (kValues - 1)]));
    state.SetItemsProcessed(state.iterations());
}

template <class Parse, class Write>
void ToText(benchmark::State& state, const std::vector<std::string>& texts, Parse parse,
            Write write) {
    std::vector<decltype(parse(texts[0]))> values;
    for (const auto& t : texts) values.push_back(parse(t));
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(write(values[i++ & (kValues - 1)]));
    state.SetItemsProcessed(state.iterations());
}

auto ParseI4 = [](const std::string& t) { return C::i4FromString(t, kNone); };
auto ParseR8 = [](const std::string& t) { return C::r8FromString(t, kNone); };
auto ParseDecimal = [](const std::string& t) { return C::decimalFromString(t, kNone); };
auto ParseDateTime = [](const std::string& t) { return C::datetimeFromString(t, kNone); };
auto ParseBoolean = [](const std::string& t) { return C::booleanFromString(t, kNone); };

void I4FromString(benchmark::State& s) { FromText(s, I4Texts(), ParseI4); }
void I4ToString(benchmark::State& s) {
    ToText(s, I4Texts(), ParseI4, [](std::int32_t v) { return C::i4ToString(v); });
}
void R8FromString(benchmark::State& s) { FromText(s, R8Texts(), ParseR8); }
void R8ToString(benchmark::State& s) {
    ToText(s, R8Texts(), ParseR8, [](double v) { return C::r8ToString(v); });
}
void DecimalFromString(benchmark::State& s) { FromText(s, DecimalTexts(), ParseDecimal); }
void DecimalToString(benchmark::State& s) {
    ToText(s, DecimalTexts(), ParseDecimal,
           [](const CDecimal& v) { return C::decimalToString(v); });
}
void DateTimeFromString(benchmark::State& s) { FromText(s, DateTimeTexts(), ParseDateTime); }
void DateTimeToString(benchmark::State& s) {
    ToText(s, DateTimeTexts(), ParseDateTime,
           [](const CDateTime& v) { return C::datetimeToString(v); });
}
void BooleanFromString(benchmark::State& s) { FromText(s, BooleanTexts(), ParseBoolean); }
void BooleanToString(benchmark::State& s) {
    ToText(s, BooleanTexts(), ParseBoolean, [](bool v) { return C::booleanToString(v); });
}

// A typical identifier-like pattern checked against values that all match.
const char kPattern[] = "[A-Z]{2}-\\d{4}(-\\i\\c*)?";
const std::vector<std::string>& PatternValues() {
    static const auto texts = Texts([](std::mt19937_64& r) {
        return std::string("AB-") + std::to_string(1000 + r() % 9000) + "-item" +
               std::to_string(r() % 100);
    });
    return texts;
}

void PatternCheckCached(benchmark::State& state) {
    const auto& values = PatternValues();
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(detail::MatchesXsdPattern(kPattern, values[i++ & (kValues - 1)]));
    state.SetItemsProcessed(state.iterations());
}

void PatternCheckFreshCompile(benchmark::State& state) {
    const auto& values = PatternValues();
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            detail::MatchesXsdPatternUncached(kPattern, values[i++ & (kValues - 1)]));
    state.SetItemsProcessed(state.iterations());
}

// The whole string facet check as a metadata record runs it (lengths, then the pattern).
void StringFacetCheck(benchmark::State& state) {
    const CPrimitiveRestrictions facets(kPattern, 1, 40, nullptr, nullptr, nullptr, nullptr, -1, -1,
                                        -1);
    const auto& values = PatternValues();
    std::size_t i = 0;
    for (auto _ : state) facets.CheckString("code", values[i++ & (kValues - 1)]);
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(I4FromString);
BENCHMARK(I4ToString);
BENCHMARK(R8FromString);
BENCHMARK(R8ToString);
BENCHMARK(DecimalFromString);
BENCHMARK(DecimalToString);
BENCHMARK(DateTimeFromString);
BENCHMARK(DateTimeToString);
BENCHMARK(BooleanFromString);
BENCHMARK(BooleanToString);
BENCHMARK(PatternCheckCached);
BENCHMARK(PatternCheckFreshCompile);
BENCHMARK(StringFacetCheck);

BENCHMARK_MAIN();
