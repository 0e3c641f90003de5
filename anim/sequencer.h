// The per-state frame sequences and the one-step animation advance.
#pragma once

#include <windows.h>

#include "app/state.h"

struct FrameSequence {
    const int* frames;
    UINT length;
};

// Indexed by AnimState - 1, like the cursors.
extern const FrameSequence frameSequence[kAnimStateCount];

// The breezeTicks value at which a breeze of each length code 0 to 5 ends;
// code 6 (kNoBreeze) never ends.
extern const int breezeEndStep[kNoBreeze];

// Entry of state s's sequence at a cursor (taken modulo the length).
int SequenceFrame(UINT s, UINT cursor);

void StepAnimation();

// Switches the current state to its breeze variant and starts counting;
// false (and nothing changed) when the state has none. Draws no length and
// plays no sound: the callers do that.
bool StartBreeze();
