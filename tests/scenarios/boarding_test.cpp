// Boarding and leaving: the player walks up to a train, presses F, and
// either sits in the driver's seat or stays where they stood.
#include <cmath>
#include <cstring>
#include <limits>

#include "driving_story.h"
#include "host/natives.h"

namespace {

const std::string NotRealistic = "[gameplay]\nenter_realistic=0\n";

struct Axis {
    const char* name;
    sim::Vec3 unit;
};
const Axis Axes[] = {{"+x", {1, 0, 0}}, {"-x", {-1, 0, 0}}, {"+y", {0, 1, 0}},
                     {"-y", {0, -1, 0}}, {"+z", {0, 0, 1}}, {"-z", {0, 0, -1}}};

sim::Vec3 Along(sim::Vec3 from, sim::Vec3 unit, float distance) {
    return drive::Plus(from, {unit.x * distance, unit.y * distance, unit.z * distance});
}

float FloatDistance(sim::Vec3 a, sim::Vec3 b) {
    float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

std::vector<std::string> Without(const std::vector<std::string>& lines, const std::string& name) {
    std::vector<std::string> kept;
    for (const std::string& line : lines)
        if (line.rfind(name, 0) != 0) kept.push_back(line);
    return kept;
}

// This frame's calls up to and including the boarding switch, described.
std::vector<std::string> CallsUntilSwitch() {
    std::vector<std::string> lines;
    for (const sim::NativeCall& call : sim::Trace()) {
        lines.push_back(drive::Describe(call));
        if (std::strcmp(call.name, "HostBoardingSwitch") == 0) break;
    }
    return lines;
}

std::string Int(int value) { return std::to_string(value); }
std::string Hash(const char* model) { return Int(static_cast<int>(sim::ModelHash(model))); }

}  // namespace

class Boarding : public DrivingStory {
protected:
    // Stands at that point with only this train listed near and presses F.
    bool TryBoardingFrom(int train, sim::Vec3 where) {
        sim::SetNearbyList({train});
        sim::PlacePlayer(where);
        Press(vk::F);
        bool seated = sim::Get(train).driver == sim::Player();
        EXPECT_EQ(seated, !sim::CallsTo("PutCharacterInSeat").empty());
        EXPECT_EQ(seated, !sim::CallsTo("HostBoardingSwitch").empty());
        return seated;
    }
    void LeaveIfSeated(int train) {
        if (sim::Get(train).driver == sim::Player()) Press(vk::F);
    }
};

TEST_F(Boarding, RealisticRuleIsStrictlyBelowOneFromTheCabOnEveryAxis) {
    Start();
    sim::SetTrainsMove(false);
    for (const char* model : {"freight", "metrotrain"}) {
        int train = sim::AddTrain(model, {64.0f, 128.0f, 16.0f});
        const sim::Vec3 cab = CabOf(train);
        for (const Axis& axis : Axes) {
            SCOPED_TRACE(std::string(model) + " " + axis.name);
            sim::Vec3 atOne = Along(cab, axis.unit, 1.0f);
            ASSERT_EQ(FloatDistance(cab, atOne), 1.0f) << "the story needs a distance of exactly 1.0f";
            EXPECT_FALSE(TryBoardingFrom(train, atOne));

            EXPECT_TRUE(TryBoardingFrom(train, Along(cab, axis.unit, 0.99f)));
            EXPECT_EQ(sim::BoardingSwitch(), 1);
            LeaveIfSeated(train);
        }
    }
}

TEST_F(Boarding, NonRealisticRuleIsStrictlyBelowTenFromTheOriginOnEverySide) {
    Start(NotRealistic);
    sim::SetTrainsMove(false);
    for (const char* model : {"freight", "metrotrain"}) {
        const sim::Vec3 origin{64.0f, 128.0f, 16.0f};
        int train = sim::AddTrain(model, origin);
        for (const Axis& axis : Axes) {
            SCOPED_TRACE(std::string(model) + " " + axis.name);
            sim::Vec3 atTen = Along(origin, axis.unit, 10.0f);
            ASSERT_EQ(FloatDistance(origin, atTen), 10.0f);
            EXPECT_FALSE(TryBoardingFrom(train, atTen));

            // On the far side of the cab too: the origin counts, not the cab.
            sim::Vec3 atNineNine = Along(origin, axis.unit, 9.9f);
            EXPECT_TRUE(TryBoardingFrom(train, atNineNine));
            LeaveIfSeated(train);
        }
    }
}

TEST_F(Boarding, RealisticModeRefusesAPlayerBelowTheCabWhateverTheirXAndY) {
    Start();
    sim::SetTrainsMove(false);
    int train = sim::AddTrain("freight", {0, 0, 0});
    sim::Vec3 cab = CabOf(train);
    EXPECT_FALSE(TryBoardingFrom(train, {cab.x, cab.y, cab.z - 1.5f}));
    EXPECT_FALSE(TryBoardingFrom(train, {cab.x, cab.y, cab.z + 1.0f}));
    EXPECT_TRUE(TryBoardingFrom(train, {cab.x, cab.y, cab.z - 0.5f}));
}

TEST_F(Boarding, MetroTrainPostsItsCabDistanceOnceWhenRefusedAndTwiceWhenBoarded) {
    for (const std::string& settings : {std::string(), NotRealistic}) {
        SCOPED_TRACE(settings.empty() ? "realistic" : "not realistic");
        Restart(settings);
        sim::SetTrainsMove(false);
        Press(vk::F6);
        int metro = sim::AddTrain("metrotrain", {0, 0, 0});
        sim::Vec3 cab = CabOf(metro);

        // Nine above the cab: too far from the cab, and over ten from the origin.
        sim::Vec3 above{cab.x, cab.y, cab.z + 9.0f};
        ASSERT_GE(FloatDistance({0, 0, 0}, above), 10.0f);
        EXPECT_FALSE(TryBoardingFrom(metro, above));
        EXPECT_EQ(sim::ConsoleTextDrawn(), "9.000000\n");

        EXPECT_TRUE(TryBoardingFrom(metro, {cab.x, cab.y + 0.5f, cab.z}));
        EXPECT_EQ(sim::ConsoleTextDrawn(), "0.500000\n0.500000\n9.000000\n");
    }
}

TEST_F(Boarding, FreightTrainPostsNothing) {
    Start();
    Press(vk::F6);
    int freight = sim::AddTrain("freight", {0, 0, 0});
    EXPECT_FALSE(TryBoardingFrom(freight, Along(CabOf(freight), {0, 1, 0}, 2.0f)));
    EXPECT_TRUE(Board(freight));
    EXPECT_EQ(sim::ConsoleTextDrawn(), "");
}

TEST_F(Boarding, AnotherDriverIsSetDownAtTheWorldOriginBeforeThePlayerSits) {
    Start();
    int metro = sim::AddTrain("metrotrain", {30.0f, 40.0f, 5.0f});
    int stranger = sim::AddCharacter({30.0f, 40.0f, 5.0f});
    sim::SeatDriver(metro, stranger);

    ASSERT_TRUE(Board(metro));
    const std::vector<std::string> moves = drive::CallsAmong({"PlaceEntity", "PutCharacterInSeat"});
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0], "PlaceEntity " + Int(stranger) + " 0 0 0 0 0 0 0");
    EXPECT_EQ(moves[1], "PutCharacterInSeat " + Int(sim::Player()) + " " + Int(metro) + " -1");
    const sim::Entity& set = sim::Get(stranger);
    EXPECT_EQ(set.seatedIn, 0);
    EXPECT_EQ(set.position.x, 0.0f);
    EXPECT_EQ(set.position.y, 0.0f);
    EXPECT_EQ(set.position.z, 0.0f);
}

