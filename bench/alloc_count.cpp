// The replaced global operator new and delete: malloc and free underneath,
// with a count. The benchmark runs on one thread, so a plain counter does.
#include "bench/alloc_count.h"

#include <cstdlib>
#include <new>

namespace {
uint64_t allocations = 0;
}  // namespace

uint64_t AllocationCount() { return allocations; }

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void* operator new(std::size_t size, std::align_val_t align) {
    ++allocations;
    std::size_t alignment = static_cast<std::size_t>(align);
    std::size_t rounded = (size + alignment - 1) / alignment * alignment;
    if (void* p = std::aligned_alloc(alignment, rounded ? rounded : alignment)) return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
