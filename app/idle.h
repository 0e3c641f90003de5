// The idle work of the message loop, paced in ticks of at least 100 ms.
#pragma once

#include <windows.h>

void IdleTick();

// While a menu, a dialog box, a message box or a drag runs its own message
// loop, the program's loop and with it the idle work stand still: the clock
// on the panel, the alarm, the breeze. A timer of the mascot window carries
// the ticks on meanwhile (ModalTick on its WM_TIMER); the program's own loop
// stops it when it runs again.
constexpr UINT_PTR kModalTickTimer = 2; // any number but 0 names the window's one timer
void StartModalTicks(HWND window);
void ModalTick();
