// inflate.h: whole-buffer zlib/gzip inflation, shared by the XML and the JSON load paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace Tessel16 {
class CSerializationContext;
}

namespace Tessel16::detail {

// The most a compressed input of `compressed` bytes may inflate to under the context's limits.
std::uint64_t InflateLimit(std::size_t compressed, const CSerializationContext& context);

// Inflates data when it is one complete zlib or gzip stream (either header is detected).
// Anything else, plain text included, yields false and leaves `output` alone. A stream that
// inflates beyond `limit` throws before more than `limit` bytes are held.
bool Inflate(const unsigned char* data, std::size_t length, std::uint64_t limit,
             std::unique_ptr<unsigned char[]>& output, std::size_t& outputLength);

}  // namespace Tessel16::detail
