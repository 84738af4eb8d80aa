// Heap allocations counted for programs that host the plug-in on Linux
// (the scenarios and the benchmark link this file; the desk tools do not).
//
// The program replaces malloc, calloc, realloc and the aligned forms with
// counting ones over glibc's own allocator. It exports its symbols, so the
// dlopened plug-in binds to them, and so does every library: operator new
// and strdup reach them too. Under AddressSanitizer the sanitizer's
// allocator stays, for its checks, and its allocation hook counts instead.
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>

#include "sim/sim.h"

#if defined(__SANITIZE_ADDRESS__)
#define VQ_COUNT_WITH_HOOK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VQ_COUNT_WITH_HOOK 1
#endif
#endif

namespace {
std::atomic<uint64_t> allocations{0};
void Count() { allocations.fetch_add(1, std::memory_order_relaxed); }
}  // namespace

uint64_t sim::AllocationCount() { return allocations.load(std::memory_order_relaxed); }

#ifdef VQ_COUNT_WITH_HOOK
// The sanitizer runtime's hook, declared here: GCC ships no header for it.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onAllocate)(const volatile void*, size_t),
                                                          void (*onRelease)(const volatile void*));
namespace {
void CountAllocation(const volatile void*, size_t) { Count(); }
void IgnoreRelease(const volatile void*) {}
const int hooked = __sanitizer_install_malloc_and_free_hooks(CountAllocation, IgnoreRelease);
}  // namespace
#else
// glibc's allocator under the names it keeps for replacements to call.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* pointer);

void* malloc(size_t size) noexcept {
    Count();
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) noexcept {
    Count();
    return __libc_calloc(count, size);
}
void* realloc(void* pointer, size_t size) noexcept {
    Count();
    return __libc_realloc(pointer, size);
}
void free(void* pointer) noexcept { __libc_free(pointer); }
void* memalign(size_t alignment, size_t size) noexcept {
    Count();
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(size_t alignment, size_t size) noexcept {
    Count();
    return __libc_memalign(alignment, size);
}
int posix_memalign(void** result, size_t alignment, size_t size) noexcept {
    if (alignment == 0 || alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) return EINVAL;
    Count();
    void* pointer = __libc_memalign(alignment, size);
    if (!pointer) return ENOMEM;
    *result = pointer;
    return 0;
}
}
#endif
