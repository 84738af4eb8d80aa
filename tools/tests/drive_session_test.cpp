// The desk drive as a modder types it, without a terminal: the shipped
// settings, a metro train, the player by its cab door.
#include <gtest/gtest.h>

#include <filesystem>

#include "desk.h"
#include "drive_session.h"

class DeskDrive : public ::testing::Test {
protected:
    void SetUp() override {
        s.model = "metrotrain";
        PrepareSettings("");
        StartDriveSession(s);
    }
    void TearDown() override {
        for (const std::string& fault : sim::Faults()) ADD_FAILURE() << "host: " << fault;
        sim::Unload();
        std::filesystem::current_path(home);
        RemoveWorkingDirectory();
    }
    // The screen once the hint has looked again (it looks every 250 ms).
    std::string ScreenSoon() {
        sim::RunFrames(20, DriveFrameMs);
        std::string screen;
        for (const std::string& line : ScreenLines(s)) screen += line + "\n";
        return screen;
    }
    DriveSession s;
    std::filesystem::path home = std::filesystem::current_path();
};

TEST_F(DeskDrive, WalkingThreeMetresToTheCabDoorTurnsTheDistanceIntoTheKey) {
    EXPECT_NE(ScreenLines(s)[0].find("   0.0 s (the log's clock)"), std::string::npos) << ScreenLines(s)[0];
    TypeKeys(s, "------");
    std::string screen = ScreenSoon();
    EXPECT_NE(screen.find("\n  Cab door 3.0 m\n"), std::string::npos) << screen;
    TypeKeys(s, "++++++");
    screen = ScreenSoon();
    EXPECT_NE(screen.find("\n  Press F to drive\n"), std::string::npos) << screen;
}

// Killed by a train that has since run 40 m on: respawned five metres aside
// and a metre below the door's height, the player walks back along the
// track to the door, no further, and could board.
TEST_F(DeskDrive, APlayerLeftBehindWalksBackToTheCabDoor) {
    TypeKeys(s, "!");
    sim::Get(s.train).position.y += 40.0f;
    TypeKeys(s, std::string(90, '+'));
    std::string screen = ScreenSoon();
    EXPECT_NE(screen.find("\n  Press F to drive\n"), std::string::npos) << screen;
    EXPECT_NE(screen.find("| 0.5 m from the cab door\n"), std::string::npos) << screen;
}
