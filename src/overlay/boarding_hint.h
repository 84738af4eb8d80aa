// The line on foot that tells the player what the enter/exit key would do
// where they stand, and why a press of it boarded nothing.
#pragma once
#include "driving/drive_state.h"

// Once per pass while show_hints is on: on foot it looks again when more
// than 250 ms have passed since the last look and draws what that found;
// while driving it forgets, so the first pass on foot looks at once.
void ShowBoardingHint();
// A press that boarded nothing: its reason is drawn for 3 s, and what it
// found stands for the next look.
void NoteRefusedBoarding(const BoardingLook& look);
// After a game reload nothing the old world showed stays on the screen.
void ForgetBoardingHint();
// Whether the line on foot now says the enter/exit key boards here
// ("Press F to drive"); false with show_hints off.
bool HintSaysEnterExitBoardsHere();

// The texts: the line on foot ("" when there is nothing to say), the
// reason after a press, and the line drawn at the panel's place.
void FormatOnFootHint(char (&line)[100], const BoardingLook& look);
void FormatRefusalReason(char (&line)[100], const BoardingLook& look);
void DrawHintLine(const char* line);
