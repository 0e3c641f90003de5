// The info panel window: its procedure, off-screen canvas and font.
#pragma once

#include <windows.h>

constexpr int kPanelWidth = 160;
constexpr int kPanelHeight = 60;

void InitInfoCanvas();
void CreateInfoFont();
LRESULT CALLBACK InfoWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
