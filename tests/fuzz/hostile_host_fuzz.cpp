// A hostile host: every native may answer with anything (counts of any
// sign and size, zero and unknown handles, NaN, infinities, huge and
// negative floats, garbage vectors, a thrown exception) over many frames of
// random keys. The nearby-vehicle buffer lives on the plug-in's stack, so
// AddressSanitizer catches any read past its ten slots.
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "fuzz_support.h"
#include "host/natives.h"

namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
const float Floats[] = {0.0f, -0.0f, 1.0f, -1.0f, 0.5f, 35.0f, -35.0f, 1e30f, -1e30f, Inf, -Inf, NaN, -NaN,
                        std::numeric_limits<float>::max(), std::numeric_limits<float>::lowest(),
                        std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::min()};
const int32_t Ints[] = {0, 1, -1, 2, 9, 10, 11, 12, 100, 101, 102, 103, 1000, -10, 0x7FFFFFFF,
                        static_cast<int32_t>(0x80000000u)};
const uint32_t BoundCodes[] = {70, 87, 83, 74, 75, 76, 162, 97, 99, 116, 117, 18, 73};

uint64_t FloatSlot(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// One arbitrary 64-bit slot: a small integer, a special float, a known
// model hash, or raw bits with garbage in the high half.
uint64_t Garbage(fuzz::Input& in) {
    switch (in.Byte() % 5) {
    case 0: return static_cast<uint32_t>(in.Pick(Ints));
    case 1: return FloatSlot(in.Pick(Floats));
    case 2: return sim::ModelHash(in.Byte() & 1 ? "metrotrain" : "freight");
    case 3: return in.Wide();
    default: return static_cast<uint64_t>(in.Word()) << 32 | static_cast<uint32_t>(in.Pick(Ints));
    }
}

struct Hostility {
    fuzz::Input* in = nullptr;
    bool thrown = false;
};
Hostility hostility;

bool Answer(uint64_t hash, const std::vector<uint64_t>& args, uint64_t* slots) {
    fuzz::Input& in = *hostility.in;
    const uint8_t choice = in.Byte();
    if (choice < 128) return false;  // the world answers
    if (choice == 255) {
        hostility.thrown = true;
        if (in.Byte() & 1) throw std::bad_alloc();
        throw std::runtime_error("host refused the call");
    }
    for (int i = 0; i < 4; ++i) slots[i] = Garbage(in);
    if (hash == NativeHash::ListNearbyVehicles) {
        // Only within the 88 bytes the plug-in promises: a capacity word and
        // ten slots. The count it is told is anything at all.
        auto* buffer = reinterpret_cast<uint64_t*>(static_cast<uintptr_t>(args[1]));
        for (int i = 1; i <= 10; ++i) buffer[i] = Garbage(in);
    }
    return true;
}

void PressRandomKey(fuzz::Input& in) {
    const uint32_t code = in.Pick(BoundCodes);
    if (in.Byte() & 1)
        sim::KeyDown(code);
    else
        sim::KeyUp(code);
}

void Frame(fuzz::Input& in) {
    const uint32_t step = in.Byte() % 4 == 0 ? in.Word() : 16u;
    sim::RunFrame(step);
    bool updated = false;
    for (const sim::NativeCall& call : sim::Trace())
        if (call.hash == NativeHash::ApplyTrainSpeed) updated = true;
    const float speed = DriveState.speed;
    FUZZ_CHECK(!std::isnan(speed), "speed is NaN");
    if (updated) FUZZ_CHECK(speed >= 0.0f, "speed %g after an update", static_cast<double>(speed));
    for (const sim::NativeCall& call : sim::CallsTo("ApplyTrainSpeed"))
        FUZZ_CHECK(std::isfinite(call.ArgFloat(1)), "speed sent to the game: %g", static_cast<double>(call.ArgFloat(1)));
    for (const std::string& line : sim::PanelLines())
        FUZZ_CHECK(line.size() < 100, "panel line of %zu characters: %s", line.size(), line.c_str());
    FUZZ_CHECK(sim::Faults().empty(), "host fault: %s", sim::Faults().front().c_str());
    const float throttle = DriveState.throttle;
    FUZZ_CHECK(throttle >= 0.0f && throttle <= 100.0f && std::floor(throttle) == throttle, "throttle %g",
               static_cast<double>(throttle));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool once = (sim::UseFreshWorkingDirectory(), std::remove("Velquorin.ini"), true);
    (void)once;
    fuzz::Input in{data, size};
    hostility = Hostility{&in};

    fuzz::StartFreshPlugin();
    sim::SetTrainsMove(in.Byte() & 1);
    const int metro = sim::AddTrain("metrotrain", {0.0f, 0.0f, 0.0f}, 3.0f);
    sim::AddTrain("freight", {1.3f, 3.5f, 1.5f});
    sim::AddCar("car", {0.0f, 1.0f, 0.0f});
    if (in.Byte() & 1) sim::SeatDriver(metro, sim::AddCharacter({}));
    sim::PlacePlayer({-2.0f, 3.25f, 1.0f});
    sim::SetNativeHook(Answer);
    const int yieldsBefore = sim::YieldCount();

    int frames = 0;
    for (; !in.Empty() && frames < 500; ++frames) {
        for (int keys = in.Byte() % 3; keys > 0; --keys) PressRandomKey(in);
        Frame(in);
    }
    // Every frame ended in a yield: nothing thrown left the script main,
    // which would have ended the fiber and the process with it.
    FUZZ_CHECK(sim::YieldCount() - yieldsBefore == frames, "%d frames, %d yields", frames,
               sim::YieldCount() - yieldsBefore);
    sim::Reset();
    return 0;
}
