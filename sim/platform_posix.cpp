// Linux glue: the plug-in is a shared object loaded afresh with dlopen,
// its script runs on a Boost.Context fiber (a switch is a few register
// moves, no system call), and the host's functions are exported under the
// plain names the plug-in calls.
#include <dlfcn.h>
#include <unistd.h>

#include <boost/context/detail/fcontext.hpp>
#include <boost/context/protected_fixedsize_stack.hpp>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "settings/profile_reader.h"
#include "sim/host_internal.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VQ_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VQ_ASAN 1
#endif
#ifdef VQ_ASAN
#include <sanitizer/asan_interface.h>
#include <sanitizer/common_interface_defs.h>
#endif

namespace sim::platform {
namespace {

// ---------------------------------------------------------------------------
// [SECTION] Fibers. The raw fcontext layer, not boost::context::fiber:
// dropping a fiber object unwinds its stack through the plug-in's frames,
// while the real host drops a parked script's stack as it is. Under
// AddressSanitizer every switch is announced, so it tracks which stack is
// live and keeps no stale shadow for a dropped one.
namespace ctx = boost::context;
constexpr size_t ScriptStackSize = 4u << 20;

struct Fibers {
    ctx::detail::fcontext_t host = nullptr;
    ctx::detail::fcontext_t script = nullptr;
    ctx::stack_context stack{};  // with a guard page below it: an overflow faults at once
    void (*entry)() = nullptr;
    const void* hostStackBottom = nullptr;
    size_t hostStackSize = 0;
};

Fibers& F() {
    static Fibers fibers;
    return fibers;
}

void* StackBottom(const ctx::stack_context& stack) { return static_cast<char*>(stack.sp) - stack.size; }

void StartSwitch(void** fakeStack, const void* bottom, size_t size) {
#ifdef VQ_ASAN
    __sanitizer_start_switch_fiber(fakeStack, bottom, size);
#else
    (void)fakeStack, (void)bottom, (void)size;
#endif
}

void FinishSwitch(void* fakeStack, const void** bottom, size_t* size) {
#ifdef VQ_ASAN
    __sanitizer_finish_switch_fiber(fakeStack, bottom, size);
#else
    (void)fakeStack, (void)bottom, (void)size;
#endif
}

void* hostFakeStack = nullptr;
void* scriptFakeStack = nullptr;

void ScriptTrampoline(ctx::detail::transfer_t from) {
    F().host = from.fctx;
    FinishSwitch(nullptr, &F().hostStackBottom, &F().hostStackSize);
    F().entry();
    // The script main never returns; if it did, the host could not resume it.
    std::fputs("velquorin-sim: the script main returned\n", stderr);
    std::abort();
}

std::string PluginPath() {
    if (const char* path = std::getenv("VELQUORIN_PLUGIN")) return path;
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return "libvelquorin.so";
    std::string dir(exe, static_cast<size_t>(n));
    return dir.substr(0, dir.rfind('/') + 1) + "libvelquorin.so";
}

}  // namespace

bool LoaderRunsEntry() { return false; }

void CreateScriptFiber(void (*script)()) {
    Fibers& f = F();
    f.stack = ctx::protected_fixedsize_stack(ScriptStackSize).allocate();
    f.entry = script;
    f.script = ctx::detail::make_fcontext(f.stack.sp, f.stack.size, ScriptTrampoline);
}

void SwitchToScript() {
    Fibers& f = F();
    StartSwitch(&hostFakeStack, StackBottom(f.stack), f.stack.size);
    f.script = ctx::detail::jump_fcontext(f.script, nullptr).fctx;
    FinishSwitch(hostFakeStack, nullptr, nullptr);
}

void SwitchToHost() {
    Fibers& f = F();
    StartSwitch(&scriptFakeStack, f.hostStackBottom, f.hostStackSize);
    f.host = ctx::detail::jump_fcontext(f.host, nullptr).fctx;
    FinishSwitch(scriptFakeStack, &f.hostStackBottom, &f.hostStackSize);
}

// The script is parked inside scriptWait; like the real host deleting a
// fiber, its stack is simply dropped, frames and all. The sanitizer's
// poison of those frames goes first, so no later mapping inherits it.
void DeleteScriptFiber() {
    Fibers& f = F();
    if (!f.stack.sp) return;
#ifdef VQ_ASAN
    ASAN_UNPOISON_MEMORY_REGION(StackBottom(f.stack), f.stack.size);
#endif
    ctx::protected_fixedsize_stack(ScriptStackSize).deallocate(f.stack);
    f.stack = ctx::stack_context{};
    f.script = nullptr;
    scriptFakeStack = nullptr;
}

void* LoadPlugin() {
    std::string path = PluginPath();
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) throw std::runtime_error(std::string("cannot load the plug-in: ") + dlerror());
    return library;
}

int CallEntry(void* library, unsigned long reason) {
    using Entry = int (*)(void*, unsigned long, void*);
    auto entry = reinterpret_cast<Entry>(dlsym(library, "DllMain"));
    if (!entry) throw std::runtime_error("the plug-in has no DllMain");
    return entry(library, reason, nullptr);
}

void UnloadPlugin(void* library) {
    std::string path = PluginPath();
    dlclose(library);
    // A library that stays mapped would carry its globals into the next load.
    if (void* still = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD)) {
        dlclose(still);
        throw std::runtime_error("the plug-in stayed loaded after dlclose; its state would leak into the next load");
    }
}

void* Symbol(void* library, const char* name) { return library ? dlsym(library, name) : nullptr; }

}  // namespace sim::platform

// ---------------------------------------------------------------------------
// [SECTION] What the plug-in links against, under the names it calls.
extern "C" {
__attribute__((visibility("default"))) void scriptRegister(void* module, void (*script)()) {
    sim::host::ScriptRegister(module, script);
}
__attribute__((visibility("default"))) void scriptUnregister(void (*script)()) { sim::host::ScriptUnregister(script); }
__attribute__((visibility("default"))) void keyboardHandlerRegister(sim::host::KeyboardHandler handler) {
    sim::host::KeyboardHandlerRegister(handler);
}
__attribute__((visibility("default"))) void keyboardHandlerUnregister(sim::host::KeyboardHandler handler) {
    sim::host::KeyboardHandlerUnregister(handler);
}
__attribute__((visibility("default"))) void scriptWait(uint32_t milliseconds) { sim::host::ScriptWait(milliseconds); }
__attribute__((visibility("default"))) void nativeInit(uint64_t hash) { sim::host::NativeInit(hash); }
__attribute__((visibility("default"))) void nativePush64(uint64_t value) { sim::host::NativePush64(value); }
__attribute__((visibility("default"))) uint64_t* nativeCall() { return sim::host::NativeCall(); }
__attribute__((visibility("default"))) uint32_t GetTickCount(void) { return sim::host::TickCount(); }
__attribute__((visibility("default"))) uint32_t GetPrivateProfileIntA(const char* section, const char* key,
                                                                      int32_t defaultValue, const char* path) {
    sim::host::RecordProfileInt(section, key, defaultValue, path);
    return ReadProfileInt(section, key, defaultValue, path);
}
__attribute__((visibility("default"))) uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                                                         const char* defaultText, char* buffer,
                                                                         uint32_t size, const char* path) {
    sim::host::RecordProfileString(section, key, defaultText, size, path);
    return ReadProfileString(section, key, defaultText, buffer, size, path);
}
}
