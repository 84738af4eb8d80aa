// The plug-in's one flow of control, run by the host on its script fiber.
#pragma once

void ScriptMain();

// One frame's work, guarded: nothing thrown inside it reaches the host.
void RunFramePass();

// What the start and the reload chord do: load the settings, then tell the
// log, and post the error or put the panel at preset 0.
void LoadSettingsAndPlacePanel();

// False until ScriptMain first starts in this load of the library.
extern bool ScriptStartedBefore;
