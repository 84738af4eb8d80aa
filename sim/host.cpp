// The simulated script-hook library: registration, the script fiber, the
// virtual clock, key delivery, and the native-call protocol with its trace.
#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

#include "sim/host_internal.h"
#include "sim/sim.h"

namespace sim {
namespace {

// ---------------------------------------------------------------------------
// [SECTION] The native catalogue the host knows: argument kinds are
// i (32-bit integer), f (float), s (text pointer), p (buffer pointer).
struct NativeInfo {
    uint64_t hash;
    const char* name;
    const char* args;
};
constexpr NativeInfo Catalogue[] = {
    {0xD80958FC74E988A6ull, "GetPlayerCharacter", ""},
    {0x3FEF770D40960D5Aull, "PositionOfEntity", "ii"},
    {0xCFF869CBFA210D82ull, "ListNearbyVehicles", "ip"},
    {0x9F47B058362C84B5ull, "ModelOfEntity", "i"},
    {0xAB935175B22E822Bull, "IsTrainModel", "i"},
    {0xD24D37CC275948CCull, "HashOfName", "s"},
    {0x1899F328B0E12848ull, "OffsetToWorld", "ifff"},
    {0x06843DA7060A026Bull, "PlaceEntity", "ifffiiii"},
    {0xBB40DD2270B65366ull, "OccupantOfSeat", "iii"},
    {0xF75B0D629E1C063Dull, "PutCharacterInSeat", "iii"},
    {0xD5037BA82E12416Full, "SpeedOfEntity", "i"},
    {0xAA0BC91BE0B796E3ull, "ApplyTrainSpeed", "if"},
    {0x1098355A16064BB3ull, "HostBoardingSwitch", "i"},
    {0x997ABD671D25CA0Bull, "IsCharacterInAnyVehicle", "ii"},
    {0x08AAFD0814722BC3ull, "CarriageOf", "ii"},
    {0x3E933CFF7B111C22ull, "DoorIsOpen", "ii"},
    {0x7C65DAC73C35C862ull, "OpenDoor", "iiii"},
    {0x93D9BD300D7789E5ull, "ShutDoor", "iii"},
    {0x3A618A217E5154F0ull, "DrawScreenRect", "ffffiiiii"},
    {0x66E0276CC5F6B9DAull, "TextFont", "i"},
    {0x07C837F9A01C34C9ull, "TextScale", "ff"},
    {0xBE6B23FFA53FB442ull, "TextColour", "iiii"},
    {0xC02F4DBFB51D988Bull, "TextCentre", "i"},
    {0x465C84BC39F1C351ull, "TextDropShadow", "iiiii"},
    {0x441603240D202FA6ull, "TextEdge", "iiiii"},
    {0x25FBB336DF1804CBull, "BeginTextEntry", "s"},
    {0x6C188BE134E074AAull, "AddTextString", "s"},
    {0xCD015E5BB0D96A57ull, "EndTextDraw", "ffi"},
    {0xFE99B66D079CF6BCull, "DISABLE_CONTROL_ACTION", "iii"},
    {0xE2587F8CBBD87B1Dull, "IS_DISABLED_CONTROL_PRESSED", "ii"},
    {0x91AEF906BCA88877ull, "IS_DISABLED_CONTROL_JUST_PRESSED", "ii"},
    {0x11E65974A982637Cull, "GET_DISABLED_CONTROL_NORMAL", "ii"},
    {0xA571D46727E2B718ull, "IS_USING_KEYBOARD_AND_MOUSE", "i"},
};

// Dispatch: an open-addressed table indexed by the hash's low bits, built
// at compile time. Every native of every frame passes through here, and at
// most half the slots are taken, so a lookup ends within a probe or two.
constexpr size_t DispatchSlots = 128;
static_assert(std::size(Catalogue) * 2 <= DispatchSlots, "the dispatch table needs room to stay short-probed");

struct DispatchTable {
    int8_t entry[DispatchSlots];  // index into Catalogue, -1 for an empty slot
};

constexpr DispatchTable BuildDispatchTable() {
    DispatchTable table{};
    for (int8_t& entry : table.entry) entry = -1;
    for (size_t i = 0; i < std::size(Catalogue); ++i) {
        size_t slot = Catalogue[i].hash % DispatchSlots;
        while (table.entry[slot] >= 0) slot = (slot + 1) % DispatchSlots;
        table.entry[slot] = static_cast<int8_t>(i);
    }
    return table;
}
constexpr DispatchTable Dispatch = BuildDispatchTable();

const NativeInfo* FindNative(uint64_t hash) {
    for (size_t slot = hash % DispatchSlots;; slot = (slot + 1) % DispatchSlots) {
        int entry = Dispatch.entry[slot];
        if (entry < 0) return nullptr;
        if (Catalogue[entry].hash == hash) return &Catalogue[entry];
    }
}

float LowFloat(uint64_t slot) {
    uint32_t bits = static_cast<uint32_t>(slot);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// ---------------------------------------------------------------------------
// [SECTION] Host state
constexpr int MaxArgs = 16;

struct HostState {
    void* library = nullptr;
    PluginEntry linkedEntry = nullptr;  // set while a linked-in plug-in stands in for the library
    host::ScriptFunction script = nullptr;
    host::KeyboardHandler keyboard = nullptr;
    bool fiberCreated = false;
    std::vector<Registration> registrations;

    uint64_t clockMicroseconds = 0;
    TickGranularity granularity = TickGranularity::Millisecond;
    int yields = 0;
    uint32_t lastWait = 0;

    uint64_t pendingHash = 0;
    bool pending = false;
    uint64_t args[MaxArgs] = {};
    int argCount = 0;
    uint64_t slots[4] = {};

    bool tracing = true;
    std::vector<NativeCall> trace;
    std::vector<std::string> profileCalls;
    std::vector<DrawnText> texts;
    std::vector<DrawnBox> boxes;
    DrawnText style;  // the text being built between TextFont and EndTextDraw
    std::vector<std::string> faults;
    NativeHook hook;

    bool keepingScenario = false;
    std::string scenario;  // the scenario's trace so far, as canonical text
    int frames = 0;
    uintmax_t logBytesTraced = 0;  // of the working folder's Velquorin.log
};

HostState& State() {
    static HostState state;
    return state;
}

bool KeepingScenario(const HostState& s) { return s.keepingScenario && s.tracing; }

void Fault(const std::string& what) {
    HostState& s = State();
    s.faults.push_back(what);
    if (KeepingScenario(s)) s.scenario += "fault: " + what + "\n";
}

std::string HashText(uint64_t hash) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%016" PRIX64, hash);
    return text;
}

void Record(const NativeInfo& info, HostState& s) {
    NativeCall call;
    call.hash = info.hash;
    call.name = info.name;
    call.args.assign(s.args, s.args + s.argCount);
    for (int i = 0; info.args[i] && i < s.argCount; ++i)
        if (info.args[i] == 's' && s.args[i] != 0) call.text = reinterpret_cast<const char*>(s.args[i]);
    const std::string& text = call.text;
    switch (info.hash) {
    case 0x07C837F9A01C34C9ull: s.style = DrawnText{}; s.style.scale = LowFloat(s.args[1]); break;
    case 0xBE6B23FFA53FB442ull: s.style.alpha = static_cast<int>(static_cast<uint32_t>(s.args[3])); break;
    case 0x6C188BE134E074AAull: s.style.text = text; break;
    case 0xCD015E5BB0D96A57ull:
        s.style.x = LowFloat(s.args[0]);
        s.style.y = LowFloat(s.args[1]);
        s.texts.push_back(s.style);
        break;
    case 0x3A618A217E5154F0ull:
        s.boxes.push_back(DrawnBox{LowFloat(s.args[0]), LowFloat(s.args[1]), LowFloat(s.args[2]),
                                   LowFloat(s.args[3]), static_cast<int>(static_cast<uint32_t>(s.args[7]))});
        break;
    default: break;
    }
    s.trace.push_back(std::move(call));
}

bool ArgumentsKept(const NativeInfo& info, const HostState& s) {
    int expected = static_cast<int>(std::strlen(info.args));
    if (s.argCount != expected) {
        Fault(std::string(info.name) + ": " + std::to_string(s.argCount) + " arguments pushed, " +
              std::to_string(expected) + " expected");
        return false;
    }
    for (int i = 0; i < expected; ++i) {
        char kind = info.args[i];
        if ((kind == 'i' || kind == 'f') && (s.args[i] >> 32) != 0) {
            Fault(std::string(info.name) + ": argument " + std::to_string(i) + " has a nonzero high half (" +
                  HashText(s.args[i]) + ")");
            return false;
        }
        if ((kind == 's' || kind == 'p') && s.args[i] == 0) {
            Fault(std::string(info.name) + ": argument " + std::to_string(i) + " is a null pointer");
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------------------
// [SECTION] The scenario's trace as text. Addresses differ from process to
// process, so a text argument is written as the text it points to and the
// vehicle-list buffer as a marker with the capacity the plug-in wrote in it;
// everything else is the raw 64-bit slot in hex. Equal behaviour gives
// byte-equal text on every build.

void AppendHex(std::string& out, uint64_t value) {
    char text[20];
    std::snprintf(text, sizeof text, " %016" PRIX64, value);
    out += text;
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += " \"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        }
    }
    out += '"';
}

const uint64_t* NearbyBuffer(const NativeInfo& info, const HostState& s) {
    for (int i = 0; info.args[i]; ++i)
        if (info.args[i] == 'p') return reinterpret_cast<const uint64_t*>(static_cast<uintptr_t>(s.args[i]));
    return nullptr;
}

// Before the host answers: the hash, the name and every argument.
void AppendCall(const NativeInfo& info, HostState& s) {
    std::string& out = s.scenario;
    out += HashText(info.hash).substr(2);
    out += ' ';
    out += info.name;
    for (int i = 0; i < s.argCount; ++i) {
        if (info.args[i] == 's') {
            AppendQuoted(out, reinterpret_cast<const char*>(s.args[i]));
        } else if (info.args[i] == 'p') {
            out += " [buffer";
            AppendHex(out, NearbyBuffer(info, s)[0]);
            out += ']';
        } else {
            AppendHex(out, s.args[i]);
        }
    }
}

// After it answered: the result slots up to the last one not zero, and
// the handles it wrote into a vehicle list.
void AppendResults(const NativeInfo& info, HostState& s) {
    std::string& out = s.scenario;
    int used = 4;
    while (used > 0 && s.slots[used - 1] == 0) --used;
    if (used > 0) out += " ->";
    for (int i = 0; i < used; ++i) AppendHex(out, s.slots[i]);
    if (const uint64_t* buffer = NearbyBuffer(info, s)) {
        const int64_t capacity = static_cast<int32_t>(buffer[0]);
        const int64_t count = std::min<int64_t>(static_cast<int32_t>(s.slots[0]), capacity);
        out += " [";
        for (int64_t i = 1; i <= count; ++i) AppendHex(out, buffer[i]);
        out += " ]";
    }
    out += '\n';
}

void AppendLine(HostState& s, const std::string& line) {
    s.scenario += line;
    s.scenario += '\n';
}

// The lines the plug-in added to its log in this frame, one "log" line
// each: the log is part of what both builds must do alike.
void AppendNewLogLines(HostState& s) {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size("Velquorin.log", error);
    if (error || size <= s.logBytesTraced) return;
    std::ifstream in("Velquorin.log", std::ios::binary);
    in.seekg(static_cast<std::streamoff>(s.logBytesTraced));
    std::string line;
    while (std::getline(in, line)) {
        s.scenario += "log";
        AppendQuoted(s.scenario, line);
        s.scenario += '\n';
    }
    s.logBytesTraced = size;
}

void AppendReactions(HostState& s, const GameReactions& reacted) {
    if (reacted.switchedCharacter) AppendLine(s, "game: switched character");
    if (reacted.ownExit) AppendLine(s, "game: own exit");
    if (reacted.enteredCar) AppendLine(s, "game: entered a car");
    if (reacted.wheelShown) AppendLine(s, "game: character wheel");
}

void AppendFrameEnd(HostState& s) {
    AppendNewLogLines(s);
    std::string& out = s.scenario;
    if (ConsoleDrawn()) {
        out += "console";
        AppendQuoted(out, ConsoleTextDrawn());
        out += '\n';
    }
    std::vector<std::string> panel = PanelLines();
    if (!panel.empty()) {
        out += "panel";
        for (const std::string& line : panel) AppendQuoted(out, line);
        out += '\n';
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// [SECTION] The eight script-hook functions and the clock
namespace host {

void ScriptRegister(void* module, ScriptFunction script) {
    HostState& s = State();
    s.registrations.push_back({"scriptRegister", reinterpret_cast<const void*>(script), module});
    s.script = script;
}

void ScriptUnregister(ScriptFunction script) {
    HostState& s = State();
    s.registrations.push_back({"scriptUnregister", reinterpret_cast<const void*>(script), nullptr});
    if (s.script == script) s.script = nullptr;
}

void KeyboardHandlerRegister(KeyboardHandler handler) {
    HostState& s = State();
    s.registrations.push_back({"keyboardHandlerRegister", reinterpret_cast<const void*>(handler), nullptr});
    s.keyboard = handler;
}

void KeyboardHandlerUnregister(KeyboardHandler handler) {
    HostState& s = State();
    s.registrations.push_back({"keyboardHandlerUnregister", reinterpret_cast<const void*>(handler), nullptr});
    if (s.keyboard == handler) s.keyboard = nullptr;
}

void ScriptWait(uint32_t milliseconds) {
    HostState& s = State();
    ++s.yields;
    s.lastWait = milliseconds;
    if (milliseconds != 0) Fault("scriptWait(" + std::to_string(milliseconds) + "): the loop must yield with 0");
    platform::SwitchToHost();
}

void NativeInit(uint64_t hash) {
    HostState& s = State();
    if (s.pending) Fault("nativeInit(" + HashText(hash) + ") before the previous native was called");
    s.pendingHash = hash;
    s.pending = true;
    s.argCount = 0;
}

void NativePush64(uint64_t value) {
    HostState& s = State();
    if (!s.pending) Fault("nativePush64 without nativeInit");
    if (s.argCount < MaxArgs) s.args[s.argCount] = value;
    ++s.argCount;
}

uint64_t* NativeCall() {
    HostState& s = State();
    std::memset(s.slots, 0, sizeof s.slots);
    if (!s.pending) {
        Fault("nativeCall without nativeInit");
        return s.slots;
    }
    s.pending = false;
    const NativeInfo* info = FindNative(s.pendingHash);
    if (!info) {
        Fault("unknown native " + HashText(s.pendingHash));
        return s.slots;
    }
    if (!ArgumentsKept(*info, s)) return s.slots;
    if (s.tracing) Record(*info, s);
    const bool keeping = KeepingScenario(s);
    if (keeping) AppendCall(*info, s);
    try {
        bool answered = false;
        if (s.hook) answered = s.hook(info->hash, std::vector<uint64_t>(s.args, s.args + s.argCount), s.slots);
        if (!answered) answered = controls::Answer(info->hash, s.args, s.slots);
        if (!answered) world::Answer(info->hash, s.args, s.argCount, s.slots);
    } catch (...) {
        if (keeping) s.scenario += " threw\n";
        throw;
    }
    if (keeping) AppendResults(*info, s);
    return s.slots;
}

uint32_t TickCount() { return Now(); }
uint64_t ClockMicroseconds() { return State().clockMicroseconds; }

namespace {
std::string Quoted(const char* text) { return text ? '"' + std::string(text) + '"' : "null"; }
}  // namespace

void RecordProfileInt(const char* section, const char* key, int32_t defaultValue, const char* path) {
    HostState& s = State();
    if (!s.tracing) return;
    s.profileCalls.push_back("GetPrivateProfileIntA(" + Quoted(section) + ", " + Quoted(key) + ", " +
                             std::to_string(defaultValue) + ", " + Quoted(path) + ")");
}

void RecordProfileString(const char* section, const char* key, const char* defaultText, uint32_t size,
                         const char* path) {
    HostState& s = State();
    if (!s.tracing) return;
    s.profileCalls.push_back("GetPrivateProfileStringA(" + Quoted(section) + ", " + Quoted(key) + ", " +
                             Quoted(defaultText) + ", " + std::to_string(size) + ", " + Quoted(path) + ")");
}

}  // namespace host

// ---------------------------------------------------------------------------
// [SECTION] Loading
namespace {
int CallPluginEntry(HostState& s, unsigned long reason) {
    if (s.linkedEntry) return s.linkedEntry(s.library, reason, nullptr);
    return platform::CallEntry(s.library, reason);
}
}  // namespace

void LoadLinked(PluginEntry entry) {
    HostState& s = State();
    if (s.library) Unload();
    s.linkedEntry = entry;
    s.library = &s.linkedEntry;  // stands in for the module handle
    if (KeepingScenario(s)) AppendLine(s, "load");
    CallPluginEntry(s, 1);
}

void Load() {
    HostState& s = State();
    if (s.library) Unload();
    if (KeepingScenario(s)) AppendLine(s, "load");
    s.logBytesTraced = 0;  // a fresh load makes its log afresh
    s.library = platform::LoadPlugin();
    if (!platform::LoaderRunsEntry()) platform::CallEntry(s.library, 1);
}

void Unload() {
    HostState& s = State();
    if (!s.library) return;
    if (KeepingScenario(s)) AppendLine(s, "unload");
    if (s.linkedEntry || !platform::LoaderRunsEntry()) CallPluginEntry(s, 0);
    // On Windows the fiber goes before FreeLibrary runs the entry.
    if (s.fiberCreated) platform::DeleteScriptFiber();
    s.fiberCreated = false;
    s.script = nullptr;
    s.keyboard = nullptr;
    if (!s.linkedEntry) platform::UnloadPlugin(s.library);
    s.linkedEntry = nullptr;
    s.library = nullptr;
    keyboard::Reset();
    s.pending = false;
}

void ReloadGame() {
    HostState& s = State();
    if (KeepingScenario(s)) AppendLine(s, "reload");
    if (s.fiberCreated) platform::DeleteScriptFiber();
    s.fiberCreated = false;
    s.pending = false;
    world::Reset();
}

bool Loaded() { return State().library != nullptr; }

int CallEntry(unsigned long reason) { return CallPluginEntry(State(), reason); }

const std::vector<Registration>& RegistrationLog() { return State().registrations; }
void ClearRegistrationLog() { State().registrations.clear(); }
bool ScriptRegistered() { return State().script != nullptr; }
bool KeyboardHandlerRegistered() { return State().keyboard != nullptr; }

void* PluginSymbol(const char* name) {
    const HostState& s = State();
    return s.linkedEntry ? nullptr : platform::Symbol(s.library, name);
}

// ---------------------------------------------------------------------------
// [SECTION] Time and frames
constexpr uint64_t CoarseTickMicroseconds = 15625;

// The 32-bit counter wraps after 49.7 days, as GetTickCount's does.
uint32_t Now() {
    const HostState& s = State();
    uint64_t micro = s.clockMicroseconds;
    if (s.granularity == TickGranularity::Coarse) micro -= micro % CoarseTickMicroseconds;
    return static_cast<uint32_t>(micro / 1000);
}
void SetTickGranularity(TickGranularity granularity) { State().granularity = granularity; }
void SetClock(uint32_t milliseconds) {
    State().clockMicroseconds = uint64_t{milliseconds} * 1000;
    keyboard::ClockSet(State().clockMicroseconds);
}
void AdvanceClock(uint32_t milliseconds) { AdvanceClockMicroseconds(uint64_t{milliseconds} * 1000); }

// A held key's repeats arrive at their own times as the clock passes them,
// so each is stamped with the tick of its moment.
void AdvanceClockMicroseconds(uint64_t microseconds) {
    HostState& s = State();
    const uint64_t until = s.clockMicroseconds + microseconds;
    for (uint64_t at = 0; keyboard::NextRepeatBy(until, at);) {
        s.clockMicroseconds = at;
        keyboard::Repeat();
    }
    s.clockMicroseconds = until;
}

void RunFrame(uint32_t step) { RunFrameMicroseconds(uint64_t{step} * 1000); }

void RunFrameMicroseconds(uint64_t step) {
    HostState& s = State();
    AdvanceClockMicroseconds(step);
    ClearTrace();
    ++s.frames;
    if (KeepingScenario(s)) AppendLine(s, "frame " + std::to_string(s.frames) + " at " + std::to_string(Now()));
    controls::BeginFrame();
    if (s.script) {
        if (!s.fiberCreated) {
            platform::CreateScriptFiber(s.script);
            s.fiberCreated = true;
        }
        platform::SwitchToScript();
    }
    const GameReactions& reacted = controls::React();
    if (KeepingScenario(s)) AppendReactions(s, reacted);
    if (KeepingScenario(s)) AppendFrameEnd(s);
    world::AfterFrame(static_cast<float>(step) / 1e6f);
}

void RunFrames(int count, uint32_t step) {
    for (int i = 0; i < count; ++i) RunFrame(step);
}

int YieldCount() { return State().yields; }
uint32_t LastWait() { return State().lastWait; }

// ---------------------------------------------------------------------------
// [SECTION] Keys: each message's every field, as the handler gets it.
void SendKeyMessage(uint32_t key, int isWithAlt, int wasDownBefore, int isUpNow, uint8_t scanCode, int isExtended,
                    uint16_t repeats) {
    HostState& s = State();
    if (KeepingScenario(s)) {
        char fields[96];
        std::snprintf(fields, sizeof fields, " repeats %u scan 0x%02X extended %d alt %d was-down %d",
                      static_cast<unsigned>(repeats), static_cast<unsigned>(scanCode), isExtended, isWithAlt,
                      wasDownBefore);
        AppendLine(s, "key " + std::to_string(key) + (isUpNow ? " up" : " down") +
                          (isUpNow != 0 && isUpNow != 1 ? " (" + std::to_string(isUpNow) + ")" : "") + fields);
    }
    controls::KeyboardUsed();
    if (s.keyboard) s.keyboard(key, repeats, scanCode, isExtended, isWithAlt, wasDownBefore, isUpNow);
}

// ---------------------------------------------------------------------------
// [SECTION] Trace
float NativeCall::ArgFloat(size_t i) const { return LowFloat(args.at(i)); }

const std::vector<NativeCall>& Trace() { return State().trace; }

void ClearTrace() {
    HostState& s = State();
    s.trace.clear();
    s.profileCalls.clear();
    s.texts.clear();
    s.boxes.clear();
}

std::vector<NativeCall> CallsTo(const char* name) {
    std::vector<NativeCall> calls;
    for (const NativeCall& call : State().trace)
        if (std::strcmp(call.name, name) == 0) calls.push_back(call);
    return calls;
}

void SetTracing(bool on) { State().tracing = on; }

const std::vector<std::string>& ProfileCalls() { return State().profileCalls; }

const std::vector<DrawnText>& TextsDrawn() { return State().texts; }
const std::vector<DrawnBox>& BoxesDrawn() { return State().boxes; }

std::vector<std::string> PanelLines() {
    std::vector<std::string> lines;
    bool afterHeading = false;
    for (const DrawnText& text : State().texts) {
        if (text.text == "Console:") {
            afterHeading = true;
            continue;
        }
        if (!afterHeading && text.scale == 0.3f) lines.push_back(text.text);
        afterHeading = false;
    }
    return lines;
}

std::string ConsoleTextDrawn() {
    const std::vector<DrawnText>& texts = State().texts;
    for (size_t i = 0; i + 1 < texts.size(); ++i)
        if (texts[i].text == "Console:") return texts[i + 1].text;
    return "";
}

bool ConsoleDrawn() {
    for (const DrawnText& text : State().texts)
        if (text.text == "Console:") return true;
    return false;
}

const std::vector<std::string>& Faults() { return State().faults; }
void ClearFaults() { State().faults.clear(); }

void SetNativeHook(NativeHook hook) { State().hook = std::move(hook); }

void BeginScenarioTrace() {
    HostState& s = State();
    s.keepingScenario = true;
    s.scenario.clear();
    s.frames = 0;
    s.logBytesTraced = 0;
}

bool EndScenarioTrace(const std::string& path) {
    HostState& s = State();
    s.keepingScenario = false;
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << s.scenario;
    std::string().swap(s.scenario);
    return static_cast<bool>(out.flush());
}

// ---------------------------------------------------------------------------
// [SECTION] Files and starting over
std::string UseFreshWorkingDirectory() {
    namespace fs = std::filesystem;
    static int counter = 0;
    fs::path base = fs::temp_directory_path() / "velquorin-sim";
    fs::path dir;
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    do {
        dir = base / (std::to_string(stamp) + "-" + std::to_string(++counter));
    } while (fs::exists(dir));
    fs::create_directories(dir);
    fs::current_path(dir);
    return dir.string();
}

void WriteSettingsFile(const std::string& text) {
    std::ofstream out("Velquorin.ini", std::ios::binary | std::ios::trunc);
    out << text;
}

void Reset() {
    if (State().library) Unload();
    ResetKeepingPlugin();
}

void ResetKeepingPlugin() {
    HostState& s = State();
    if (KeepingScenario(s)) AppendLine(s, "reset");
    keyboard::Reset();
    s.registrations.clear();
    s.clockMicroseconds = 0;
    s.granularity = TickGranularity::Millisecond;
    s.yields = 0;
    s.lastWait = 0;
    s.tracing = true;
    s.hook = nullptr;
    s.faults.clear();
    ClearTrace();
    world::Reset();
    controls::Reset();
}

}  // namespace sim
