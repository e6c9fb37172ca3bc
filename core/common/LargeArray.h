#pragma once

#include <cstddef>
#include <new>
#include <vector>

// Memory for a large array written whole soon after it is made: the samples of a curve,
// their pixels, a picture. Where the system gives huge pages (Linux), a block of 128 KB
// or more takes them: a fresh block is otherwise touched page by page,
// each first write a fault of the kernel, which on some machines costs more than
// filling the block. Elsewhere, and for smaller blocks, the C library's memory. Null
// when the memory cannot be had; releaseLargeBlock frees either kind.
void* allocateLargeBlock(std::size_t bytes);
void releaseLargeBlock(void* block);

// The standard allocator interface over those blocks, for std::vector.
template <class T>
struct LargeArrayAllocator {
    using value_type = T;
    LargeArrayAllocator() = default;
    template <class U>
    LargeArrayAllocator(const LargeArrayAllocator<U>&)
    {
    }
    T* allocate(std::size_t n)
    {
        if (n > std::size_t(-1) / sizeof(T))
            throw std::bad_array_new_length();
        void* block = allocateLargeBlock(n * sizeof(T));
        if (!block)
            throw std::bad_alloc();
        return static_cast<T*>(block);
    }
    void deallocate(T* p, std::size_t) { releaseLargeBlock(p); }
    template <class U>
    bool operator==(const LargeArrayAllocator<U>&) const
    {
        return true;
    }
};

template <class T>
using LargeArray = std::vector<T, LargeArrayAllocator<T>>;
