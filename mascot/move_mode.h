// Move mode: while it is on, the left button drags the figure, the moving
// pose shows and the panel stays hidden.
#pragma once

#include <windows.h>

void ToggleMoveMode(HWND window);

// The panel takes up its place beside her, at its size at the current scale.
void PlacePanelBesideMascot(HWND window);
