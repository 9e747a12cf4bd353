// xml_load_bench.cpp: what building the tree costs on top of the parse itself. Loads the
// 10 MB purchase-order document into a CXmlDocument and, on the same bytes in the same run,
// parses it with bare expat and empty handlers; prints the throughput ratio. Then streams a
// few hundred MB, generated on the fly through a pipe, through the pruning callback in a
// child process per size and prints each child's peak memory.
#include <benchmark/benchmark.h>
#include <expat.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>

#include "tessel16/exception.h"
#include "tessel16/switches.h"
#include "tessel16/xml_document.h"

using namespace Tessel16;

namespace {

std::string RunCommand(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[65536];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
    return out;
}

// A purchase-order record in the spirit of the shared generator, for when Python is absent
// and for the streamed documents.
std::string Record(int i) {
    std::string n = std::to_string(i);
    return "  <line number=\"" + n + "\" uom=\"EA\">\n    <sku>MK-" + n +
           "</sku>\n    <description>d\xC3\xA9j\xC3\xA0-vu IP67 &amp; galvanised</description>\n"
           "    <quantity>" +
           std::to_string(i % 977) + "</quantity>\n    <unitPrice>" + std::to_string(i % 100) +
           ".77</unitPrice>\n    <taxable>true</taxable>\n  </line>\n";
}

const std::string& Document() {
    static const std::string doc = [] {
        std::string generated =
            RunCommand("python3 " TESSEL16_SHARED_DIR "/bench/gen.py 35000 2>/dev/null");
        if (generated.size() > 1000000) return generated;
        std::string fallback =
            "<?xml version=\"1.0\"?>\n<purchaseOrder xmlns=\"urn:example:po\">\n";
        for (int i = 0; fallback.size() < 10000000; ++i) fallback += Record(i);
        return fallback + "</purchaseOrder>\n";
    }();
    return doc;
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

void LoadTree(const std::string& bytes) {
    CXmlDocument doc;
    doc.LoadXmlStream(reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data())),
                      static_cast<std::uint32_t>(bytes.size()));
    benchmark::DoNotOptimize(doc.GetDocumentElement());
}

void BM_RawExpat(benchmark::State& state) {
    const std::string& bytes = Document();
    for (auto _ : state) ParseRaw(bytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_RawExpat)->Unit(benchmark::kMillisecond);

void BM_TreeLoad(benchmark::State& state) {
    const std::string& bytes = Document();
    for (auto _ : state) LoadTree(bytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_TreeLoad)->Unit(benchmark::kMillisecond);

double CpuSeconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Best of several runs each, interleaved so that both see the same machine state, timed in
// thread CPU time so that other processes on a shared machine disturb the figure less.
void PrintRatio() {
    const std::string& bytes = Document();
    double raw = 1e9, tree = 1e9;
    for (int round = 0; round < 21; ++round) {
        double t0 = CpuSeconds();
        ParseRaw(bytes);
        double t1 = CpuSeconds();
        LoadTree(bytes);
        double t2 = CpuSeconds();
        raw = std::min(raw, t1 - t0);
        tree = std::min(tree, t2 - t1);
    }
    double mb = static_cast<double>(bytes.size()) / 1e6;
    std::printf(
        "document: %.1f MB\nraw expat: %.1f MB/s\ntree load: %.1f MB/s\n"
        "tree/raw throughput ratio: %.2f\n",
        mb, mb / raw, mb / tree, raw / tree);
}

bool PruneLines(CXmlElement* element) { return element->GetLocalName() == "line"; }

// Child mode: parses `megabytes` of generated records from a pipe with chunked reads and
// the pruning callback, then prints the peak resident size of this process.
int StreamChild(long megabytes) {
    char path[] = "/tmp/tessel16_stream_XXXXXX";
    if (!mkdtemp(path)) return 1;
    std::string fifo = std::string(path) + "/doc.xml";
    if (mkfifo(fifo.c_str(), 0600) != 0) return 1;
    const std::size_t target = static_cast<std::size_t>(megabytes) * 1000000;
    std::thread writer([&] {
        FILE* out = std::fopen(fifo.c_str(), "wb");
        if (!out) return;
        std::string head = "<?xml version=\"1.0\"?>\n<purchaseOrder xmlns=\"urn:example:po\">\n";
        std::fwrite(head.data(), 1, head.size(), out);
        std::size_t written = head.size();
        std::string block;
        for (int i = 0; written < target; ++i) {
            // Records follow each other without whitespace: text between the document
            // element's children stays in its text, which would grow with the size.
            std::string record = Record(i);
            block.append(record, 2, record.size() - 3);
            if (block.size() > 65536) {
                written += std::fwrite(block.data(), 1, block.size(), out);
                block.clear();
            }
        }
        block += "</purchaseOrder>\n";
        std::fwrite(block.data(), 1, block.size(), out);
        std::fclose(out);
    });
    AsyncFromXmlFile(true);
    int status = 0;
    auto start = std::chrono::steady_clock::now();
    try {
        CXmlDocument doc(&PruneLines);
        doc.Load(fifo.c_str());
        if (doc.GetDocumentElement()->GetFirstElement()) status = 2;
    } catch (const CTsException& e) {
        std::fprintf(stderr, "%s\n", e.GetMessage().c_str());
        status = 3;
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    writer.join();
    unlink(fifo.c_str());
    rmdir(path);
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    std::printf("streamed %ld MB through the pruning callback in %.1f s: peak RSS %ld KiB\n",
                megabytes, seconds, usage.ru_maxrss);
    return status;
}

void PrintStreamingPeaks(const char* self) {
    for (long mb : {25L, 100L, 400L}) {
        std::fflush(stdout);
        std::string command = std::string(self) + " --stream-mb=" + std::to_string(mb);
        std::fputs(RunCommand(command).c_str(), stdout);
    }
}

}  // namespace

int main(int argc, char** argv) {
    Register(16, 1);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--stream-mb=", 12) == 0)
            return StreamChild(std::atol(argv[i] + 12));
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintRatio();
    PrintStreamingPeaks(argv[0]);
    return 0;
}
