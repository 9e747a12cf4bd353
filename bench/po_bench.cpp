// po_bench.cpp: the purchase-order example binding reading (FromXmlStream) and writing
// (ToXmlStream) a generated document of 35 000 order lines, each timed against bare expat
// parsing the same bytes in the same run, plus the peak memory a read needs against the size
// of the document. Bare expat is the floor: every reader here parses with it first.
#include <benchmark/benchmark.h>
#include <expat.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "po/po_binding.h"
#include "tessel16/binary_data.h"
#include "tessel16/exception.h"
#include "tessel16/fastinfoset_context.h"
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

// Fast Infoset write and read of the same order against our XML write and read, measured in
// the same interleaved rounds, and the document's size with the suggested binary encodings.
CBinaryData WriteFi(const Po::CPurchaseOrder* order, const CSerializationContext& context) {
    return const_cast<Po::CPurchaseOrder*>(order)->ToFastInfosetStream(FInfoDecl_None, context,
                                                                       CompressionType_None);
}

CSmartPtr<Po::CPurchaseOrder> ReadFi(const CBinaryData& bytes,
                                     const CSerializationContext& context) {
    CSmartPtr<Po::CPurchaseOrder> order(new Po::CPurchaseOrder);
    order->FromXmlStream(bytes, context);
    return order;
}

void BM_PoToFastInfoset(benchmark::State& state) {
    const Po::CPurchaseOrder* order = Order();
    for (auto _ : state) benchmark::DoNotOptimize(WriteFi(order, CSerializationContext()));
}
BENCHMARK(BM_PoToFastInfoset)->Unit(benchmark::kMillisecond);

void BM_PoFromFastInfoset(benchmark::State& state) {
    const CSerializationContext context;
    const CBinaryData bytes = WriteFi(Order(), context);
    for (auto _ : state) {
        CSmartPtr<Po::CPurchaseOrder> order = ReadFi(bytes, context);
        benchmark::DoNotOptimize(order.get());
        state.PauseTiming();
        order = nullptr;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PoFromFastInfoset)->Unit(benchmark::kMillisecond);

void PrintFastInfosetRatios() {
    const std::string& xml = Document();
    const Po::CPurchaseOrder* order = Order();
    const CSerializationContext plain;
    CSerializationContext suggested;
    suggested.GetFIContext().SetSuggestedValues();
    const CBinaryData fi = WriteFi(order, plain);
    const std::size_t xmlWritten = Write(order).GetLength();
    const std::size_t suggestedSize = WriteFi(order, suggested).GetLength();
    double xmlRead = 1e9, xmlWrite = 1e9, fiRead = 1e9, fiWrite = 1e9;
    for (int round = 0; round < 7; ++round) {
        double t0 = CpuSeconds();
        CSmartPtr<Po::CPurchaseOrder> a = Read(xml);
        double t1 = CpuSeconds();
        a = nullptr;
        double t2 = CpuSeconds();
        CSmartPtr<Po::CPurchaseOrder> b = ReadFi(fi, plain);
        double t3 = CpuSeconds();
        b = nullptr;
        double t4 = CpuSeconds();
        benchmark::DoNotOptimize(Write(order));
        double t5 = CpuSeconds();
        benchmark::DoNotOptimize(WriteFi(order, plain));
        double t6 = CpuSeconds();
        xmlRead = std::min(xmlRead, t1 - t0);
        fiRead = std::min(fiRead, t3 - t2);
        xmlWrite = std::min(xmlWrite, t5 - t4);
        fiWrite = std::min(fiWrite, t6 - t5);
    }
    std::printf(
        "Fast Infoset read:  %.1f ms vs XML read %.1f ms, ratio %.2f (target <= 0.6)\n"
        "Fast Infoset write: %.1f ms vs XML write %.1f ms, ratio %.2f (target <= 1.0)\n"
        "Fast Infoset size:  %.1f MB default, %.1f MB suggested = %.0f%% of the XML's %.1f MB "
        "(target <= 55%%)\n",
        fiRead * 1e3, xmlRead * 1e3, fiRead / xmlRead, fiWrite * 1e3, xmlWrite * 1e3,
        fiWrite / xmlWrite, static_cast<double>(fi.GetLength()) / 1e6,
        static_cast<double>(suggestedSize) / 1e6,
        100.0 * static_cast<double>(suggestedSize) / static_cast<double>(xmlWritten),
        static_cast<double>(xmlWritten) / 1e6);
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

}  // namespace

int main(int argc, char** argv) {
    Register(16, 1);
    try {
        Document();
        PrintReadPeak();
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        PrintRatios();
        PrintFastInfosetRatios();
    } catch (const CTsException& e) {
        std::fprintf(stderr, "%s\n", e.GetFullMessage().c_str());
        return 1;
    }
    return 0;
}
