// po_bench.cpp: the purchase-order example binding reading (FromXmlStream) and writing
// (ToXmlStream) a generated document of 35 000 order lines, each timed against bare expat
// parsing the same bytes in the same run, plus the peak memory a read needs against the size
// of the document. Bare expat is the floor: every reader here parses with it first. The same
// order as JSON is timed against our XML paths and against RapidJSON's DOM parse.
#include <benchmark/benchmark.h>
#include <expat.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// RapidJSON is the JSON peer; its headers are not written for our warning set.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wcast-qual"
#pragma GCC diagnostic ignored "-Wundef"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wclass-memaccess"
#endif
#include <rapidjson/document.h>
#pragma GCC diagnostic pop

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>

#include "po/po_binding.h"
#include "tessel16/binary_data.h"
#include "tessel16/exception.h"
#include "tessel16/json_context.h"
#include "tessel16/serialization_context.h"
#include "tessel16/switches.h"

using namespace Tessel16;

namespace {

const int kLines = 35000;

const std::string& Document() {
    static const std::string doc = [] {
        std::string out;
        const std::string command =
            "python3 " TESSEL16_SHARED_DIR "/bench/gen.py " + std::to_string(kLines);
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe) {
            char buffer[65536];
            std::size_t n;
            while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) out.append(buffer, n);
            pclose(pipe);
        }
        if (out.size() < 1000000) {
            std::fprintf(stderr, "could not generate the document with: %s\n", command.c_str());
            std::exit(1);
        }
        return out;
    }();
    return doc;
}

unsigned char* Bytes(const std::string& text) {
    return reinterpret_cast<unsigned char*>(const_cast<char*>(text.data()));
}

void XMLCALL NoStart(void*, const XML_Char*, const XML_Char**) {}
void XMLCALL NoEnd(void*, const XML_Char*) {}
void XMLCALL NoText(void*, const XML_Char*, int) {}
void XMLCALL NoNamespace(void*, const XML_Char*, const XML_Char*) {}

void ParseRaw(const std::string& bytes) {
    XML_Parser parser = XML_ParserCreateNS(nullptr, '|');
    XML_SetElementHandler(parser, &NoStart, &NoEnd);
    XML_SetCharacterDataHandler(parser, &NoText);
    XML_SetNamespaceDeclHandler(parser, &NoNamespace, nullptr);
    if (XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), XML_TRUE) != XML_STATUS_OK)
        std::abort();
    XML_ParserFree(parser);
}

CSmartPtr<Po::CPurchaseOrder> Read(const std::string& bytes) {
    CSmartPtr<Po::CPurchaseOrder> order(new Po::CPurchaseOrder);
    order->FromXmlStream(Bytes(bytes), static_cast<std::uint32_t>(bytes.size()),
                         CSerializationContext::GetDefaultContext());
    return order;
}

CBinaryData Write(const Po::CPurchaseOrder* order) {
    return const_cast<Po::CPurchaseOrder*>(order)->ToXmlStream(
        true, true, XmlEncoding_UTF8, EOLType_LF, CSerializationContext::GetDefaultContext(),
        CompressionType_None);
}

// The order read once, for the writing runs.
const Po::CPurchaseOrder* Order() {
    static const CSmartPtr<Po::CPurchaseOrder> order = Read(Document());
    return order.get();
}

