// The line on foot that tells the player what the enter/exit key would do
// where they stand, and why a press of it boarded nothing.
#pragma once
#include "driving/drive_state.h"

// Whether this pass should look for a train to board for the line: on
// foot, with the panel not hidden, and more than 250 ms since the last
// look (at once on the first pass on foot).
bool BoardingHintWantsLook();
// What that look found stands until the next.
void TakeBoardingLook(const BoardingLook& look);
// Once per pass while show_hints is on: on foot it draws what the last look
// found, or the reason after a press; while driving it forgets, so the
// first pass on foot looks at once.
void ShowBoardingHint();
// Each press of the enter/exit key: one that boarded nothing has its reason
// drawn for 3 s, and what it found stands for the next look.
void NoteEnterExitPress(const EnterExitOutcome& outcome);
// After a game reload nothing the old world showed stays on the screen.
void ForgetBoardingHint();
// Whether the line on foot now says the enter/exit key boards here
// ("Press F to drive"); false with show_hints off.
bool HintSaysEnterExitBoardsHere();

// The texts: the line on foot ("" when there is nothing to say), the
// reason after a press ("" when there is none to give), and the line drawn
// at the panel's place.
void FormatOnFootHint(char (&line)[100], const BoardingLook& look);
void FormatRefusalReason(char (&line)[100], const BoardingLook& look);
void DrawHintLine(const char* line);
