// test_files.cpp: where tests put the files they write, and reading them back.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/test_node.h"

namespace Tessel16::test {

std::string TempPath(const std::string& fileName) {
    const char* dir = std::getenv("TESSEL16_TEST_TMP");
    return std::string(dir && *dir ? dir : "/tmp") + "/" + fileName;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

}  // namespace Tessel16::test