void BM_RawExpat(benchmark::State& state) {
    const std::string& bytes = Document();
    for (auto _ : state) ParseRaw(bytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_RawExpat)->Unit(benchmark::kMillisecond);

// Reading ends when the order is filled; dropping the order afterwards is the caller's
// business and stays out of the timings.
void BM_PoFromXml(benchmark::State& state) {
    const std::string& bytes = Document();
    for (auto _ : state) {
        CSmartPtr<Po::CPurchaseOrder> order = Read(bytes);
        benchmark::DoNotOptimize(order.get());
        state.PauseTiming();
        order = nullptr;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_PoFromXml)->Unit(benchmark::kMillisecond);

void BM_PoToXml(benchmark::State& state) {
    const std::string& bytes = Document();
    const Po::CPurchaseOrder* order = Order();
    for (auto _ : state) benchmark::DoNotOptimize(Write(order));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_PoToXml)->Unit(benchmark::kMillisecond);

double CpuSeconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Best of several interleaved rounds in thread CPU time, so that both sides see the same
// machine state and other processes on a shared machine disturb the figures less.
void PrintRatios() {
    const std::string& bytes = Document();
    const Po::CPurchaseOrder* order = Order();
    const std::size_t written = Write(order).GetLength();
    double raw = 1e9, read = 1e9, write = 1e9;
    for (int round = 0; round < 9; ++round) {
        double t0 = CpuSeconds();
        ParseRaw(bytes);
        double t1 = CpuSeconds();
        CSmartPtr<Po::CPurchaseOrder> readOrder = Read(bytes);
        double t2 = CpuSeconds();
        readOrder = nullptr;
        double t2Write = CpuSeconds();
        benchmark::DoNotOptimize(Write(order));
        double t3 = CpuSeconds();
        raw = std::min(raw, t1 - t0);
        read = std::min(read, t2 - t1);
        write = std::min(write, t3 - t2Write);
    }
    const double mb = static_cast<double>(bytes.size()) / 1e6;
    std::printf(
        "document: %.1f MB, %d lines (written back: %.1f MB)\n"
        "raw expat parse: %.1f MB/s\n"
        "FromXmlStream:   %.1f MB/s, ratio to raw expat %.2f (target >= 0.5)\n"
        "ToXmlStream:     %.1f MB/s, ratio to raw expat %.2f (target >= 1.0)\n",
        mb, kLines, static_cast<double>(written) / 1e6, mb / raw, mb / read, raw / read, mb / write,
        raw / write);
}

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"), or -1.
long StatusKb(const char* field) {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return -1;
    char line[256];
    long value = -1;
    const std::size_t length = std::strlen(field);
    while (std::fgets(line, sizeof(line), status)) {
        if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
            value = std::atol(line + length + 1);
            break;
        }
    }
    std::fclose(status);
    return value;
}

// In a child process, so that nothing the benchmarks allocated blurs the figure: the peak
// resident size a read adds to the process that already holds the document bytes. The peak
// is reset first (clear_refs 5), since generating the document peaked higher than it ends.
void PrintReadPeak() {
    const std::string& bytes = Document();
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        if (FILE* clear = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", clear);
            std::fclose(clear);
        }
        const long before = StatusKb("VmRSS");
        long peak = 0;
        {
            CSmartPtr<Po::CPurchaseOrder> order = Read(bytes);
            peak = StatusKb("VmHWM");
            benchmark::DoNotOptimize(order.get());
        }
        const double delta = static_cast<double>(peak - before) * 1024.0;
        std::printf(
            "peak memory while reading: %.1f MB over the document's %.1f MB = %.2fx "
            "(target < 4x)\n",
            delta / 1e6, static_cast<double>(bytes.size()) / 1e6,
            delta / static_cast<double>(bytes.size()));
        std::fflush(stdout);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

// The same order as JSON (level 2, formatted like the XML), written and read through the
// JSON entry points, against our own XML write and read and against RapidJSON parsing the
// same text into its DOM.
CBinaryData WriteJson(const Po::CPurchaseOrder* order) {
    return const_cast<Po::CPurchaseOrder*>(order)->ToJsonStream(
        true, XmlEncoding_UTF8, EOLType_LF, CSerializationContext::GetDefaultContext(),
        CompressionType_None);
}

const std::string& JsonDocument() {
    static const std::string json = [] {
        CBinaryData data = WriteJson(Order());
        return std::string(reinterpret_cast<const char*>(data.GetData()), data.GetLength());
    }();
    return json;
}

CSmartPtr<Po::CPurchaseOrder> ReadJson(const std::string& bytes) {
    CSmartPtr<Po::CPurchaseOrder> order(new Po::CPurchaseOrder);
    order->FromJsonStream(Bytes(bytes), static_cast<std::uint32_t>(bytes.size()),
                          CSerializationContext::GetDefaultContext());
    return order;
}

void ParseRapidJson(const std::string& json) {
    rapidjson::Document document;
    document.Parse(json.c_str(), json.size());
    if (document.HasParseError()) std::abort();
    benchmark::DoNotOptimize(document.MemberCount());
}

void BM_PoToJson(benchmark::State& state) {
    const Po::CPurchaseOrder* order = Order();
    const std::string& json = JsonDocument();
    for (auto _ : state) benchmark::DoNotOptimize(WriteJson(order));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * json.size()));
}
BENCHMARK(BM_PoToJson)->Unit(benchmark::kMillisecond);

