// Where the mascot window starts: a keyword of the settings file selects a
// formula over the desktop work area; any other value is a pixel position.
#pragma once

#include <windows.h>

constexpr int kMascotSize = 80;

RECT ReadWorkArea();

// The x or y that keyword text selects over the work area, or false when the
// text is no keyword (exact, case-sensitive match).
bool KeywordX(const char* text, const RECT& work, int* x);
bool KeywordY(const char* text, const RECT& work, int* y);

// The start position read from the settings file.
int StartX();
int StartY();
