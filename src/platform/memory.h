// memory.h: hints to the system about large blocks the library is about to fill.
#pragma once

#include <cstddef>

namespace Tessel16::detail {

// Asks for large pages behind a fresh block of at least a few megabytes that is about to be
// written from start to end (a whole serialized document), so that filling it takes a few
// hundred page faults instead of one per 4 KiB. Only a hint: without support it does nothing.
void AdviseLargeBlock(void* block, std::size_t size);

}  // namespace Tessel16::detail
