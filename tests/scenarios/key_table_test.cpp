// How long a key counts as held, seen the way the player sees it: F6 shows
// the console in the very pass in which the key counts as held. F6 waits
// strictly more than 500 ms after its last firing, which starts at tick 0,
// so every pass below that reads it runs at a clock above 500.
#include <cstdint>
#include <cstring>
#include <vector>

#include "story.h"

namespace {

constexpr uint32_t Wrap = 0;  // 2^32 in 32-bit arithmetic

struct Message {
    uint32_t at;
    uint32_t key;
    int withAlt = 0;
    int wasDown = 0;
    int isUp = 0;
};

// A fresh plug-in gets the messages at their times and runs its first pass
// at `passAt`; true if F6 counted as held in that pass.
bool F6HeldInFirstPass(const std::vector<Message>& messages, uint32_t passAt) {
    sim::Reset();
    sim::Load();
    for (const Message& m : messages) {
        sim::SetClock(m.at);
        sim::SendKeyMessage(m.key, m.withAlt, m.wasDown, m.isUp);
    }
    sim::SetClock(passAt - 1);
    sim::RunFrame(1);
    return sim::ConsoleDrawn();
}

Message Down(uint32_t at, uint32_t key = vk::F6) { return {at, key, 0, 0, 0}; }
Message Up(uint32_t at, uint32_t key = vk::F6) { return {at, key, 0, 1, 1}; }

}  // namespace

