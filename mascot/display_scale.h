// Her window and the panel at the scale of the monitor she stands on
// (app/scale.h), taken at start and whenever Windows tells of a new DPI:
// she is moved to another monitor, dragged there in move mode, or the user
// changes the display settings.
#pragma once

#include <windows.h>

// Makes scale the current one: her shapes and the panel's font, size and
// canvas are made anew for it. Nothing happens when it already is.
void ApplyScale(HWND window, int scale);

// WM_GETDPISCALEDSIZE: her size at the new DPI is its scale's, not her size
// grown in proportion to the DPI.
LRESULT OnGetDpiScaledSize(WPARAM dpi, LPARAM size);

// WM_DPICHANGED: she and the panel take the new scale at once, she where
// Windows suggests, the panel beside her.
void OnDpiChanged(HWND window, WPARAM dpi, LPARAM suggested);

// Moves her to her start place, the top-left corner the settings ask for; on
// a monitor of another scale than the one she was made on she takes its
// scale there. The panel stands beside her.
void MoveToStart(HWND window, POINT start);
