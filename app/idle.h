// The idle work of the message loop, paced in ticks of at least 100 ms.
#pragma once

void IdleTick();
