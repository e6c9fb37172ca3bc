#pragma once

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <new>

// Every allocation of the program is counted, so that a benchmark can report how many
// one redraw or one mouse move makes once its buffers have grown. Included by one
// file of a benchmark program. It replaces the global operator new and, with glibc,
// malloc, calloc, realloc and posix_memalign (the program's large blocks) too: Qt's
// strings and containers allocate through malloc, and the program's executable comes
// first when the libraries look for it.
namespace {
std::atomic<long long> allocations{0};
}

#if defined(__GLIBC__)
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);

void* malloc(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}
void* realloc(void* p, std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, size);
}
int posix_memalign(void** p, std::size_t alignment, std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* block = __libc_memalign(alignment, size);
    if (!block)
        return ENOMEM;
    *p = block;
    return 0;
}
}
#endif

void* operator new(std::size_t size)
{
    // Through malloc, which counts it where it is replaced above.
#if !defined(__GLIBC__)
    allocations.fetch_add(1, std::memory_order_relaxed);
#endif
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
