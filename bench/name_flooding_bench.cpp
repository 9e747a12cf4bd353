// name_flooding_bench.cpp: loading 100 000 distinct element names chosen to collide in a
// hash that reads only the ends of a name, against a control document of the same size
// whose names differ at both ends. The two times should stay within a small factor of each
// other; a name table that can be flooded makes the first one quadratic.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "tessel16/xml_document.h"

using namespace Tessel16;

namespace {

constexpr int kNames = 100000;

// Every name is 40 bytes: 16 fixed, an 8-digit number, 16 fixed, or (control) the number
// moved to both ends so that no two names share a prefix or a suffix.
std::string Document(bool colliding) {
    std::string xml = "<r>";
    xml.reserve(static_cast<std::size_t>(kNames) * 44 + 8);
    for (int i = 0; i < kNames; ++i) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%08d", i);
        std::string name = colliding ? "n" + std::string(15, 'a') + digits + std::string(16, 'b')
                                     : "n" + std::string(digits) + std::string(23, 'a') + digits;
        xml += "<" + name + "/>";
    }
    xml += "</r>";
    return xml;
}

void Load(benchmark::State& state, bool colliding) {
    const std::string xml = Document(colliding);
    for (auto _ : state) {
        CXmlDocument document;
        document.LoadXml(xml.c_str());
        benchmark::DoNotOptimize(document.GetDocumentElement());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(xml.size()));
}

void BM_ControlNames(benchmark::State& state) { Load(state, false); }
void BM_CollidingNames(benchmark::State& state) { Load(state, true); }

}  // namespace

BENCHMARK(BM_ControlNames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollidingNames)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
