// The plug-in's one flow of control, run by the host on its script fiber.
#pragma once

void ScriptMain();

// One frame's work, guarded: nothing thrown inside it reaches the host.
void RunFramePass();

// False until ScriptMain first starts in this load of the library.
extern bool ScriptStartedBefore;
