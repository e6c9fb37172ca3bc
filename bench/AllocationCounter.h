#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

// Every allocation of the program is counted, so that a benchmark can report how many
// one redraw or one mouse move makes once its buffers have grown. Included by one
// file of a benchmark program (it replaces the global operator new).
namespace {
std::atomic<long long> allocations{0};
}

void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