TEST_F(Story, AKeyDownCountsAsHeldForFiveSecondsAndNotOneMillisecondLonger) {
    struct Row {
        uint32_t stamp, passAt;
        bool held;
    } rows[] = {
        {10000, 10001, true},  {10000, 14999, true},  {10000, 15000, false},
        {10000, 15001, false}, {10000, 90000, false}, {1000, 5999, true},
        {1000, 6000, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(F6HeldInFirstPass({Down(row.stamp)}, row.passAt), row.held)
            << "key-down at " << row.stamp << ", pass at " << row.passAt;
}

TEST_F(Story, TheWindowRunsFromTheLatestKeyDown) {
    // The host repeats a held key's down message; each one starts the five seconds again.
    Message repeat{4000, vk::F6, 0, 1, 0};
    EXPECT_TRUE(F6HeldInFirstPass({Down(1000), repeat}, 8999));
    EXPECT_FALSE(F6HeldInFirstPass({Down(1000), repeat}, 9000));
    EXPECT_TRUE(F6HeldInFirstPass({Down(1000), Up(1500), Down(2000)}, 6999));
    EXPECT_FALSE(F6HeldInFirstPass({Down(1000), Up(1500), Down(2000)}, 7000));
}

TEST_F(Story, AKeyUpEndsTheHoldAtOnce) {
    EXPECT_FALSE(F6HeldInFirstPass({Down(1000), Up(1000)}, 1001));
    EXPECT_FALSE(F6HeldInFirstPass({Down(1000), Up(1200)}, 1201));
    EXPECT_FALSE(F6HeldInFirstPass({Down(1000), Up(9000)}, 9001));
    // Any nonzero is-up flag is a release.
    EXPECT_FALSE(F6HeldInFirstPass({Down(1000), Message{1100, vk::F6, 0, 1, -1}}, 1200));
    EXPECT_FALSE(F6HeldInFirstPass({Down(1000), Message{1100, vk::F6, 0, 1, 0x10000}}, 1200));
}

TEST_F(Story, TheAltAndWasDownFlagsNeverChangeTheAnswer) {
    const int flags[][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {-1, 7}, {0x7FFFFFFF, -2}};
    for (const auto& f : flags) {
        EXPECT_TRUE(F6HeldInFirstPass({Message{1000, vk::F6, f[0], f[1], 0}}, 5999))
            << "down with alt " << f[0] << ", was-down " << f[1];
        EXPECT_FALSE(F6HeldInFirstPass({Message{1000, vk::F6, f[0], f[1], 0}}, 6000))
            << "down with alt " << f[0] << ", was-down " << f[1];
        EXPECT_FALSE(F6HeldInFirstPass({Down(1000), Message{1100, vk::F6, f[0], f[1], 1}}, 1200))
            << "up with alt " << f[0] << ", was-down " << f[1];
    }
}

TEST_F(Story, MessagesForCodesOf255AndAboveChangeNothing) {
    // Among them the codes that would land on F6 (117) if the code were cut
    // to a byte or taken modulo the table's 255 entries.
    const uint32_t codes[] = {255, 256, 372, 373, 0x10075, 0xFFFFFF75, 0xFFFFFFFF};
    for (uint32_t code : codes) {
        EXPECT_FALSE(F6HeldInFirstPass({Down(1000, code)}, 1100)) << "key-down of code " << code;
        EXPECT_TRUE(F6HeldInFirstPass({Down(1000), Up(1050, code)}, 1100)) << "key-up of code " << code;
    }
}

TEST_F(Story, AMessageBeforeTheScriptFirstRunsCountsInTheFirstPass) {
    sim::Load();
    sim::SetClock(1000);
    sim::KeyDown(vk::F6);
    EXPECT_EQ(sim::YieldCount(), 0);
    sim::RunFrame(300);  // starts the script: settings, then the first pass at 1300
    EXPECT_EQ(sim::YieldCount(), 1);
    EXPECT_TRUE(sim::ConsoleDrawn());
}

TEST_F(Story, AMessageBeforeTheScriptFirstRunsIsStaleFiveSecondsLater) {
    sim::SetKeyRepeat(false);  // one key-down, nothing after it
    sim::Load();
    sim::SetClock(1000);
    sim::KeyDown(vk::F6);
    sim::SetClock(5000);
    sim::RunFrame(1000);
    EXPECT_FALSE(sim::ConsoleDrawn());
}

TEST_F(Story, AKeyThatNeverHadAMessageIsNotHeldWhileTheClockIsBelow5000) {
    for (uint32_t passAt : {501u, 1000u, 2500u, 4999u})
        EXPECT_FALSE(F6HeldInFirstPass({}, passAt)) << "pass at " << passAt;
    // Another key's message does not wake F6's untouched record either.
    EXPECT_FALSE(F6HeldInFirstPass({Down(600, vk::F5)}, 1000));
}

TEST_F(Story, AnIdlePlayerTouchesNothingAcrossTheCountersWrap) {
    // Every untouched bound key (F boards, Alt+I reloads, F6 shows the
    // console) must stay quiet when the 49.7-day counter starts over.
    sim::Load();
    sim::SetClock(Wrap - 3000);
    sim::RunFrame(16);
    while (sim::Now() >= 0x80000000u || sim::Now() < 7000) {
        sim::RunFrame(50);
        ASSERT_TRUE(sim::Trace().empty()) << "native calls at clock " << sim::Now();
    }
}

TEST_F(Story, AKeyDownJustBeforeTheWrapStaysHeldUntilFiveSecondsAfterItsStamp) {
    const uint32_t stamp = Wrap - 1000;  // its five seconds end at 4000 after the wrap
    struct Row {
        uint32_t passAt;
        bool held;
    } rows[] = {
        {Wrap - 999, true}, {Wrap - 1, true}, {600, true},    {3999, true},
        {4000, false},      {4001, false},    {4999, false},  {1000000, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(F6HeldInFirstPass({Down(stamp)}, row.passAt), row.held) << "pass at " << row.passAt;
}

TEST_F(Story, AKeyHeldAcrossTheWrapKeepsActingUntilFiveSecondsAfterItsStamp) {
    StartPlugin();
    sim::SetKeyRepeat(false);  // one key-down, nothing after it
    sim::SetClock(Wrap - 1000);
    sim::KeyDown(vk::F6);  // and never let go
    std::vector<uint32_t> toggles;
    bool shown = false;
    for (int frame = 0; frame < 600; ++frame) {
        sim::RunFrame(16);
        if (sim::ConsoleDrawn() != shown) {
            shown = !shown;
            toggles.push_back(sim::Now());
        }
    }
    // A held F6 fires again every 32 frames (512 ms, the first pass past
    // 500 ms): from the first pass at -984 up to the last before 4000.
    ASSERT_EQ(toggles.size(), 10u);
    EXPECT_EQ(toggles.front(), Wrap - 984);
    EXPECT_EQ(toggles.back(), 3624u);
}

#ifndef _WIN32
#include "host/key_table.h"

TEST_F(Story, EachMessageOverwritesItsRecordWholeAndCodesOf255AndAboveAreNotStored) {
    sim::Load();
    auto& table = PluginGlobal<KeyRecord[KeyCodeCount]>("KeyTable");
    sim::SetClock(1234);
    sim::SendKeyMessage(vk::F6, 7, -3, 0);
    EXPECT_EQ(table[vk::F6].tick, 1234u);
    EXPECT_EQ(table[vk::F6].withAlt, 7);
    EXPECT_EQ(table[vk::F6].wasDown, -3);
    EXPECT_EQ(table[vk::F6].released, 0);
    sim::SetClock(1300);
    sim::SendKeyMessage(vk::F6, 0, 1, 1);
    EXPECT_EQ(table[vk::F6].tick, 1300u);
    EXPECT_EQ(table[vk::F6].withAlt, 0);
    EXPECT_EQ(table[vk::F6].wasDown, 1);
    EXPECT_EQ(table[vk::F6].released, 1);

    std::vector<unsigned char> before(sizeof table);
    std::memcpy(before.data(), table, sizeof table);
    for (uint32_t code : {255u, 256u, 372u, 0xFFFFFFFFu}) sim::SendKeyMessage(code, 1, 1, 0);
    EXPECT_EQ(std::memcmp(before.data(), table, sizeof table), 0);
}
#endif
