// inflate.h: whole-buffer zlib/gzip inflation, shared by the XML and the JSON load paths.
#pragma once

#include <cstddef>
#include <memory>

namespace Tessel16::detail {

// Inflates data when it is one complete zlib or gzip stream (either header is detected).
// Anything else, plain text included, yields false and leaves `output` alone.
bool Inflate(const unsigned char* data, std::size_t length,
             std::unique_ptr<unsigned char[]>& output, std::size_t& outputLength);

}  // namespace Tessel16::detail
