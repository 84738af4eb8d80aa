// Linux: the shared object's own symbol.
#include <cstdio>
#include <cstdlib>

#include "bench/plugin_records.h"
#include "sim/sim.h"

namespace {
OverlayRecord* overlay = nullptr;
}  // namespace

void FindPluginRecords() {
    overlay = static_cast<OverlayRecord*>(sim::PluginSymbol("OverlayState"));
    if (overlay) return;
    std::fputs("velquorin-bench: the plug-in has no OverlayState symbol\n", stderr);
    std::exit(2);
}

OverlayRecord& PluginOverlay() { return *overlay; }
