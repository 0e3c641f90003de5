// The two window classes of the program.
#pragma once

#include <windows.h>

constexpr const char* kMascotClass = "TAMARIN MASCOT1";
constexpr const char* kPanelClass = "ChdClass";

void RegisterWindowClasses(HINSTANCE instance);

// Creates the hidden mascot window at (x, y); its creation handler builds
// everything else the program needs before its first tick.
HWND CreateMascotWindow(HINSTANCE instance, int x, int y);
