#include "platform/Memory.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace hv {

namespace {

constexpr std::size_t kMinReserve = 4 << 20; // smaller trees are not worth it
constexpr std::size_t kMaxReserve = std::size_t(1) << 31;
// The heaps of other threads than the first are at most 64 MiB each; a larger block would get a
// mapping of its own, which freeing gives back at once.
constexpr std::size_t kMaxThreadReserve = 48 << 20;
constexpr std::uintptr_t kHugePage = 2 << 20;
constexpr std::uintptr_t kPage = 4096;

} // namespace

void ReserveHeap(std::size_t bytes) {
#if defined(__GLIBC__) && defined(MADV_POPULATE_WRITE)
    if (bytes < kMinReserve || bytes > kMaxReserve) {
        return;
    }
    if (gettid() != getpid()) {
        bytes = std::min(bytes, kMaxThreadReserve);
    }
    // Blocks of this size come from the heap itself, not from mappings of their own, and what is
    // freed at its top is kept rather than given back, so the pages made present here serve the
    // small allocations that follow.
    static std::once_flag tuned;
    std::call_once(tuned, [] {
        mallopt(M_MMAP_THRESHOLD, static_cast<int>(kMaxReserve));
        mallopt(M_TRIM_THRESHOLD, static_cast<int>(kMaxReserve));
    });
    void* block = std::malloc(bytes);
    if (block == nullptr) {
        return;
    }
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t end = start + bytes;
    // Either call may be refused (no transparent huge pages, an older kernel); the heap works the same.
    const std::uintptr_t hugeFirst = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t hugeLast = end & ~(kHugePage - 1);
    if (hugeLast > hugeFirst) {
        (void)madvise(reinterpret_cast<void*>(hugeFirst), hugeLast - hugeFirst, MADV_HUGEPAGE);
    }
    const std::uintptr_t first = (start + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t last = end & ~(kPage - 1);
    if (last > first) {
        (void)madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
    }
    std::free(block);
#else
    (void)bytes;
#endif
}

} // namespace hv