void BM_PoFromJson(benchmark::State& state) {
    const std::string& json = JsonDocument();
    for (auto _ : state) {
        CSmartPtr<Po::CPurchaseOrder> order = ReadJson(json);
        benchmark::DoNotOptimize(order.get());
        state.PauseTiming();
        order = nullptr;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * json.size()));
}
BENCHMARK(BM_PoFromJson)->Unit(benchmark::kMillisecond);

void BM_RapidJsonDom(benchmark::State& state) {
    const std::string& json = JsonDocument();
    for (auto _ : state) ParseRapidJson(json);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * json.size()));
}
BENCHMARK(BM_RapidJsonDom)->Unit(benchmark::kMillisecond);

// Best of interleaved rounds in thread CPU time, as for the XML figures.
void PrintJsonRatios() {
    const std::string& xml = Document();
    const std::string& json = JsonDocument();
    const Po::CPurchaseOrder* order = Order();
    double xmlWrite = 1e9, jsonWrite = 1e9, xmlRead = 1e9, jsonRead = 1e9, rapid = 1e9;
    for (int round = 0; round < 7; ++round) {
        double t0 = CpuSeconds();
        benchmark::DoNotOptimize(Write(order));
        double t1 = CpuSeconds();
        benchmark::DoNotOptimize(WriteJson(order));
        double t2 = CpuSeconds();
        CSmartPtr<Po::CPurchaseOrder> fromXml = Read(xml);
        double t3 = CpuSeconds();
        fromXml = nullptr;
        double t4 = CpuSeconds();
        CSmartPtr<Po::CPurchaseOrder> fromJson = ReadJson(json);
        double t5 = CpuSeconds();
        fromJson = nullptr;
        double t6 = CpuSeconds();
        ParseRapidJson(json);
        double t7 = CpuSeconds();
        xmlWrite = std::min(xmlWrite, t1 - t0);
        jsonWrite = std::min(jsonWrite, t2 - t1);
        xmlRead = std::min(xmlRead, t3 - t2);
        jsonRead = std::min(jsonRead, t5 - t4);
        rapid = std::min(rapid, t7 - t6);
    }
    std::printf(
        "JSON document: %.1f MB\n"
        "ToJsonStream:    %.1f ms, speed ratio to our XML write %.2f (target >= 1.0), "
        "to RapidJSON DOM parse %.2f\n"
        "FromJsonStream:  %.1f ms, speed ratio to our XML read %.2f (target >= 0.7), "
        "to RapidJSON DOM parse %.2f\n",
        static_cast<double>(json.size()) / 1e6, jsonWrite * 1e3, xmlWrite / jsonWrite,
        rapid / jsonWrite, jsonRead * 1e3, xmlRead / jsonRead, rapid / jsonRead);
}

// The peak resident size `readOnce` adds, measured in a child process (as PrintReadPeak does)
// and handed back through a pipe.
double ReadPeakBytes(const std::function<void()>& readOnce) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        // Free heap kept by earlier work would hide part of the read's growth.
        malloc_trim(0);
        if (FILE* clear = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", clear);
            std::fclose(clear);
        }
        const long before = StatusKb("VmRSS");
        readOnce();
        const double delta = static_cast<double>(StatusKb("VmHWM") - before) * 1024.0;
        if (write(fds[1], &delta, sizeof(delta)) != sizeof(delta)) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    double delta = -1;
    if (::read(fds[0], &delta, sizeof(delta)) != sizeof(delta)) delta = -1;
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return delta;
}

void PrintJsonReadPeak() {
    const std::string& xml = Document();
    const std::string& json = JsonDocument();
    const double xmlPeak = ReadPeakBytes([&] { benchmark::DoNotOptimize(Read(xml).get()); });
    const double jsonPeak = ReadPeakBytes([&] { benchmark::DoNotOptimize(ReadJson(json).get()); });
    std::printf("peak memory while reading: JSON %.1f MB, XML %.1f MB = %.2fx (target <= 1.5x)\n",
                jsonPeak / 1e6, xmlPeak / 1e6, jsonPeak / xmlPeak);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    Register(16, 1);
    try {
        Document();
        PrintReadPeak();
        PrintJsonReadPeak();
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        PrintRatios();
        PrintJsonRatios();
    } catch (const CTsException& e) {
        std::fprintf(stderr, "%s\n", e.GetFullMessage().c_str());
        return 1;
    }
    return 0;
}
