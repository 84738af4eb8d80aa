// Linux glue: the plug-in is a shared object loaded afresh with dlopen,
// its script runs on a ucontext fiber, and the host's functions are
// exported under the plain names the plug-in calls.
#include <dlfcn.h>
#include <ucontext.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

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
#include <sanitizer/common_interface_defs.h>
#endif

namespace sim::platform {
namespace {

// ---------------------------------------------------------------------------
// [SECTION] Fibers. Under AddressSanitizer every switch is announced, so
// it tracks which stack is live and keeps no stale shadow for a dropped one.
constexpr size_t ScriptStackSize = 4u << 20;

struct Fibers {
    ucontext_t host{};
    ucontext_t script{};
    std::vector<char> stack;
    void (*entry)() = nullptr;
    bool exists = false;
    const void* hostStackBottom = nullptr;
    size_t hostStackSize = 0;
};

Fibers& F() {
    static Fibers fibers;
    return fibers;
}

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

void ScriptTrampoline() {
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
    f.stack.assign(ScriptStackSize, 0);
    f.entry = script;
    getcontext(&f.script);
    f.script.uc_stack.ss_sp = f.stack.data();
    f.script.uc_stack.ss_size = f.stack.size();
    f.script.uc_link = nullptr;
    makecontext(&f.script, ScriptTrampoline, 0);
    f.exists = true;
}

void SwitchToScript() {
    Fibers& f = F();
    StartSwitch(&hostFakeStack, f.stack.data(), f.stack.size());
    swapcontext(&f.host, &f.script);
    FinishSwitch(hostFakeStack, nullptr, nullptr);
}

void SwitchToHost() {
    Fibers& f = F();
    StartSwitch(&scriptFakeStack, f.hostStackBottom, f.hostStackSize);
    swapcontext(&f.script, &f.host);
    FinishSwitch(scriptFakeStack, &f.hostStackBottom, &f.hostStackSize);
}

// The script is parked inside scriptWait; like the real host deleting a
// fiber, its stack is simply dropped, frames and all.
void DeleteScriptFiber() {
    Fibers& f = F();
    f.stack.clear();
    f.stack.shrink_to_fit();
    f.exists = false;
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
}
