// The per-state frame sequences and the one-step animation advance.
#pragma once

void StepAnimation();
bool StartBreeze();
