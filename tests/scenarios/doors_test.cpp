// Doors: one key per side opens or shuts that side of the train and of its
// first carriage, as the train's own tested door decides.
#include "driving_story.h"

namespace {

const std::vector<std::string> DoorNatives = {"CarriageOf", "DoorIsOpen", "OpenDoor", "ShutDoor"};

struct Side {
    const char* name;
    uint32_t key;
    int tested;
    int trainDoors[2];
    int carriageDoors[2];  // the other parity on the carriage
};
const Side Left{"left", vk::Numpad1, 0, {0, 2}, {1, 3}};
const Side Right{"right", vk::Numpad3, 1, {1, 3}, {0, 2}};

std::string Str(int value) { return std::to_string(value); }

std::vector<std::string> Opening(const Side& side, int train, int carriage) {
    return {"CarriageOf " + Str(train) + " 1",
            "DoorIsOpen " + Str(train) + " " + Str(side.tested),
            "OpenDoor " + Str(train) + " " + Str(side.trainDoors[0]) + " 1 0",
            "OpenDoor " + Str(train) + " " + Str(side.trainDoors[1]) + " 1 0",
            "OpenDoor " + Str(carriage) + " " + Str(side.carriageDoors[0]) + " 1 0",
            "OpenDoor " + Str(carriage) + " " + Str(side.carriageDoors[1]) + " 1 0"};
}

std::vector<std::string> Shutting(const Side& side, int train, int carriage) {
    return {"CarriageOf " + Str(train) + " 1",
            "DoorIsOpen " + Str(train) + " " + Str(side.tested),
            "ShutDoor " + Str(train) + " " + Str(side.trainDoors[0]) + " 0",
            "ShutDoor " + Str(train) + " " + Str(side.trainDoors[1]) + " 0",
            "ShutDoor " + Str(carriage) + " " + Str(side.carriageDoors[0]) + " 1",
            "ShutDoor " + Str(carriage) + " " + Str(side.carriageDoors[1]) + " 1"};
}

// Doors 0 to 3 of a vehicle as "o" (open) and "-" (shut).
}  // namespace

class Doors : public DrivingStory {};

TEST_F(Doors, EachSideOpensThenShutsItsFourDoorsInOrder) {
    struct Case {
        const Side& side;
        const char* trainOpen;     // the train's doors once that side is open
        const char* carriageOpen;  // and its carriage's
    };
    const Case cases[] = {{Left, "o-o-", "-o-o"}, {Right, "-o-o", "o-o-"}};
    for (const char* model : {"freight", "metrotrain"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(model) + " " + c.side.name);
            Restart();
            int train = sim::AddTrain(model, {0, 0, 0});
            int carriage = sim::Get(train).carriage;
            ASSERT_TRUE(Board(train));

            Press(c.side.key);
            EXPECT_EQ(drive::CallsAmong(DoorNatives), Opening(c.side, train, carriage));
            EXPECT_EQ(drive::DoorsOf(train), c.trainOpen);
            EXPECT_EQ(drive::DoorsOf(carriage), c.carriageOpen);

            Press(c.side.key);
            EXPECT_EQ(drive::CallsAmong(DoorNatives), Shutting(c.side, train, carriage));
            EXPECT_EQ(drive::DoorsOf(train), "----");
            EXPECT_EQ(drive::DoorsOf(carriage), "----");
        }
    }
}

TEST_F(Doors, OpeningOneSideLeavesTheOtherAlone) {
    Start();
    int metro = sim::AddTrain("metrotrain", {0, 0, 0});
    int carriage = sim::Get(metro).carriage;
    ASSERT_TRUE(Board(metro));
    Press(vk::Numpad1);
    Press(vk::Numpad3);
    EXPECT_EQ(drive::DoorsOf(metro), "oooo");
    EXPECT_EQ(drive::DoorsOf(carriage), "oooo");
    Press(vk::Numpad1);
    EXPECT_EQ(drive::DoorsOf(metro), "-o-o");
    EXPECT_EQ(drive::DoorsOf(carriage), "o-o-");
}

// Only the train's tested door is asked; every other door follows it.
TEST_F(Doors, TheTrainsTestedDoorAloneDecides) {
    struct Case {
        const Side& side;
        const char* trainBefore;
        const char* carriageBefore;
        bool shuts;
        const char* trainAfter;
        const char* carriageAfter;
    };
    const Case cases[] = {
        {Left, "o---", "----", true, "----", "----"},   // tested door open, carriage shut
        {Left, "--o-", "-o-o", false, "o-o-", "-o-o"},  // tested door shut, the rest open
        {Left, "----", "-o--", false, "o-o-", "-o-o"},
        {Right, "-o--", "--o-", true, "----", "----"},
        {Right, "---o", "o-o-", false, "-o-o", "o-o-"},
        {Right, "oo--", "oooo", true, "o---", "-o-o"},  // the left side is none of its business
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.side.name) + " train " + c.trainBefore + " carriage " + c.carriageBefore);
        Restart();
        int metro = sim::AddTrain("metrotrain", {0, 0, 0});
        int carriage = sim::Get(metro).carriage;
        ASSERT_TRUE(Board(metro));
        for (int door = 0; door < 4; ++door) {
            sim::Get(metro).doors[door] = c.trainBefore[door] == 'o';
            sim::Get(carriage).doors[door] = c.carriageBefore[door] == 'o';
        }
        Press(c.side.key);
        EXPECT_EQ(drive::CallsAmong(DoorNatives),
                  c.shuts ? Shutting(c.side, metro, carriage) : Opening(c.side, metro, carriage));
        EXPECT_EQ(drive::DoorsOf(metro), c.trainAfter);
        EXPECT_EQ(drive::DoorsOf(carriage), c.carriageAfter);
    }
}

TEST_F(Doors, ATrainWithNoCarriageStillHasItsOwnDoorsOpened) {
    Start();
    int metro = sim::AddTrain("metrotrain", {0, 0, 0});
    sim::Get(metro).carriage = 0;
    ASSERT_TRUE(Board(metro));
    Press(vk::Numpad1);
    EXPECT_EQ(drive::CallsAmong(DoorNatives), Opening(Left, metro, 0));
    EXPECT_EQ(drive::DoorsOf(metro), "o-o-");
}
