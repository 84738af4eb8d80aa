// The frames a player meets, each set up through the simulated host and
// then run one pass at a time with tracing off.
#pragma once
#include <cstddef>

enum class Scene {
    Idle,
    Common,
    Console0,
    Console10,
    Console1000,
    Console100000,
    Busiest,
    Boarding0,
    Boarding3,
    Boarding9,
    Reload,
    HintLook,
    HintLine,
    CommonPad,
};

struct SceneInfo {
    Scene scene;
    const char* name;   // for the command line and the tables
    const char* title;  // for the tables
    bool timedSingly;   // each pass timed alone, with untimed steps between passes
};
extern const SceneInfo Scenes[14];
const SceneInfo* FindScene(const char* name);

// Once per process: a fresh working directory holding the sample settings,
// and its removal at the end.
void PrepareWorkingDirectory();
void RemoveWorkingDirectory();

// Loads the plug-in and brings it to the scene's steady frame.
void SetUpScene(Scene scene);
// One pass of the plug-in's frame loop as the scene runs it.
void RunPass(Scene scene);
// What puts a timed-singly scene back where its next pass starts.
void BetweenPasses(Scene scene);

// The floor: records one pass, then swaps the plug-in for a script that
// issues the same natives with the same arguments and nothing else.
void SwitchToFloor(Scene scene);
void RunFloorPass(Scene scene);
size_t FloorNatives();

// Back to an empty host with no plug-in and no script fiber.
void TearDownScene();
