// test_files.cpp: where tests put the files they write, reading them back, and zlib both ways
// for the compressed input and output paths.
#include <zlib.h>

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

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Compress(const std::string& data, int windowBits) {
    z_stream s{};
    deflateInit2(&s, 6, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&s, static_cast<uLong>(data.size())) + 32, '\0');
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    s.avail_in = static_cast<uInt>(data.size());
    s.next_out = reinterpret_cast<Bytef*>(&out[0]);
    s.avail_out = static_cast<uInt>(out.size());
    if (deflate(&s, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate failed");
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
}

std::string Inflate(const std::string& compressed, int windowBits) {
    z_stream zs{};
    if (inflateInit2(&zs, windowBits) != Z_OK) throw std::runtime_error("inflateInit2 failed");
    std::string out;
    char buffer[4096];
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    zs.avail_in = static_cast<uInt>(compressed.size());
    int rc = Z_OK;
    while (rc == Z_OK) {
        zs.next_out = reinterpret_cast<Bytef*>(buffer);
        zs.avail_out = sizeof buffer;
        rc = inflate(&zs, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - zs.avail_out);
    }
    inflateEnd(&zs);
    if (rc != Z_STREAM_END) throw std::runtime_error("inflate failed");
    return out;
}

}  // namespace Tessel16::test