TEST_F(Boarding, OnlyTheFirstTrainListedCounts) {
    Start();
    int hatchback = sim::AddCar("hatchback", {0, 0, 0});
    int tanker = sim::AddCar("tankercar", {0, 0, 0});
    int freight = sim::AddTrain("freight", {0, 0, 0});
    sim::PlacePlayer(CabOf(freight));

    sim::SetNearbyList({hatchback, tanker, freight});
    Press(vk::F);
    EXPECT_TRUE(sim::CallsTo("PutCharacterInSeat").empty()) << "a tanker car listed first blocks the freight train";
    EXPECT_TRUE(Panel().empty());

    sim::SetNearbyList({hatchback, freight});
    Press(vk::F);
    EXPECT_EQ(sim::Get(freight).driver, sim::Player());
    EXPECT_EQ(Panel().size(), 4u);
}

TEST_F(Boarding, EmptySlotsAreSkippedAndAnEmptyListFindsNothing) {
    Start();
    int freight = sim::AddTrain("freight", {0, 0, 0});
    sim::PlacePlayer(CabOf(freight));

    sim::SetNearbyList({});
    Press(vk::F);
    EXPECT_TRUE(sim::CallsTo("ModelOfEntity").empty());
    EXPECT_EQ(sim::BoardingSwitch(), -1);

    sim::SetNearbyList({0, 0, freight});
    Press(vk::F);
    for (const sim::NativeCall& call : sim::CallsTo("ModelOfEntity")) EXPECT_NE(call.ArgInt(0), 0);
    EXPECT_EQ(sim::Get(freight).driver, sim::Player());
}

