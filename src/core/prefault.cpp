#include "core/prefault.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

void prefault(void* data, size_t bytes)
{
#ifdef MADV_POPULATE_WRITE
    // Small pieces come from pages the allocator has already touched.
    constexpr size_t worth_it = size_t{64} << 10;
    if (bytes < worth_it) return;
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<uintptr_t>(data) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(page - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)data;
    (void)bytes;
#endif
}
