// memory.h: hints to the system about large blocks the library is about to fill.
#pragma once

#include <cstddef>

namespace Tessel16::detail {

// Asks for large pages behind a fresh block of at least a few megabytes that is about to be
// written from start to end (a whole serialized document), so that filling it takes a few
// hundred page faults instead of one per 4 KiB. Only a hint: without support it does nothing.
void AdviseLargeBlock(void* block, std::size_t size);

// Gives the whole large pages (2 MiB) inside [begin, end) back to the system while the block
// stays allocated: they read as zeros afterwards. For input a parse has finished with. Large
// pages only, so that a block backed by them is never split, and so that small pieces cost
// no system call. Returns where the pages given back end (`begin` when there were none), so
// the next call can start there.
const unsigned char* DiscardPages(const unsigned char* begin, const unsigned char* end);

// Gives the whole small pages inside [begin, end) back, as DiscardPages does for large ones:
// for the edge of a block before its first large page, which DiscardPages never reaches.
void DiscardSmallPages(const unsigned char* begin, const unsigned char* end);

}  // namespace Tessel16::detail