// A host that breaks its promise on the count: the ten slots it filled are
// all that may be read, whatever number it returns.
TEST_F(Boarding, ACountOutsideTheBufferExaminesOnlyItsTenSlots) {
    struct Case {
        int count;
        size_t examined;
    };
    const Case cases[] = {{-1, 0}, {INT32_MIN, 0}, {0, 0}, {3, 3}, {10, 10}, {11, 10}, {1000, 10}};
    Start();
    std::vector<int> cars;
    // Parked out of the player's reach: F on foot would otherwise walk them
    // into one, as the game does.
    for (int i = 0; i < 10; ++i) cars.push_back(sim::AddCar("hatchback", {500, 500, 0}));

    int count = 0;
    int capacitySeen = -1;
    sim::SetNativeHook([&](uint64_t hash, const std::vector<uint64_t>& args, uint64_t* slots) {
        if (hash != NativeHash::ListNearbyVehicles) return false;
        auto* buffer = reinterpret_cast<unsigned char*>(static_cast<uintptr_t>(args.at(1)));
        std::memcpy(&capacitySeen, buffer, sizeof capacitySeen);
        for (size_t i = 0; i < cars.size(); ++i) std::memcpy(buffer + 8 + 8 * i, &cars[i], sizeof cars[i]);
        slots[0] = static_cast<uint32_t>(count);
        return true;
    });
    for (const Case& c : cases) {
        SCOPED_TRACE("count " + Int(c.count));
        count = c.count;
        Press(vk::F);
        EXPECT_EQ(capacitySeen, 10);
        std::vector<sim::NativeCall> examined = sim::CallsTo("ModelOfEntity");
        ASSERT_EQ(examined.size(), c.examined);
        for (size_t i = 0; i < examined.size(); ++i) EXPECT_EQ(examined[i].ArgInt(0), cars[i]);
        EXPECT_EQ(sim::BoardingSwitch(), -1);
    }
}

TEST_F(Boarding, AFreightBoardingAsksTheGameInThisOrder) {
    Start();
    sim::SetTrainsMove(false);
    int freight = sim::AddTrain("freight", {10.0f, 20.0f, 0.0f}, 4.0f);
    const std::string t = Int(freight), p = Int(sim::Player());
    ASSERT_TRUE(Board(freight));

    std::vector<std::string> calls = CallsUntilSwitch();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "GetPlayerCharacter");
    const std::vector<std::string> expected = {
        "IsCharacterInAnyVehicle " + p + " 0",
        "ListNearbyVehicles " + p + " buffer",
        "ModelOfEntity " + t,
        "IsTrainModel " + Hash("freight"),
        "HashOfName \"freight\"",
        "ModelOfEntity " + t,
        "OffsetToWorld " + t + " 0 0 0",
        "OffsetToWorld " + t + " 1.3 3.5 1.5",
        "PositionOfEntity " + p + " 1",
        "OccupantOfSeat " + t + " -1 0",
        "PutCharacterInSeat " + p + " " + t + " -1",
        "SpeedOfEntity " + t,
        "HostBoardingSwitch 1",
    };
    EXPECT_EQ(Without(calls, "GetPlayerCharacter"), expected);
    // The same pass already drives the train from the game's speed.
    EXPECT_EQ(SentThisFrame(freight), drive::Sent(4.0f - 0.004f));
}

