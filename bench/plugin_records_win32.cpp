// Windows: the shipped DLL exports nothing, so the record's place comes
// from the linker's map of the same link (build/windows/Velquorin.map),
// checked against the loaded image's sections before it is trusted.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

#include "bench/plugin_records.h"

namespace {

// Resolved before the benchmark moves to its working directory.
const std::string MapPath = std::filesystem::absolute(VELQUORIN_PLUGIN_MAP).string();

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "velquorin-bench: %s\n", what.c_str());
    std::exit(2);
}

struct LinkerMap {
    uint64_t imageBase = 0;
    std::map<std::string, std::pair<uint64_t, uint64_t>> sections;  // name: address, size
    uint64_t overlay = 0;
};

LinkerMap ReadMap() {
    std::ifstream in(MapPath);
    if (!in) Fail("cannot read " + MapPath + "; build the windows preset");
    const std::regex base(R"(\s+0x[0-9a-f]+\s+__image_base__ = 0x([0-9a-f]+))");
    const std::regex section(R"((\.text|\.data|\.bss)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+).*)");
    const std::regex overlay(R"(\s+0x([0-9a-f]+)\s+OverlayState)");
    LinkerMap map;
    std::smatch m;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (std::regex_match(line, m, base))
            map.imageBase = std::stoull(m[1], nullptr, 16);
        else if (std::regex_match(line, m, section))
            map.sections[m[1]] = {std::stoull(m[2], nullptr, 16), std::stoull(m[3], nullptr, 16)};
        else if (std::regex_match(line, m, overlay))
            map.overlay = std::stoull(m[1], nullptr, 16);
    }
    if (!map.imageBase || !map.overlay || map.sections.size() != 3) Fail(MapPath + " is not the plug-in's map");
    return map;
}

// A map of another link would point into the wrong bytes: every section
// it names must sit where the loaded image has it, at the same size (the
// map's rounded up to the file alignment).
void CheckSameLink(HMODULE module, const LinkerMap& map) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    IMAGE_SECTION_HEADER* header = IMAGE_FIRST_SECTION(nt);
    size_t matched = 0;
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++header) {
        char name[IMAGE_SIZEOF_SHORT_NAME + 1] = {};
        std::memcpy(name, header->Name, IMAGE_SIZEOF_SHORT_NAME);
        auto found = map.sections.find(name);
        if (found == map.sections.end()) continue;
        uint64_t size = header->Misc.VirtualSize;
        uint64_t alignment = nt->OptionalHeader.FileAlignment;
        if (found->second.first - map.imageBase != header->VirtualAddress || found->second.second < size ||
            found->second.second - size >= alignment)
            Fail(MapPath + " describes another build of the plug-in than dist/Velquorin.asi; rebuild");
        ++matched;
    }
    if (matched != map.sections.size()) Fail("the plug-in lacks a section its map names");
}

OverlayRecord* overlay = nullptr;

}  // namespace

void FindPluginRecords() {
    static const LinkerMap map = ReadMap();
    HMODULE module = GetModuleHandleA("Velquorin.asi");
    if (!module) Fail("Velquorin.asi is not loaded");
    CheckSameLink(module, map);
    overlay = reinterpret_cast<OverlayRecord*>(reinterpret_cast<BYTE*>(module) + (map.overlay - map.imageBase));
}

OverlayRecord& PluginOverlay() { return *overlay; }
