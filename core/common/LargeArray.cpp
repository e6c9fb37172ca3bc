#include "common/LargeArray.h"

#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

void* allocateLargeBlock(std::size_t bytes)
{
    // malloc(0) may give null: a block of no bytes is one byte.
    if (bytes == 0)
        bytes = 1;
#ifdef __linux__
    // From 128 KB the C library maps fresh memory for each block (glibc's threshold),
    // where smaller ones mostly reuse memory already touched.
    constexpr std::size_t HugePage = std::size_t(2) << 20;
    if (bytes >= HugePage / 16 && bytes <= std::size_t(-1) - HugePage) {
        const std::size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
        void* block = nullptr;
        if (posix_memalign(&block, HugePage, rounded) == 0) {
            madvise(block, rounded, MADV_HUGEPAGE); // a hint: without it, plain pages
            return block;
        }
        return nullptr;
    }
#endif
    return std::malloc(bytes);
}

void releaseLargeBlock(void* block)
{
    std::free(block);
}
