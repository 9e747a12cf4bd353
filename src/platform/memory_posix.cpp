// memory_posix.cpp: large-page hints through madvise where the system has them.
#include "platform/memory.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace Tessel16::detail {

namespace {
constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
}  // namespace

void AdviseLargeBlock(void* block, std::size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Only the whole large pages inside the block can be backed that way; below a few of
    // them the hint is not worth a system call.
    constexpr std::size_t kMinimum = std::size_t{8} << 20;
    if (size < kMinimum) return;
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t last = (start + size) & ~(kLargePage - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)block;
    (void)size;
#endif
}

const unsigned char* DiscardPages(const unsigned char* begin, const unsigned char* end) {
#if defined(__linux__) && defined(MADV_DONTNEED)
    const std::uintptr_t first =
        (reinterpret_cast<std::uintptr_t>(begin) + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t last = reinterpret_cast<std::uintptr_t>(end) & ~(kLargePage - 1);
    if (last <= first) return begin;
    madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
    return begin + (last - reinterpret_cast<std::uintptr_t>(begin));
#else
    (void)end;
    return begin;
#endif
}

void DiscardSmallPages(const unsigned char* begin, const unsigned char* end) {
#if defined(__linux__) && defined(MADV_DONTNEED)
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const std::uintptr_t first = (reinterpret_cast<std::uintptr_t>(begin) + page - 1) & ~(page - 1);
    const std::uintptr_t last = reinterpret_cast<std::uintptr_t>(end) & ~(page - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
#else
    (void)begin;
    (void)end;
#endif
}

}  // namespace Tessel16::detail
