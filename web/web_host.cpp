// Natives travel as the game's do: nativeInit, one 64-bit word per
// argument, nativeCall. A call's text style (scale, colour) is kept from
// TextScale and TextColour to the EndTextDraw that draws it.
#include "web_host.h"

#include <cstdint>
#include <cstring>

#include "driving/drive_state.h"
#include "driving/pad_state.h"
#include "host/natives.h"
#include "host/platform.h"
#include "host/script_hook.h"
#include "settings/profile_reader.h"

DriveRecord DriveState;  // the page's sample state
PadRecord PadState;      // no pad in the page's sample

namespace {

struct NativeCallRecord {
    uint64_t hash = 0;
    uint64_t arguments[16] = {};
    size_t count = 0;
    uint64_t results[4] = {};
};

NativeCallRecord Current;
DrawnFrame Frame;
DrawnText Style{"", 0, 0, 0, 255};

float FloatArgument(size_t index) {
    uint32_t bits = static_cast<uint32_t>(Current.arguments[index]);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

int IntArgument(size_t index) { return static_cast<int>(static_cast<uint32_t>(Current.arguments[index])); }

const char* TextArgument(size_t index) {
    const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(Current.arguments[index]));
    return text ? text : "";
}

void Perform() {
    switch (Current.hash) {
    case NativeHash::DrawScreenRect:
        Frame.boxes.push_back({FloatArgument(0), FloatArgument(1), FloatArgument(2), FloatArgument(3), IntArgument(7)});
        break;
    case NativeHash::TextScale: Style.scale = FloatArgument(1); break;
    case NativeHash::TextColour: Style.alpha = IntArgument(3); break;
    case NativeHash::AddTextString: Style.text = TextArgument(0); break;
    case NativeHash::EndTextDraw:
        Style.x = FloatArgument(0);
        Style.y = FloatArgument(1);
        Frame.texts.push_back(Style);
        Style.text.clear();
        break;
    default: break;  // no world here: every other native answers 0
    }
}

}  // namespace

DrawnFrame TakeDrawnFrame() {
    DrawnFrame taken = std::move(Frame);
    Frame = DrawnFrame{};
    return taken;
}

extern "C" {
void scriptRegister(void*, ScriptFunction) {}
void scriptUnregister(ScriptFunction) {}
void keyboardHandlerRegister(KeyboardHandler) {}
void keyboardHandlerUnregister(KeyboardHandler) {}
void scriptWait(VqDword) {}

void nativeInit(uint64_t hash) { Current = NativeCallRecord{hash}; }

void nativePush64(uint64_t value) {
    if (Current.count < sizeof Current.arguments / sizeof Current.arguments[0])
        Current.arguments[Current.count] = value;
    ++Current.count;
}

uint64_t* nativeCall() {
    Perform();
    return Current.results;
}

VqDword GetTickCount(void) { return 0; }

uint32_t GetPrivateProfileIntA(const char* section, const char* key, int32_t defaultValue, const char* path) {
    return ReadProfileInt(section, key, defaultValue, path);
}

uint32_t GetPrivateProfileStringA(const char* section, const char* key, const char* defaultText, char* buffer,
                                  uint32_t size, const char* path) {
    return ReadProfileString(section, key, defaultText, buffer, size, path);
}
}
