// The wire format of a native call: what the host receives for each kind
// of argument, and how results are read back.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

#include "host/natives.h"
#include "host/script_hook.h"
#include "sim/sim.h"

namespace {

class NativeEncoding : public ::testing::Test {
protected:
    void SetUp() override { sim::Reset(); }
    void TearDown() override {
        for (const std::string& fault : sim::Faults()) ADD_FAILURE() << "host: " << fault;
    }
};

uint64_t FloatBits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace

TEST_F(NativeEncoding, NegativeIntegersTravelZeroExtendedInTheLowHalf) {
    int train = sim::AddTrain("metrotrain", {});
    OccupantOfSeat(train, -1);
    ASSERT_EQ(sim::Trace().size(), 1u);
    const sim::NativeCall& call = sim::Trace()[0];
    EXPECT_EQ(call.hash, 0xBB40DD2270B65366ull);
    EXPECT_EQ(call.args[0], static_cast<uint64_t>(train));
    EXPECT_EQ(call.args[1], 0x00000000FFFFFFFFull);
    EXPECT_EQ(call.args[2], 0u) << "the game reads a third argument";
}

// The game reads every argument it documents, pushed or not, so a short
// call hands it whatever an earlier call left in the slot.
TEST_F(NativeEncoding, ACallMissingAnArgumentTheGameReadsIsAFault) {
    nativeInit(NativeHash::EndTextDraw);
    nativePush64(0);
    nativePush64(0);
    nativeCall();
    ASSERT_EQ(sim::Faults().size(), 1u);
    EXPECT_EQ(sim::Faults()[0], "EndTextDraw: 2 arguments pushed, 3 expected");
    sim::ClearFaults();
}

TEST_F(NativeEncoding, FloatsTravelAsTheirBitPatternAndPointersWhole) {
    const float values[] = {0.0f, -0.0f, -10.059f, std::numeric_limits<float>::max(),
                            std::numeric_limits<float>::denorm_min()};
    for (float v : values) {
        sim::ClearTrace();
        ApplyTrainSpeed(5, v);
        ASSERT_EQ(sim::Trace().size(), 1u);
        EXPECT_EQ(sim::Trace()[0].args[1], FloatBits(v));
    }
    sim::ClearTrace();
    static const char name[] = "metrotrain";
    HashOfName(name);
    EXPECT_EQ(sim::Trace()[0].args[0], reinterpret_cast<uintptr_t>(name));
    EXPECT_EQ(sim::Trace()[0].text, "metrotrain");
}

TEST_F(NativeEncoding, ResultsAreReadFromTheirSlots) {
    int train = sim::AddTrain("freight", {1.5f, -2.25f, 3.0f}, 12.5f);
    EXPECT_EQ(static_cast<uint32_t>(ModelOfEntity(train)), sim::ModelHash("freight"));
    EXPECT_EQ(SpeedOfEntity(train), 12.5f);
    Vector3 p = OffsetToWorld(train, 1.0f, 1.0f, -1.0f);
    EXPECT_EQ(p.x, 2.5f);
    EXPECT_EQ(p.y, -1.25f);
    EXPECT_EQ(p.z, 2.0f);
    EXPECT_EQ(GetPlayerCharacter(), sim::Player());
}

TEST_F(NativeEncoding, ResultsWithAGarbageHighHalfAreReadFromTheLowHalfOnly) {
    sim::SetNativeHook([](uint64_t, const std::vector<uint64_t>&, uint64_t* slots) {
        slots[0] = 0xDEADBEEF00000007ull;
        slots[1] = 0xFFFFFFFF00000000ull | FloatBits(2.5f);
        slots[2] = 0x12345678ull << 32 | FloatBits(-1.0f);
        return true;
    });
    EXPECT_EQ(GetPlayerCharacter(), 7);
    Vector3 v = PositionOfEntity(1, 1);
    EXPECT_EQ(v.y, 2.5f);
    EXPECT_EQ(v.z, -1.0f);
    sim::SetNativeHook(nullptr);
}

// Addresses differ from process to process, so the scenario trace the two
// builds are compared by holds what a pointer points to, never where.
TEST_F(NativeEncoding, TheScenarioTraceHoldsTextsAndHandlesNotAddresses) {
    auto hex = [](int handle) {
        char text[17];
        std::snprintf(text, sizeof text, "%016X", handle);
        return std::string(text);
    };
    const int train = sim::AddTrain("metrotrain", {});
    sim::BeginScenarioTrace();
    AddTextString("Speed:  36 \"km/h\"\n");
    uint64_t buffer[11] = {10};
    ListNearbyVehicles(sim::Player(), buffer);
    const std::string path = (std::filesystem::temp_directory_path() / "velquorin-unit-scenario.trace").string();
    ASSERT_TRUE(sim::EndScenarioTrace(path));
    std::ifstream in(path, std::ios::binary);
    const std::string trace{std::istreambuf_iterator<char>(in), {}};
    std::filesystem::remove(path);
    EXPECT_EQ(trace, "6C188BE134E074AA AddTextString \"Speed:  36 \\\"km/h\\\"\\n\"\n"
                     "CFF869CBFA210D82 ListNearbyVehicles " + hex(sim::Player()) +
                         " [buffer 000000000000000A] -> 0000000000000001 [ " + hex(train) + " ]\n");
}
