// po_bench.cpp: the purchase-order example binding reading (FromXmlStream) and writing
// (ToXmlStream) generated documents of about 10 MB and 50 MB, each timed against bare expat
// parsing the same bytes in the same run, plus the peak memory a read needs, in a fresh
// process and with the input bytes counted, against the size of the document. Bare expat is
// the floor: every reader here parses with it first. The ratios are of warm parses (best of
// interleaved rounds); the first parse of each side in a fresh process is timed as well.
// `--summary=0` skips the ratio and memory summaries (for profiling one benchmark). The 10 MB
// order is also timed as Fast Infoset against our XML paths, and as JSON against our XML paths
// and RapidJSON's DOM parse.
#include <benchmark/benchmark.h>
#include <expat.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <malloc.h>
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
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>

#include "po/po_binding.h"
#include "tessel16/binary_data.h"
#include "tessel16/exception.h"
#include "tessel16/fastinfoset_context.h"
#include "tessel16/json_context.h"
#include "tessel16/serialization_context.h"
#include "tessel16/switches.h"

using namespace Tessel16;

namespace {

// About 285 bytes a line: 35 000 lines make 10 MB, 175 000 make 50 MB.
const int kSizes[] = {35000, 175000};

const std::string& Document(int lines) {
    static std::map<int, std::string> documents;
    std::string& out = documents[lines];
    if (!out.empty()) return out;
    const std::string command =
        "python3 " TESSEL16_SHARED_DIR "/bench/gen.py " + std::to_string(lines);
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
    out.shrink_to_fit();
    return out;
}

unsigned char* Bytes(const char* text) {
    return reinterpret_cast<unsigned char*>(const_cast<char*>(text));
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

CSmartPtr<Po::CPurchaseOrder> Read(const char* bytes, std::size_t length) {
    CSmartPtr<Po::CPurchaseOrder> order(new Po::CPurchaseOrder);
    order->FromXmlStream(Bytes(bytes), static_cast<std::uint32_t>(length),
                         CSerializationContext::GetDefaultContext());
    return order;
}

CSmartPtr<Po::CPurchaseOrder> Read(const std::string& bytes) {
    return Read(bytes.data(), bytes.size());
}

CBinaryData Write(const Po::CPurchaseOrder* order) {
    return const_cast<Po::CPurchaseOrder*>(order)->ToXmlStream(
        true, true, XmlEncoding_UTF8, EOLType_LF, CSerializationContext::GetDefaultContext(),
        CompressionType_None);
}

// The order read once per size, for the writing runs.
const Po::CPurchaseOrder* Order(int lines) {
    static std::map<int, CSmartPtr<Po::CPurchaseOrder>> orders;
    CSmartPtr<Po::CPurchaseOrder>& order = orders[lines];
    if (!order) order = Read(Document(lines));
    return order.get();
}

void BM_RawExpat(benchmark::State& state) {
    const std::string& bytes = Document(static_cast<int>(state.range(0)));
    for (auto _ : state) ParseRaw(bytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_RawExpat)->Arg(kSizes[0])->Arg(kSizes[1])->Unit(benchmark::kMillisecond);

// Reading ends when the order is filled; dropping the order afterwards is the caller's
// business and stays out of the timings.
void BM_PoFromXml(benchmark::State& state) {
    const std::string& bytes = Document(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CSmartPtr<Po::CPurchaseOrder> order = Read(bytes);
        benchmark::DoNotOptimize(order.get());
        state.PauseTiming();
        order = nullptr;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_PoFromXml)->Arg(kSizes[0])->Arg(kSizes[1])->Unit(benchmark::kMillisecond);

void BM_PoToXml(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    const std::string& bytes = Document(lines);
    const Po::CPurchaseOrder* order = Order(lines);
    for (auto _ : state) benchmark::DoNotOptimize(Write(order));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_PoToXml)->Arg(kSizes[0])->Arg(kSizes[1])->Unit(benchmark::kMillisecond);

double CpuSeconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Best of several interleaved rounds in thread CPU time, so that both sides see the same
// machine state and other processes on a shared machine disturb the figures less.
void PrintRatios(int lines) {
    const std::string& bytes = Document(lines);
    const Po::CPurchaseOrder* order = Order(lines);
    const std::size_t written = Write(order).GetLength();
    double raw = 1e9, read = 1e9, write = 1e9;
    const int rounds = lines > kSizes[0] ? 3 : 9;
    for (int round = 0; round < rounds; ++round) {
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
        "FromXmlStream:   %.1f MB/s, ratio to raw expat %.2f (target >= 0.6)\n"
        "ToXmlStream:     %.1f MB/s, ratio to raw expat %.2f (target >= 1.2)\n",
        mb, lines, static_cast<double>(written) / 1e6, mb / raw, mb / read, raw / read, mb / write,
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

// The Fast Infoset figures use the 10 MB order.
void BM_PoToFastInfoset(benchmark::State& state) {
    const Po::CPurchaseOrder* order = Order(kSizes[0]);
    for (auto _ : state) benchmark::DoNotOptimize(WriteFi(order, CSerializationContext()));
}
BENCHMARK(BM_PoToFastInfoset)->Unit(benchmark::kMillisecond);

void BM_PoFromFastInfoset(benchmark::State& state) {
    const CSerializationContext context;
    const CBinaryData bytes = WriteFi(Order(kSizes[0]), context);
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
    const std::string& xml = Document(kSizes[0]);
    const Po::CPurchaseOrder* order = Order(kSizes[0]);
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

// Child mode: in a fresh process, reads the document from a file into a buffer of its exact
// size, reads the order from that buffer and prints the peak growth of the resident size over
// the document size, the input bytes included.
int ReadPeakChild(const char* path) {
    const long before = StatusKb("VmRSS");
    long peak = 0;
    std::size_t size = 0;
    {
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        if (!in) return 1;
        size = static_cast<std::size_t>(in.tellg());
        std::unique_ptr<char[]> input(new char[size]);
        in.seekg(0);
        in.read(input.get(), static_cast<std::streamsize>(size));
        CSmartPtr<Po::CPurchaseOrder> order = Read(input.get(), size);
        peak = StatusKb("VmHWM");
        benchmark::DoNotOptimize(order.get());
    }
    const double delta = static_cast<double>(peak - before) * 1024.0;
    std::printf(
        "peak memory of a read (input included): %.1f MB for a %.1f MB document = %.2fx "
        "(target <= 3.0x)\n",
        delta / 1e6, static_cast<double>(size) / 1e6, delta / static_cast<double>(size));
    return 0;
}

// Child mode: in a fresh process, times one bare expat parse ("raw") or one read ("read") of
// the document in `path`, in thread CPU time, and prints the seconds. The interleaved rounds
// of PrintRatios time warm parses: there bare expat finds the 16 MiB buffer it freed in the
// previous round still in the heap, while a first parse pays for faulting it in, as a process
// that reads one document does.
int FirstParseChild(const char* what, const char* path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) return 1;
    const bool raw = std::strcmp(what, "raw") == 0;
    const double start = CpuSeconds();
    CSmartPtr<Po::CPurchaseOrder> order;
    if (raw) {
        ParseRaw(bytes);
    } else {
        order = Read(bytes);
    }
    const double seconds = CpuSeconds() - start;
    benchmark::DoNotOptimize(order.get());
    std::printf("%.9f\n", seconds);
    return 0;
}

double FirstParseSeconds(const char* self, const char* what, const char* path) {
    std::fflush(stdout);
    const std::string command = std::string(self) + " --first-parse " + what + " " + path;
    double seconds = -1;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        if (std::fscanf(pipe, "%lf", &seconds) != 1) seconds = -1;
        pclose(pipe);
    }
    return seconds;
}

// Peak memory, and the first parse of each side in fresh processes (best of three each).
void PrintReadPeak(const char* self, int lines) {
    const std::string& document = Document(lines);
    char path[] = "/tmp/tessel16_po_XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return;
    const bool written = write(fd, document.data(), document.size()) ==
                         static_cast<ssize_t>(document.size());
    close(fd);
    std::fflush(stdout);
    const pid_t child = written ? fork() : -1;
    if (child == 0) {
        execl(self, self, "--read-peak", path, static_cast<char*>(nullptr));
        _exit(127);
    }
    if (child > 0) {
        int status = 0;
        waitpid(child, &status, 0);
    }
    double raw = 1e9, read = 1e9;
    for (int round = 0; written && round < 3; ++round) {
        raw = std::min(raw, FirstParseSeconds(self, "raw", path));
        read = std::min(read, FirstParseSeconds(self, "read", path));
    }
    if (written && raw > 0 && read > 0) {
        const double mb = static_cast<double>(document.size()) / 1e6;
        std::printf(
            "first parse in a fresh process: raw expat %.1f MB/s, FromXmlStream %.1f MB/s, "
            "ratio %.2f\n",
            mb / raw, mb / read, raw / read);
    }
    unlink(path);
}

// The JSON figures use the 10 MB order.
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
        CBinaryData data = WriteJson(Order(kSizes[0]));
        return std::string(reinterpret_cast<const char*>(data.GetData()), data.GetLength());
    }();
    return json;
}

CSmartPtr<Po::CPurchaseOrder> ReadJson(const std::string& bytes) {
    CSmartPtr<Po::CPurchaseOrder> order(new Po::CPurchaseOrder);
    order->FromJsonStream(Bytes(bytes.data()), static_cast<std::uint32_t>(bytes.size()),
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
    const Po::CPurchaseOrder* order = Order(kSizes[0]);
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
    const std::string& xml = Document(kSizes[0]);
    const std::string& json = JsonDocument();
    const Po::CPurchaseOrder* order = Order(kSizes[0]);
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

// The peak resident size `readOnce` adds, measured in a child process (as the XML figure is)
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
    const std::string& xml = Document(kSizes[0]);
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
    if (argc == 3 && std::strcmp(argv[1], "--read-peak") == 0) return ReadPeakChild(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "--first-parse") == 0)
        return FirstParseChild(argv[2], argv[3]);
    bool summary = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--summary=0") == 0) {
            summary = false;
            std::copy(argv + i + 1, argv + argc, argv + i);
            --argc;
            break;
        }
    }
    try {
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        if (summary) {
            for (int lines : kSizes) {
                PrintRatios(lines);
                PrintReadPeak(argv[0], lines);
            }
            PrintFastInfosetRatios();
            PrintJsonRatios();
            PrintJsonReadPeak();
        }
    } catch (const CTsException& e) {
        std::fprintf(stderr, "%s\n", e.GetFullMessage().c_str());
        return 1;
    }
    return 0;
}
