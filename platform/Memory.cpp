#include "platform/Memory.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// Below this a block cannot hold one large page.
constexpr size_t LargePageSize = size_t(2) << 20;

} // namespace

void AdviseLargePages(void* block, size_t size)
{
    if (!block || size < LargePageSize)
        return;
    // Only the pages wholly inside the block: the advice must not reach
    // memory that belongs to someone else.
    const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
    const uintptr_t first = (uintptr_t(block) + page - 1) & ~(page - 1);
    const uintptr_t end = (uintptr_t(block) + size) & ~(page - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}
