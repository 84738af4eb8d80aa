// Loading, the frame loop's yield, and the native-call protocol, as the
// host sees them.
#include <cmath>
#include <cstring>

#include "story.h"

TEST_F(Story, LoadRegistersScriptThenKeyboardAndUnloadUnregistersInTheSameOrder) {
    sim::Load();
    auto log = sim::RegistrationLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].call, "scriptRegister");
    EXPECT_EQ(log[1].call, "keyboardHandlerRegister");
    EXPECT_NE(log[0].module, nullptr);
    const void* script = log[0].pointer;
    const void* handler = log[1].pointer;
    EXPECT_NE(script, handler);

    sim::Unload();
    log = sim::RegistrationLog();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[2].call, "scriptUnregister");
    EXPECT_EQ(log[2].pointer, script);
    EXPECT_EQ(log[3].call, "keyboardHandlerUnregister");
    EXPECT_EQ(log[3].pointer, handler);
}

TEST_F(Story, ThreadAttachAndDetachCallNothingAndReportSuccess) {
    sim::Load();
    sim::ClearRegistrationLog();
    EXPECT_EQ(sim::CallEntry(2), 1);
    EXPECT_EQ(sim::CallEntry(3), 1);
    EXPECT_TRUE(sim::RegistrationLog().empty());
    EXPECT_TRUE(sim::Trace().empty());
}

TEST_F(Story, EveryFrameIsExactlyOnePassEndingInWaitZero) {
    StartPlugin();
    EXPECT_EQ(sim::YieldCount(), 1);
    sim::RunFrames(30);
    EXPECT_EQ(sim::YieldCount(), 31);
    EXPECT_EQ(sim::LastWait(), 0u);
}

TEST_F(Story, AnIdlePlayerCostsTheHostNoNativeCalls) {
    StartPlugin();
    sim::RunFrame();
    EXPECT_TRUE(sim::Trace().empty());
}

TEST_F(Story, NothingIsCalledAtLoadOrUnload) {
    sim::Load();
    EXPECT_TRUE(sim::Trace().empty());
    EXPECT_EQ(sim::YieldCount(), 0);
    sim::Unload();
    EXPECT_TRUE(sim::Trace().empty());
}

TEST_F(Story, EachLoadStartsFromLoadTimeState) {
    sim::SetClock(60000);  // past every debounce interval since tick 0
    StartPlugin();
    sim::KeyDown(vk::F6);
    sim::RunFrame();
    EXPECT_TRUE(sim::ConsoleDrawn());
    sim::Unload();
    sim::Load();
    sim::RunFrame();
    EXPECT_FALSE(sim::ConsoleDrawn()) << "a reloaded plug-in must not remember the console";
}
