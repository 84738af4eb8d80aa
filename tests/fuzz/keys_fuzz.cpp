// Keys: any stream of key messages (any code, any flags) and clock jumps,
// the counter's wrap included, against the key table and control dispatch.
// A reference table kept here from the hold rules alone says what must be
// held: a key is held from a key-down message for 4999 ms, a release ends
// it at once, a code of 255 or above changes nothing.
#include <climits>
#include <cmath>
#include <string>

#include "fuzz_support.h"

namespace {

constexpr uint64_t HoldMilliseconds = 5000;
constexpr uint64_t CounterPeriod = uint64_t{1} << 32;

struct Expected {
    bool heard = false;
    bool released = false;
    uint64_t at = 0;  // on a clock that never wraps
};

struct Run {
    Expected keys[255];
    uint64_t now = 0;  // same clock, never wrapping; the host's is its low 32 bits
};

// The keys the default bindings act on, so most messages do something.
const uint32_t BoundCodes[] = {70, 87, 83, 74, 75, 76, 162, 97, 99, 116, 117, 18, 73};
const int Flags[] = {0, 1, -1, 2, INT_MIN, INT_MAX, 0x100};

// A settings file that binds actions to codes the table cannot hold and
// lets two actions share a key; the reload chord still works.
const char* const OddBindings =
    "[keys]\nthrottle_up=255\nthrottle_down=4294967295\nbrake_light=87\nbrake_medium=87\n"
    "change_direction=300\nenter_exit=70\n";

uint32_t Code(fuzz::Input& in) {
    switch (in.Byte() % 4) {
    case 0: return in.Pick(BoundCodes);
    case 1: return in.Byte();
    case 2: return 255 + in.Byte();
    default: return in.Word();
    }
}

// A message with scan code 0 and no extended flag also stands for the
// left modifier, the generic one, or the keypad key of NumLock off.
uint32_t TwinOfPlainMessage(uint32_t code) {
    static const uint32_t pairs[][2] = {{16, 160}, {17, 162}, {18, 164}, {160, 16}, {161, 16}, {162, 17},
                                        {163, 17}, {164, 18}, {165, 18}, {45, 96}, {35, 97}, {40, 98},
                                        {34, 99}, {37, 100}, {12, 101}, {39, 102}, {36, 103}, {38, 104},
                                        {33, 105}, {46, 110}};
    for (const auto& pair : pairs)
        if (pair[0] == code) return pair[1];
    return 0;
}

void Advance(Run& run, uint32_t milliseconds) {
    run.now += milliseconds;
    sim::AdvanceClock(milliseconds);
}

void Frame(Run& run, uint32_t step) {
    run.now += step;
    sim::RunFrame(step);
    const float throttle = DriveState.throttle;
    FUZZ_CHECK(throttle >= 0.0f && throttle <= 100.0f && std::floor(throttle) == throttle, "throttle %g",
               static_cast<double>(throttle));
    FUZZ_CHECK(DriveState.brakeLevel >= 0 && DriveState.brakeLevel <= 3, "brake level %d", DriveState.brakeLevel);
    FUZZ_CHECK(DriveState.direction == 1 || DriveState.direction == -1, "direction %d", DriveState.direction);
}

void Message(Run& run, uint32_t code, int alt, int wasDown, int up) {
    KeyRecord tableBefore[KeyCodeCount];
    uint8_t heardBefore[KeyCodeCount];
    std::memcpy(tableBefore, KeyTable, sizeof KeyTable);
    std::memcpy(heardBefore, KeyHeard, sizeof KeyHeard);
    sim::SendKeyMessage(code, alt, wasDown, up);
    if (code >= 255) {
        FUZZ_CHECK(std::memcmp(tableBefore, KeyTable, sizeof KeyTable) == 0 &&
                       std::memcmp(heardBefore, KeyHeard, sizeof KeyHeard) == 0,
                   "a message for code %u changed the key table", code);
        return;
    }
    run.keys[code] = Expected{true, up != 0, run.now};
    if (uint32_t twin = TwinOfPlainMessage(code)) run.keys[twin] = run.keys[code];
}

void CheckHolds(const Run& run) {
    for (uint32_t vk = 0; vk < 255; ++vk) {
        const Expected& key = run.keys[vk];
        const bool held = IsKeyHeld(vk);
        if (!key.heard || key.released) {
            FUZZ_CHECK(!held, "key %u held with no message or after a release", vk);
            continue;
        }
        const uint64_t age = run.now - key.at;
        // Past a whole period the 32-bit counter cannot tell the age apart
        // from age - 2^32; no reading of it could.
        if (age >= CounterPeriod) continue;
        if (age < HoldMilliseconds)
            FUZZ_CHECK(held, "key %u not held %llu ms after its key-down", vk, static_cast<unsigned long long>(age));
        else
            FUZZ_CHECK(!held, "key %u held %llu ms after its last message", vk, static_cast<unsigned long long>(age));
    }
    for (uint32_t vk : {255u, 256u, 300u, 0x7FFFFFFFu, 0xFFFFFFFFu}) FUZZ_CHECK(!IsKeyHeld(vk), "code %u held", vk);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool once = (sim::UseFreshWorkingDirectory(), true);
    (void)once;
    fuzz::Input in{data, size};
    const bool odd = in.Byte() & 1;
    // Written only when it changes: a file changed a moment ago is read
    // again at every lookup, and reloads are frequent here.
    static int fileIsOdd = -1;
    if (odd != fileIsOdd) {
        if (odd)
            sim::WriteSettingsFile(OddBindings);
        else
            std::remove("Velquorin.ini");
        fileIsOdd = odd;
    }

    Run run;
    fuzz::RestartPluginKeepingItsScript();
    sim::SetTracing(false);  // nothing here reads the trace
    const uint32_t start = in.Word();
    sim::SetClock(start);
    // A metro train with the player at its cab door, so the driving keys act.
    sim::SetTrainsMove(false);
    sim::AddTrain("metrotrain", {0.0f, 0.0f, 0.0f});
    sim::PlacePlayer({-2.0f, 3.25f, 1.0f});

    for (int ops = 0; !in.Empty() && ops < 2000; ++ops) {
        switch (in.Byte() % 10) {
        case 0:
        case 1:
        case 2: {
            uint32_t code = Code(in);
            int alt = in.Pick(Flags), wasDown = in.Pick(Flags), up = in.Pick(Flags);
            Message(run, code, alt, wasDown, up);
            break;
        }
        case 3: Advance(run, in.Byte() * 20u); break;
        case 4: Advance(run, in.Word()); break;
        case 5: {  // to just before the wrap
            uint32_t target = 0xFFFFFFFFu - in.Byte() * 40u;
            Advance(run, target - sim::Now());
            break;
        }
        case 6:
        case 7: Frame(run, in.Byte()); break;
        case 8:
            for (int frames = in.Byte() % 40; frames > 0; --frames) Frame(run, 16);
            break;
        default: Advance(run, 4990u + in.Byte() % 20u); break;
        }
        CheckHolds(run);
    }
    return 0;
}
