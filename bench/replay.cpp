#include "bench/replay.h"

#include <cstdint>
#include <cstring>
#include <deque>
#include <string>

#include "sim/host_internal.h"

namespace {

struct ReplayCall {
    uint64_t hash = 0;
    int count = 0;
    uint64_t args[16] = {};
};

// The natives whose argument is an address rather than a value.
struct PointerArgument {
    const char* native;
    size_t index;
    bool text;  // false: the 88-byte vehicle-list buffer
};
constexpr PointerArgument PointerArguments[] = {
    {"HashOfName", 0, true},
    {"BeginTextEntry", 0, true},
    {"AddTextString", 0, true},
    {"ListNearbyVehicles", 1, false},
};

std::vector<ReplayCall> calls;
std::deque<std::string> texts;  // a deque never moves what it holds
uint64_t nearbyBuffer[11] = {10};

void Replay() {
    for (;;) {
        for (const ReplayCall& call : calls) {
            sim::host::NativeInit(call.hash);
            for (int i = 0; i < call.count; ++i) sim::host::NativePush64(call.args[i]);
            sim::host::NativeCall();
        }
        sim::host::ScriptWait(0);
    }
}

}  // namespace

void RecordReplay(const std::vector<sim::NativeCall>& trace) {
    calls.clear();
    texts.clear();
    for (const sim::NativeCall& recorded : trace) {
        ReplayCall call;
        call.hash = recorded.hash;
        call.count = static_cast<int>(recorded.args.size());
        std::memcpy(call.args, recorded.args.data(), recorded.args.size() * sizeof(uint64_t));
        for (const PointerArgument& pointer : PointerArguments) {
            if (std::strcmp(recorded.name, pointer.native) != 0) continue;
            if (pointer.text) {
                texts.push_back(recorded.text);
                call.args[pointer.index] = reinterpret_cast<uintptr_t>(texts.back().c_str());
            } else {
                call.args[pointer.index] = reinterpret_cast<uintptr_t>(nearbyBuffer);
            }
        }
        calls.push_back(call);
    }
}

size_t ReplayedNatives() { return calls.size(); }

void StartReplayScript() { sim::host::ScriptRegister(nullptr, Replay); }
