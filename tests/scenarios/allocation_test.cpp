// Every frame the player drives, with or without the console, touches no
// heap: each pass runs inside the game's frame, where an allocation can
// stall on a lock the game holds. sim::AllocationCount sees malloc, calloc,
// realloc and strdup (and operator new through malloc), the plug-in's
// included, on both builds.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "story.h"

namespace {

constexpr uint32_t Booted = 10'000'000;  // a tick counter long past boot
const sim::Vec3 MetroCabDoor{-2.0f, 3.25f, 1.0f};
constexpr uint64_t ApplyTrainSpeed = 0xAA0BC91BE0B796E3ull;

// Where a planted allocation lands, so the compiler cannot drop the call.
void* volatile planted[4];

class Allocations : public Story {
protected:
    // The player boards a metro train from its cab door; boarding posts
    // the measured distance to the console.
    void BoardMetroTrain() {
        sim::SetClock(Booted);
        StartPlugin();
        sim::AddTrain("metrotrain", sim::Vec3{});
        sim::PlacePlayer(MetroCabDoor);
        uint64_t before = sim::AllocationCount();
        sim::TapKey(vk::F);
        boardingAllocations = sim::AllocationCount() - before;
        ASSERT_EQ(sim::PanelLines().size(), 4u) << "the player should be driving with the panel shown";
    }
    // Frames run with the host's trace off, so only the plug-in allocates.
    uint64_t AllocationsIn(int frames) {
        sim::SetTracing(false);
        uint64_t before = sim::AllocationCount();
        sim::RunFrames(frames);
        uint64_t made = sim::AllocationCount() - before;
        sim::SetTracing(true);
        return made;
    }
    uint64_t boardingAllocations = 0;
};

TEST_F(Allocations, TheCountSeesThePluginPostingToTheConsole) {
    BoardMetroTrain();
    EXPECT_GT(boardingAllocations, 0u) << "a console post was made; a count that saw none is blind";
}

// One of each, planted in the host's answer to a native the speed model
// calls every frame: in the frame's path, as a slip in the plug-in would be.
TEST_F(Allocations, TheCountSeesMallocCallocReallocAndStrdupPlantedInAFrame) {
    BoardMetroTrain();
    // The hook's own argument list allocates too; that part is the baseline.
    sim::SetNativeHook([](uint64_t, const std::vector<uint64_t>&, uint64_t*) { return false; });
    const uint64_t baseline = AllocationsIn(10);
    sim::SetNativeHook([](uint64_t hash, const std::vector<uint64_t>&, uint64_t*) {
        if (hash != ApplyTrainSpeed) return false;
        planted[0] = std::malloc(16);
        planted[1] = std::calloc(2, 8);
        planted[2] = std::realloc(planted[0], 4096);
        planted[3] = strdup("planted");
        for (int i = 1; i < 4; ++i) std::free(planted[i]);
        return false;
    });
    EXPECT_EQ(AllocationsIn(10), baseline + 40);
}

TEST_F(Allocations, DrivingWithThePanelAllocatesNothing) {
    BoardMetroTrain();
    sim::RunFrames(3);
    EXPECT_EQ(AllocationsIn(100), 0u);
    sim::RunFrame();
    EXPECT_EQ(sim::PanelLines().size(), 4u);
}

TEST_F(Allocations, ThrottleUpWhileDrivingAllocatesNothing) {
    BoardMetroTrain();
    sim::KeyDown(vk::W);
    EXPECT_EQ(AllocationsIn(100), 0u);
    sim::RunFrame();
    ASSERT_EQ(sim::PanelLines().size(), 4u);
    EXPECT_EQ(sim::PanelLines()[1], "Throttle: 100 %");
}

// The pad in use: every control of its buttons taken and read, every pass.
TEST_F(Allocations, DrivingWithThePadInUseAllocatesNothing) {
    sim::WriteSettingsFile("[gameplay]\nuse_gamepad=1\n");
    BoardMetroTrain();
    sim::SetTrigger(sim::pad::RT, 1.0f);
    EXPECT_EQ(AllocationsIn(100), 0u);
    sim::RunFrame();
    EXPECT_EQ(sim::PanelLines().at(1), "Throttle: 100 %");
}

// The history goes to the host as it is, so its length costs nothing.
TEST_F(Allocations, AShownConsoleAllocatesNothingHoweverLongItsHistory) {
    BoardMetroTrain();
    Press(vk::F);  // leaves the train, beside it but off the cab door
    for (int i = 0; i < 40; ++i) Press(vk::F);  // every try to board posts its distance
    Press(vk::F6);
    ASSERT_GT(sim::ConsoleTextDrawn().size(), 300u);
    EXPECT_EQ(AllocationsIn(10), 0u);
    sim::RunFrame();
    EXPECT_TRUE(sim::ConsoleDrawn());
}

// Six looks for the train among the frames, and the line every frame.
TEST_F(Allocations, OnFootBesideATrainTheHintAllocatesNothing) {
    StartPlugin("[gui]\nshow_hints=1\n");
    sim::AddTrain("metrotrain", sim::Vec3{});
    sim::PlacePlayer({MetroCabDoor.x - 2.0f, MetroCabDoor.y, MetroCabDoor.z});
    EXPECT_EQ(AllocationsIn(100), 0u);
    sim::RunFrame();
    EXPECT_EQ(sim::PanelLines(), std::vector<std::string>{"Cab door 2.0 m"});
}

}  // namespace
