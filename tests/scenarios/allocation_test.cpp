// A driving frame with the panel touches no heap: every pass of every
// frame the player drives runs inside the game's frame, where an
// allocation can stall on a lock the game holds.
//
// This program's global operator new is replaced below; the dlopened
// plug-in binds to it (the program exports its symbols), so the plug-in's
// allocations are counted. Under AddressSanitizer the sanitizer's own
// operator new stays, for its mismatch checks, and its allocation hook
// counts instead. The Windows DLL carries its own runtime, out of reach.
#ifndef _WIN32
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>

#include "overlay/overlay_state.h"
#include "story.h"

#if defined(__SANITIZE_ADDRESS__)
#define VQ_COUNT_WITH_HOOK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VQ_COUNT_WITH_HOOK 1
#endif
#endif

namespace {
uint64_t allocations = 0;
}  // namespace

#ifdef VQ_COUNT_WITH_HOOK
// The sanitizer runtime's hook, declared here: GCC ships no header for it.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onAllocate)(const volatile void*, size_t),
                                                          void (*onRelease)(const volatile void*));
namespace {
void CountAllocation(const volatile void*, size_t) { ++allocations; }
void IgnoreRelease(const volatile void*) {}
const int hooked = __sanitizer_install_malloc_and_free_hooks(CountAllocation, IgnoreRelease);
}  // namespace
#else
void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#endif

namespace {

constexpr uint32_t Booted = 10'000'000;  // a tick counter long past boot
const sim::Vec3 MetroCabDoor{-2.0f, 3.25f, 1.0f};

class Allocations : public Story {
protected:
    // The player boards a metro train from its cab door; boarding posts
    // the measured distance to the console, twice.
    void BoardMetroTrain() {
        sim::SetClock(Booted);
        StartPlugin();
        sim::AddTrain("metrotrain", sim::Vec3{});
        sim::PlacePlayer(MetroCabDoor);
        uint64_t before = allocations;
        sim::TapKey(vk::F);
        boardingAllocations = allocations - before;
        ASSERT_EQ(sim::PanelLines().size(), 4u) << "the player should be driving with the panel shown";
    }
    // Frames run with the host's trace off, so only the plug-in allocates.
    uint64_t AllocationsIn(int frames) {
        sim::SetTracing(false);
        uint64_t before = allocations;
        sim::RunFrames(frames);
        uint64_t made = allocations - before;
        sim::SetTracing(true);
        return made;
    }
    uint64_t boardingAllocations = 0;
};

TEST_F(Allocations, TheCountSeesThePluginPostingToTheConsole) {
    BoardMetroTrain();
    EXPECT_GT(boardingAllocations, 0u) << "two console posts were made; a count that saw none is blind";
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

// The console's text is copied for drawing every frame; a short text fits
// on the stack, a long one needs the heap once per frame.
TEST_F(Allocations, TheConsoleTextIsCopiedToTheHeapOnlyOnceItIsLong) {
    BoardMetroTrain();  // posts "0.000000" twice: 18 characters
    sim::TapKey(vk::F6);
    ASSERT_TRUE(sim::ConsoleDrawn());
    EXPECT_EQ(AllocationsIn(10), 0u) << "a short console is drawn from the stack";

    std::string& text = PluginGlobal<OverlayRecord>("OverlayState").consoleText;
    text = std::string(200, 'x') + "\n" + text;
    EXPECT_EQ(AllocationsIn(10), 10u) << "one copy of the long text per frame";
}

}  // namespace
#endif  // _WIN32