TEST_F(Boarding, AMetroBoardingWithADriverAsksTheGameInThisOrder) {
    Start();
    sim::SetTrainsMove(false);
    int metro = sim::AddTrain("metrotrain", {10.0f, 20.0f, 0.0f});
    int stranger = sim::AddCharacter({10.0f, 20.0f, 0.0f});
    sim::SeatDriver(metro, stranger);
    const std::string t = Int(metro), p = Int(sim::Player()), d = Int(stranger);
    ASSERT_TRUE(Board(metro));

    const std::vector<std::string> expected = {
        "IsCharacterInAnyVehicle " + p + " 0",
        "ListNearbyVehicles " + p + " buffer",
        "ModelOfEntity " + t,
        "IsTrainModel " + Hash("metrotrain"),
        "HashOfName \"freight\"",
        "ModelOfEntity " + t,
        "HashOfName \"metrotrain\"",
        "ModelOfEntity " + t,
        "OffsetToWorld " + t + " 0 0 0",
        "OffsetToWorld " + t + " -2 3.25 1",
        "PositionOfEntity " + p + " 1",
        "OccupantOfSeat " + t + " -1 0",
        "PlaceEntity " + d + " 0 0 0 0 0 0 0",
        "PutCharacterInSeat " + p + " " + t + " -1",
        "SpeedOfEntity " + t,
        "HostBoardingSwitch 1",
    };
    EXPECT_EQ(Without(CallsUntilSwitch(), "GetPlayerCharacter"), expected);
}

// A speed the game cannot mean must not stick in the model: the panel
// would read "nan" or millions of km/h for good, and the direction could
// never change again (at 2,000,000 a step of drag is lost to rounding).
TEST_F(Boarding, ASpeedThatIsNoNumberOrAboveAThousandIsTakenAsStandingStill) {
    const float hostile[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(), 2'000'000.0f,
                             std::nextafter(1000.0f, 2000.0f)};
    for (float speed : hostile) {
        SCOPED_TRACE(std::to_string(speed));
        Restart();
        sim::SetNativeHook([speed](uint64_t hash, const std::vector<uint64_t>&, uint64_t* slots) {
            if (hash != NativeHash::SpeedOfEntity) return false;
            uint32_t bits;
            std::memcpy(&bits, &speed, sizeof bits);
            slots[0] = bits;
            return true;
        });
        int metro = sim::AddTrain("metrotrain", {0, 0, 0});
        ASSERT_TRUE(Board(metro));
        EXPECT_EQ(SentThisFrame(metro), drive::Sent(0.0f));
        const std::vector<std::string> standing = {"Speed:   0 km/h", "Throttle:   0 %", "Brake: ~g~[L] [M] [H]",
                                                   "Direction: ~g~Forward"};
        EXPECT_EQ(Panel(), standing);

        Press(vk::LeftControl);
        EXPECT_EQ(Panel().at(3), "Direction: ~r~Backward") << "a standing train can change direction";
        Hold(vk::W, 20);
        for (int frame = 0; frame < 30; ++frame) {
            sim::RunFrame();
            float sent = SentThisFrame(metro);
            ASSERT_TRUE(std::isfinite(sent));
            for (const std::string& line : Panel()) ASSERT_EQ(line.find("nan"), std::string::npos) << line;
            for (const std::string& line : Panel()) ASSERT_EQ(line.find("inf"), std::string::npos) << line;
        }
    }
}

TEST_F(Boarding, ASpeedUpToAThousandIsTakenAsTheGameGivesIt) {
    for (float speed : {999.0f, 1000.0f}) {
        SCOPED_TRACE(speed);
        Restart();
        int metro = sim::AddTrain("metrotrain", {0, 0, 0}, speed);
        ASSERT_TRUE(Board(metro));
        EXPECT_EQ(SentThisFrame(metro), drive::Sent(speed - 0.005f)) << "only the drag taken off";
    }
}

// --- leaving ---------------------------------------------------------------

class Leaving : public Boarding {};

