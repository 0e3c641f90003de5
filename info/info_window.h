// The info panel window: its procedure, off-screen canvas and font.
#pragma once

#include <windows.h>

#include "app/scale.h"

// The panel's size as laid out, and at the current scale.
constexpr int kPanelWidth = 160;
constexpr int kPanelHeight = 60;
inline int PanelWidth() { return ScaledLength(kPanelWidth); }
inline int PanelHeight() { return ScaledLength(kPanelHeight); }

void InitInfoCanvas();
void CreateInfoFont();

// The panel's font, canvas and background at the current scale; whoever
// changes the scale places the panel at its new size.
void RescaleInfoPanel();
LRESULT CALLBACK InfoWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
