// Where the mascot window starts: a keyword of the settings file selects a
// formula over the desktop work area; any other value is a pixel position.
#pragma once

#include <windows.h>

#include "app/scale.h"

// Her window's size at 96 DPI; MascotSize() at the current scale. Every
// place below is in screen pixels, with her size and the panel's offset at
// the current scale.
constexpr int kMascotSize = 80;

RECT ReadWorkArea();

// The "Default" place: bottom right of the work area, a tenth of its width
// in from the right.
POINT DefaultPlace(const RECT& work);

// The x or y that keyword text selects over the work area, or false when the
// text is no keyword (exact, case-sensitive match).
bool KeywordX(const char* text, const RECT& work, int* x);
bool KeywordY(const char* text, const RECT& work, int* y);

// The panel's place beside a mascot at (x, y): 120 pixels left of it and 20
// lower, as laid out. A position comes unchecked from the settings file and
// may lie near the ends of the int range, so the offsets wrap around as
// 32-bit machine arithmetic does instead of overflowing.
inline POINT PanelPlace(int x, int y) {
    const unsigned left = static_cast<unsigned>(ScaledLength(120));
    const unsigned down = static_cast<unsigned>(ScaledLength(20));
    return POINT{static_cast<LONG>(static_cast<int>(static_cast<unsigned>(x) - left)),
                 static_cast<LONG>(static_cast<int>(static_cast<unsigned>(y) + down))};
}

// Where the panel stands beside a mascot at (x, y): PanelPlace wherever it
// fits in the work area of the monitor nearest to her. Where it would be cut
// off there (her feet over the taskbar, an edge or a corner, partly off the
// monitor), it stands wholly inside that work area beside her, clear of her
// figure where there is room, so that its clock can be read and a click can
// reach it.
POINT PanelPlaceBeside(int x, int y);

// The start position read from the settings file: a keyword's place, or
// the number stored, which is in logical pixels.
int StartX();
int StartY();

// Where the mascot starts: the position read from the settings file, unless
// no monitor would show any part of her window there (a monitor unplugged, a
// resolution lowered, a hand edit); then the "Default" place, for this start
// only. The settings file keeps what it says.
POINT StartPlace();
