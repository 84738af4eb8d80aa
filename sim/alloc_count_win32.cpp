// Heap allocations counted on Windows. Our modules reach msvcrt's allocator
// through their import tables, so the host points the malloc, calloc,
// realloc and strdup slots of the plug-in (at every load), of the program
// and of itself (once) at wrappers that count and pass the call on. That
// sees the plug-in's code and its statically linked C++ runtime (operator
// new calls malloc), but not what msvcrt or Windows allocate inside their
// own functions, such as a profile read's buffers. Only the slots mapped in
// this process change; the file on disk stays as shipped.
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "sim/host_internal.h"
#include "sim/sim.h"

namespace {

std::atomic<uint64_t> allocations{0};

using Malloc = void*(__cdecl*)(size_t);
using Calloc = void*(__cdecl*)(size_t, size_t);
using Realloc = void*(__cdecl*)(void*, size_t);
using Strdup = char*(__cdecl*)(const char*);

// msvcrt's own entry points: this module's import slots are counting ones.
struct Crt {
    Malloc malloc = nullptr;
    Calloc calloc = nullptr;
    Realloc realloc = nullptr;
    Strdup strdup = nullptr;
};
Crt crt;

void* __cdecl CountedMalloc(size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return crt.malloc(size);
}
void* __cdecl CountedCalloc(size_t count, size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return crt.calloc(count, size);
}
void* __cdecl CountedRealloc(void* pointer, size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return crt.realloc(pointer, size);
}
char* __cdecl CountedStrdup(const char* text) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return crt.strdup(text);
}

struct Counted {
    const char* name;
    const void* wrapper;
};
const Counted CountedImports[] = {
    {"malloc", reinterpret_cast<const void*>(&CountedMalloc)},
    {"calloc", reinterpret_cast<const void*>(&CountedCalloc)},
    {"realloc", reinterpret_cast<const void*>(&CountedRealloc)},
    {"_strdup", reinterpret_cast<const void*>(&CountedStrdup)},
    {"strdup", reinterpret_cast<const void*>(&CountedStrdup)},
};

void Redirect(void* module) {
    for (const Counted& counted : CountedImports)
        sim::platform::RedirectImport(module, "msvcrt.dll", counted.name, counted.wrapper);
}

template <typename Function>
Function CrtEntry(HMODULE msvcrt, const char* name) {
    auto entry = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(msvcrt, name)));
    if (!entry) throw std::runtime_error(std::string("msvcrt.dll has no ") + name);
    return entry;
}

// The program and this host, once: a malloc a test plants in a frame is
// then counted wherever it runs.
bool CountOurOwnModules() {
    HMODULE msvcrt = GetModuleHandleA("msvcrt.dll");
    if (!msvcrt) throw std::runtime_error("msvcrt.dll is not loaded");
    crt = Crt{CrtEntry<Malloc>(msvcrt, "malloc"), CrtEntry<Calloc>(msvcrt, "calloc"),
              CrtEntry<Realloc>(msvcrt, "realloc"), CrtEntry<Strdup>(msvcrt, "_strdup")};
    HMODULE host = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<const char*>(&CountedMalloc), &host))
        throw std::runtime_error("cannot find the host's own module");
    Redirect(GetModuleHandleA(nullptr));
    Redirect(host);
    return true;
}

}  // namespace

void sim::platform::CountAllocationsOf(void* module) {
    static const bool ours = CountOurOwnModules();
    (void)ours;
    Redirect(module);
}

uint64_t sim::AllocationCount() { return allocations.load(std::memory_order_relaxed); }
