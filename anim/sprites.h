// The 26 sprite frames, their window shapes, and painting the current one.
#pragma once

#include <windows.h>

void LoadSprites(HWND window);
HRGN RegionFromBitmap(HBITMAP bitmap);
void DrawFrame();
void ApplySpriteRegion(HWND window, int frame, BOOL repaint);
void FreeSprites(HWND window);