TEST_F(Leaving, EachModelSetsThePlayerDownAtItsExitPoint) {
    struct Case {
        const char* model;
        sim::Vec3 exit;
        std::vector<std::string> asked;  // the pass's seat check, then what leaving asks, in order
    };
    Start();
    sim::SetTrainsMove(false);
    const Case cases[] = {
        {"freight", drive::FreightExit, {"OccupantOfSeat", "OccupantOfSeat", "HashOfName", "ModelOfEntity",
                                         "OffsetToWorld", "PlaceEntity", "HostBoardingSwitch"}},
        {"metrotrain", drive::MetroExit, {"OccupantOfSeat", "OccupantOfSeat", "HashOfName", "ModelOfEntity",
                                          "HashOfName", "ModelOfEntity", "OffsetToWorld", "PlaceEntity",
                                          "HostBoardingSwitch"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        int train = sim::AddTrain(c.model, {50.0f, 60.0f, 7.0f});
        ASSERT_TRUE(Board(train));
        Press(vk::F);

        const sim::Vec3 expected = drive::Plus(sim::Get(train).position, c.exit);
        const sim::Vec3 at = sim::Get(sim::Player()).position;
        EXPECT_EQ(at.x, expected.x);
        EXPECT_EQ(at.y, expected.y);
        EXPECT_EQ(at.z, expected.z);
        EXPECT_EQ(sim::Get(sim::Player()).seatedIn, 0);
        EXPECT_EQ(sim::BoardingSwitch(), 0);
        EXPECT_TRUE(Panel().empty()) << "no panel in the frame the player leaves";

        std::vector<std::string> asked;
        for (const sim::NativeCall& call : sim::Trace()) {
            if (std::strcmp(call.name, "GetPlayerCharacter") != 0 && std::strcmp(call.name, "DISABLE_CONTROL_ACTION") != 0)
                asked.push_back(call.name);
            if (std::strcmp(call.name, "HostBoardingSwitch") == 0) break;
        }
        EXPECT_EQ(asked, c.asked);
        const std::vector<sim::NativeCall> place = sim::CallsTo("PlaceEntity");
        ASSERT_EQ(place.size(), 1u);
        EXPECT_EQ(place[0].ArgInt(0), sim::Player());
        EXPECT_EQ(place[0].ArgFloat(1), expected.x);
        for (size_t i = 4; i < 8; ++i) EXPECT_EQ(place[0].ArgInt(i), 0);
    }
}

TEST_F(Leaving, ThrottleBrakeAndDirectionCarryOverToTheNextTrain) {
    Start();
    int first = sim::AddTrain("metrotrain", {0, 0, 0});
    ASSERT_TRUE(Board(first));
    Press(vk::LeftControl);
    Press(vk::L);
    Hold(vk::W, 12);
    Press(vk::F);

    int second = sim::AddTrain("freight", {40.0f, 0, 0}, 0.0f);
    ASSERT_TRUE(Board(second));
    const std::vector<std::string> lines = Panel();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "Throttle:  12 %");
    EXPECT_EQ(lines[2], "Brake: ~g~[L] ~g~[M] ~r~[H]");
    EXPECT_EQ(lines[3], "Direction: ~r~Backward");
}

TEST_F(Leaving, TheLeftTrainKeepsBeingDriven) {
    Start();
    int metro = sim::AddTrain("metrotrain", {0, 0, 0});
    ASSERT_TRUE(Board(metro));
    Hold(vk::W, 20);  // limit 7.0, far above the speed: it keeps gaining
    Press(vk::F);
    ASSERT_TRUE(Panel().empty());

    float previous = SentThisFrame(metro);
    for (int frame = 0; frame < 10; ++frame) {
        sim::RunFrame();
        ASSERT_EQ(sim::CallsTo("ApplyTrainSpeed").size(), 1u);
        float sent = SentThisFrame(metro);
        // Step 0.04 less drag 0.005, still throttled by the player who left.
        EXPECT_NEAR(static_cast<double>(sent) - static_cast<double>(previous), 0.035, 1e-5);
        previous = sent;
    }
}

TEST_F(Leaving, ATrainOfAnotherModelKeepsThePlayerAndOneThatIsGoneLetsThemGo) {
    Start();
    int metro = sim::AddTrain("metrotrain", {0, 0, 0});
    ASSERT_TRUE(Board(metro));
    sim::Get(metro).model = "tankercar";
    Press(vk::F);
    EXPECT_TRUE(sim::CallsTo("PlaceEntity").empty());
    EXPECT_EQ(sim::Get(metro).driver, sim::Player());
    EXPECT_EQ(Panel().size(), 4u) << "still driving";
    EXPECT_TRUE(sim::CallsTo("ApplyTrainSpeed").empty()) << "nor is its speed set";

    // The game deletes the train under the player: F lets them go where
    // they are, and the next train can be boarded.
    sim::DeleteEntity(metro);
    const sim::Vec3 standing = sim::Get(sim::Player()).position;
    Press(vk::F);
    EXPECT_TRUE(sim::CallsTo("PlaceEntity").empty()) << "no exit point to go to";
    EXPECT_TRUE(sim::CallsTo("ApplyTrainSpeed").empty());
    EXPECT_EQ(sim::CallsTo("HostBoardingSwitch").size(), 1u);
    EXPECT_EQ(sim::BoardingSwitch(), 0);
    EXPECT_TRUE(Panel().empty()) << "no longer driving";
    const sim::Vec3 after = sim::Get(sim::Player()).position;
    EXPECT_TRUE(after.x == standing.x && after.y == standing.y && after.z == standing.z);

    int freight = sim::AddTrain("freight", {30.0f, 0, 0});
    EXPECT_TRUE(Board(freight));
}
