// compress.cpp: gzip and zlib compression of stream output, one deflate pass at level 1
// into a buffer no larger than the input, so compressed output never grows the data.
#include <zlib.h>

#include <memory>

#include "binding/binding_messages.h"
#include "binding/entry_support.h"
#include "tessel16/exception.h"

namespace Tessel16::detail {

namespace {
// 15-bit window plus 16: zlib writes a gzip wrapper instead of its own.
constexpr int kGzipWindowBits = 31;
constexpr int kMemoryLevel = 8;
}  // namespace

void CompressData(CBinaryData& data, CompressionType type) {
    const std::uint32_t length = data.GetLength();
    if (length == 0) return;
    if (type != CompressionType_GZip && type != CompressionType_ZLib) return;

    z_stream zs{};
    int rc = type == CompressionType_GZip ? deflateInit2(&zs, 1, Z_DEFLATED, kGzipWindowBits,
                                                         kMemoryLevel, Z_DEFAULT_STRATEGY)
                                          : deflateInit(&zs, 1);
    if (rc != Z_OK) throw CTsException(FormatString(kMsgCompressFailed, rc));

    std::unique_ptr<unsigned char[]> out(new unsigned char[length]);
    zs.next_in = data.GetData();
    zs.avail_in = length;
    zs.next_out = out.get();
    zs.avail_out = length;
    deflate(&zs, Z_NO_FLUSH);
    const int finish = deflate(&zs, Z_FINISH);
    const uLong produced = zs.total_out;
    deflateEnd(&zs);
    if (finish != Z_STREAM_END) throw CTsException(FormatString(kMsgCompressFailed, finish));
    CBinaryData compressed(out.get(), static_cast<std::uint32_t>(produced), true);
    (void)out.release();  // adopted by `compressed`
    data = compressed;
}

}  // namespace Tessel16::detail
