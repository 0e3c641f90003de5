// The two window classes of the program.
#pragma once

#include <windows.h>

constexpr const char* kMascotClass = "TAMARIN MASCOT1";
constexpr const char* kPanelClass = "ChdClass";

void RegisterWindowClasses(HINSTANCE instance);

// Creates the hidden mascot window at (x, y); its creation handler builds
// everything else the program needs before its first tick.
HWND CreateMascotWindow(HINSTANCE instance, int x, int y);

// Shows the mascot the way the program's starter asked (showCommand, from
// WinMain), except that she only ever shows normally: 80 by 80 at her place,
// shaped, with the panel as it was created.
void ShowMascotWindows(int showCommand);
