// replay_main.cpp: the entry point that a fuzz target links when the compiler has no
// libFuzzer. It feeds every file named on the command line (or every file of a named
// directory) to LLVMFuzzerTestOneInput once, so the targets run as ordinary tests on their
// seeds and a crash found by a fuzzer stays reproducible with any compiler.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

int RunFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
        return 1;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // An empty input still gets a valid (non-null) pointer, as libFuzzer gives it.
    bytes.push_back('\0');
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size() - 1);
    std::printf("ran %s (%zu bytes)\n", path.string().c_str(), bytes.size() - 1);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int failures = 0;
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path arg(argv[i]);
        if (std::filesystem::is_directory(arg)) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(arg))
                if (entry.is_regular_file()) files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const auto& file : files) {
                failures += RunFile(file);
                ++runs;
            }
        } else {
            failures += RunFile(arg);
            ++runs;
        }
    }
    if (runs == 0) {
        std::fprintf(stderr, "usage: %s <seed file or directory>...\n", argv[0]);
        return 2;
    }
    return failures == 0 ? 0 : 1;
}
