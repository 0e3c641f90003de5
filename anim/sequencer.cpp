#include "anim/sequencer.h"

void StepAnimation() {}

bool StartBreeze() { return false; }
