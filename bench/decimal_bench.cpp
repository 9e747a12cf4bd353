// decimal_bench.cpp: the decimal work of the binding hot path, reading and writing typical
// member values, plus the arithmetic that facets and applications do on them.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "tessel16/decimal.h"

using namespace Tessel16;

namespace {

const std::vector<std::string>& Texts() {
    static const std::vector<std::string> texts = {"0",
                                                   "12",
                                                   "-7",
                                                   "19.99",
                                                   "1234.5",
                                                   "-0.125",
                                                   "100000",
                                                   "3.14159265358979",
                                                   "987654321.123456789",
                                                   "-42.00",
                                                   "0.000001",
                                                   "123456789012345678901234567890.5"};
    return texts;
}

void BM_DecimalParse(benchmark::State& state) {
    const auto& texts = Texts();
    for (auto _ : state) {
        for (const auto& t : texts) benchmark::DoNotOptimize(CDecimal(t.c_str()));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(texts.size()));
}
BENCHMARK(BM_DecimalParse);

void BM_DecimalToString(benchmark::State& state) {
    std::vector<CDecimal> values;
    for (const auto& t : Texts()) values.emplace_back(t.c_str());
    for (auto _ : state) {
        for (const auto& v : values) benchmark::DoNotOptimize(v.ToString());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(values.size()));
}
BENCHMARK(BM_DecimalToString);

void BM_IntegerParseWrite(benchmark::State& state) {
    const char* texts[] = {"0", "42", "-123456789", "9223372036854775807",
                           "123456789012345678901234567890"};
    for (auto _ : state) {
        for (const char* t : texts) benchmark::DoNotOptimize(CBigInteger(t).ToString());
    }
    state.SetItemsProcessed(state.iterations() * 5);
}
BENCHMARK(BM_IntegerParseWrite);

void BM_DecimalArithmetic(benchmark::State& state) {
    const CDecimal a("1234.5678");
    const CDecimal b("-98.76");
    for (auto _ : state) {
        benchmark::DoNotOptimize(a + b);
        benchmark::DoNotOptimize(a * b);
        benchmark::DoNotOptimize(a / b);
        benchmark::DoNotOptimize(a < b);
    }
    state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(BM_DecimalArithmetic);

void BM_DecimalCompareAndConvert(benchmark::State& state) {
    const CDecimal a("19.99");
    const CDecimal bound("100");
    for (auto _ : state) {
        benchmark::DoNotOptimize(a <= bound);
        benchmark::DoNotOptimize(a.ToDouble());
        benchmark::DoNotOptimize(a.ToLongLong());
    }
}
BENCHMARK(BM_DecimalCompareAndConvert);

}  // namespace

BENCHMARK_MAIN();
