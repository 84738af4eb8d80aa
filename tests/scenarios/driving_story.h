// What the driving stories share: a clock long past boot, a player who
// walks up to a train's cab and presses a key, and readers for what the
// game was told.
#pragma once
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "story.h"

namespace drive {

// A real tick counter is far from 0 when a game runs, so every action's
// first press is due at once, as it is in the game.
constexpr uint32_t BootedClock = 10'000'000;

// Cab and exit points relative to a train, as the player knows them.
constexpr sim::Vec3 FreightCab{1.3f, 3.5f, 1.5f};
constexpr sim::Vec3 FreightExit{1.3f, 3.5f, 0.5f};
constexpr sim::Vec3 MetroCab{-2.0f, 3.25f, 1.0f};
constexpr sim::Vec3 MetroExit{-2.0f, 3.25f, 1.0f};

inline sim::Vec3 Plus(sim::Vec3 a, sim::Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

// The value a train is given for a model speed v: signed in single
// precision, 0.059 taken off in double, narrowed back.
inline float Sent(float v, int direction = 1) {
    float signedSpeed = static_cast<float>(direction) * v;
    return static_cast<float>(static_cast<double>(signedSpeed) - 0.059);
}

// A native call as one readable line: name, then its arguments.
inline std::string Describe(const sim::NativeCall& call) {
    std::string line = call.name;
    if (!call.text.empty()) return line + " \"" + call.text + "\"";
    const bool listing = std::strcmp(call.name, "ListNearbyVehicles") == 0;
    // Floats: OffsetToWorld's three, PlaceEntity's position, ApplyTrainSpeed's value.
    auto isFloat = [&](size_t i) {
        if (std::strcmp(call.name, "OffsetToWorld") == 0) return i >= 1 && i <= 3;
        if (std::strcmp(call.name, "PlaceEntity") == 0) return i >= 1 && i <= 3;
        if (std::strcmp(call.name, "ApplyTrainSpeed") == 0) return i == 1;
        return false;
    };
    for (size_t i = 0; i < call.args.size(); ++i) {
        line += ' ';
        if (listing && i == 1) {
            line += "buffer";
        } else if (isFloat(i)) {
            char number[32];
            std::snprintf(number, sizeof number, "%g", static_cast<double>(call.ArgFloat(i)));
            line += number;
        } else {
            line += std::to_string(call.ArgInt(i));
        }
    }
    return line;
}

// This frame's calls to any of the named natives, described, in order.
inline std::vector<std::string> CallsAmong(const std::vector<std::string>& names) {
    std::vector<std::string> lines;
    for (const sim::NativeCall& call : sim::Trace())
        for (const std::string& name : names)
            if (name == call.name) lines.push_back(Describe(call));
    return lines;
}

// The panel's box this frame (0.12 wide), or nullptr when none was drawn.
inline const sim::DrawnBox* PanelBox() {
    for (const sim::DrawnBox& box : sim::BoxesDrawn())
        if (box.width == 0.12f) return &box;
    return nullptr;
}

// The vehicle's four doors, 'o' open and '-' shut: "o-o-".
inline std::string DoorsOf(int vehicle) {
    std::string doors;
    for (bool open : sim::Get(vehicle).doors) doors += open ? 'o' : '-';
    return doors;
}

}  // namespace drive

class DrivingStory : public Story {
protected:
    void Start(const std::string& settings = "") {
        sim::SetClock(drive::BootedClock);
        StartPlugin(settings);
    }

    // A fresh host and plug-in within one test, for tables of whole stories.
    void Restart(const std::string& settings = "") {
        for (const std::string& fault : sim::Faults()) ADD_FAILURE() << "host: " << fault;
        sim::Reset();
        std::remove("Velquorin.ini");  // the test's own directory, reused
        Start(settings);
    }

    // A short press, long after the last one, so every interval has run out.
    void Press(uint32_t key) {
        sim::AdvanceClock(1000);
        sim::TapKey(key);
    }

    // Held for that many frames, then let go.
    void Hold(uint32_t key, int frames) {
        sim::KeyDown(key);
        sim::RunFrames(frames);
        sim::KeyUp(key);
    }

    sim::Vec3 CabOf(int train) {
        const sim::Entity& t = sim::Get(train);
        return drive::Plus(t.position, t.model == "freight" ? drive::FreightCab : drive::MetroCab);
    }

    // Walks up to the cab of this train, the only one the game lists as near,
    // and presses the enter/exit key. True when the player sits in its seat.
    bool Board(int train) {
        sim::SetNearbyList({train});
        sim::PlacePlayer(CabOf(train));
        Press(vk::F);
        return sim::Get(train).driver == sim::Player();
    }

    // The value the train was given this frame; NaN when it was given none.
    float SentThisFrame(int train) {
        float value = std::numeric_limits<float>::quiet_NaN();
        int count = 0;
        for (const sim::NativeCall& call : sim::CallsTo("ApplyTrainSpeed"))
            if (call.ArgInt(0) == train) {
                value = call.ArgFloat(1);
                ++count;
            }
        EXPECT_LE(count, 1) << "a train is given one speed per frame";
        return value;
    }

    std::vector<std::string> Panel() { return sim::PanelLines(); }
};
