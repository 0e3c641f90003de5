// The behaviour chooser: what the mascot does by itself, by the hour.
#pragma once

#include <windows.h>

enum class HourBand { Night, Day, Afternoon };

// Night 0-4 and 22-23, afternoon 13-15, day the rest.
HourBand BandOfHour(WORD hour);

// The breeze length code for a draw r of RandomBelow(24) at the hour, or
// kNoBreeze when the draw brings none.
int BreezeLengthFor(int r, WORD hour);

// Called on every second tick; acts on every 118th call while the animation
// is neither fixed nor in move mode.
void ChooseBehaviour();
