// entry_support.h: what every public entry point of every format shares: the generator
// version check and the compression of stream output.
#pragma once

#include "tessel16/binary_data.h"
#include "tessel16/types.h"

namespace Tessel16::detail {

// Throws CTsException "Wrong Version (...)" after telling the user, unless the registered
// generator version is the runtime's own.
void CheckGeneratorVersion();
// Tells the user once per process that the registered generator version is wrong; never
// throws. Called when the first bindable object is constructed.
void NoticeGeneratorVersionOnce();
// Replaces `data` by its gzip (1) or zlib (2) compressed form; other types and empty data
// are left alone. The result may not be longer than the input: input that does not shrink
// throws CTsException "Failed to compress data. [Error Code: %d]".
void CompressData(CBinaryData& data, CompressionType type);
// What an input entry point throws instead of std::bad_alloc: "Out of memory while reading the
// document". Called once the document and the partly read objects are gone, so the memory is
// back before the caller sees the exception.
[[noreturn]] void RefuseOutOfMemory();

}  // namespace Tessel16::detail
