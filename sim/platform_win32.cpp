// Windows glue: the simulated host is ScriptHookV.dll itself. The shipped
// Velquorin.asi is loaded with LoadLibrary (so its DllMain runs at load
// and unload as in the game), its script runs on a real fiber, and its
// GetTickCount import is pointed at the host's clock, its profile imports
// at recorders that pass each call on to Windows.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "sim/host_internal.h"

namespace sim::platform {
namespace {

constexpr SIZE_T ScriptStackSize = 4u << 20;

struct Fibers {
    void* host = nullptr;
    void* script = nullptr;
    void (*entry)() = nullptr;
};

Fibers& F() {
    static Fibers fibers;
    return fibers;
}

void WINAPI ScriptFiberMain(void*) {
    F().entry();
    // The script main never returns; if it did, the host could not resume it.
    std::fputs("velquorin-sim: the script main returned\n", stderr);
    std::abort();
}

std::string LastErrorText() { return "error " + std::to_string(GetLastError()); }

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// VELQUORIN_PLUGIN names the file; otherwise the shipped dist\Velquorin.asi
// of the source tree the test program was built in, found upwards from the
// program's folder.
std::string PluginPath() {
    if (const char* path = std::getenv("VELQUORIN_PLUGIN"); path && *path) return path;
    char exe[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string dir(exe, n);
    for (size_t cut = dir.find_last_of("\\/"); cut != std::string::npos && cut > 0;
         cut = dir.find_last_of("\\/", cut - 1)) {
        std::string candidate = dir.substr(0, cut) + "\\dist\\Velquorin.asi";
        if (FileExists(candidate)) return candidate;
    }
    throw std::runtime_error("dist\\Velquorin.asi not found above " + dir + "; set VELQUORIN_PLUGIN");
}

uint32_t WINAPI SimGetTickCount() { return sim::host::TickCount(); }

UINT WINAPI SimGetPrivateProfileIntA(const char* section, const char* key, INT defaultValue, const char* path) {
    sim::host::RecordProfileInt(section, key, defaultValue, path);
    return GetPrivateProfileIntA(section, key, defaultValue, path);
}

DWORD WINAPI SimGetPrivateProfileStringA(const char* section, const char* key, const char* defaultText, char* buffer,
                                         DWORD size, const char* path) {
    sim::host::RecordProfileString(section, key, defaultText, size, path);
    return GetPrivateProfileStringA(section, key, defaultText, buffer, size, path);
}

// The plug-in asks KERNEL32 for the time and the settings: its clock is the
// host's, and every profile read is recorded.
void RedirectKernelImports(HMODULE module) {
    const struct {
        const char* name;
        const void* to;
    } redirects[] = {
        {"GetTickCount", reinterpret_cast<const void*>(&SimGetTickCount)},
        {"GetPrivateProfileIntA", reinterpret_cast<const void*>(&SimGetPrivateProfileIntA)},
        {"GetPrivateProfileStringA", reinterpret_cast<const void*>(&SimGetPrivateProfileStringA)},
    };
    for (const auto& r : redirects)
        if (!RedirectImport(module, "KERNEL32.dll", r.name, r.to))
            throw std::runtime_error(std::string("the plug-in imports no KERNEL32 ") + r.name + " to redirect");
}

bool SameNameIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
    return *a == *b;
}

}  // namespace

// Rewrites every import slot of the module for dll!name (a program may
// import one function twice, through two import libraries); false when it
// imports no such function. Names compare as the loader compares them: the
// library's without case, the function's exactly.
bool RedirectImport(void* module, const char* dll, const char* name, const void* replacement) {
    auto* base = static_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return false;
    bool found = false;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (!SameNameIgnoringCase(reinterpret_cast<const char*>(base + d->Name), dll)) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk
                                                                                         : d->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) != 0) continue;
            DWORD old = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old))
                throw std::runtime_error("cannot unprotect an import table: " + LastErrorText());
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
            found = true;
        }
    }
    return found;
}

// The Windows loader runs DllMain itself at LoadLibrary and FreeLibrary.
bool LoaderRunsEntry() { return true; }

void CreateScriptFiber(void (*script)()) {
    Fibers& f = F();
    if (!f.host) {
        f.host = ConvertThreadToFiber(nullptr);
        if (!f.host) throw std::runtime_error("ConvertThreadToFiber failed: " + LastErrorText());
    }
    f.entry = script;
    f.script = CreateFiber(ScriptStackSize, ScriptFiberMain, nullptr);
    if (!f.script) throw std::runtime_error("CreateFiber failed: " + LastErrorText());
}

void SwitchToScript() { SwitchToFiber(F().script); }

void SwitchToHost() { SwitchToFiber(F().host); }

// The script is parked inside scriptWait; as the real host does, its fiber
// is deleted with the frames still on it.
void DeleteScriptFiber() {
    Fibers& f = F();
    if (f.script) DeleteFiber(f.script);
    f.script = nullptr;
}

void* LoadPlugin() {
    std::string path = PluginPath();
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) throw std::runtime_error("cannot load " + path + ": " + LastErrorText());
    try {
        RedirectKernelImports(module);
        CountAllocationsOf(module);
    } catch (...) {
        FreeLibrary(module);
        throw;
    }
    return module;
}

// The DLL's own entry point as its PE header names it: the runtime's
// start-up code, which passes the call on to DllMain.
int CallEntry(void* library, unsigned long reason) {
    auto* base = static_cast<BYTE*>(library);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    using Entry = BOOL(WINAPI*)(HINSTANCE, DWORD, void*);
    auto entry = reinterpret_cast<Entry>(base + nt->OptionalHeader.AddressOfEntryPoint);
    return entry(static_cast<HINSTANCE>(library), reason, nullptr);
}

void UnloadPlugin(void* library) {
    auto module = static_cast<HMODULE>(library);
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(module, path, sizeof path);
    if (!FreeLibrary(module)) throw std::runtime_error("FreeLibrary failed: " + LastErrorText());
    // A DLL that stays mapped would carry its globals into the next load.
    if (n > 0 && GetModuleHandleA(std::string(path, n).c_str()))
        throw std::runtime_error("the plug-in stayed loaded after FreeLibrary; its state would leak into the next load");
}

void* Symbol(void* library, const char* name) {
    return library ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name)) : nullptr;
}

}  // namespace sim::platform

// ---------------------------------------------------------------------------
// [SECTION] The eight exports, renamed to the MSVC-decorated names by
// ScriptHookV.def.
extern "C" {
void simScriptRegister(HMODULE module, void (*script)()) { sim::host::ScriptRegister(module, script); }
void simScriptUnregister(void (*script)()) { sim::host::ScriptUnregister(script); }
void simKeyboardHandlerRegister(sim::host::KeyboardHandler handler) { sim::host::KeyboardHandlerRegister(handler); }
void simKeyboardHandlerUnregister(sim::host::KeyboardHandler handler) {
    sim::host::KeyboardHandlerUnregister(handler);
}
void simScriptWait(DWORD milliseconds) { sim::host::ScriptWait(milliseconds); }
void simNativeInit(uint64_t hash) { sim::host::NativeInit(hash); }
void simNativePush64(uint64_t value) { sim::host::NativePush64(value); }
uint64_t* simNativeCall() { return sim::host::NativeCall(); }
}
