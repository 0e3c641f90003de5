// The 26 sprite frames, their window shapes, and painting the current one.
#pragma once

#include <windows.h>

#include "app/scale.h"

// Name of the window property that records the shape last handed over.
constexpr const char* kRegionProperty = "region";

void LoadSprites(HWND window);

// The non-key pixels of the bitmap, each as a scale x scale block in window
// coordinates; the key is the bitmap's own top-left pixel. The caller owns
// the result; none for a missing or unreadable bitmap.
HRGN RegionFromBitmap(HBITMAP bitmap, int scale = kDesignScale);

// The frames' shapes made anew at the current scale, the old ones released,
// and the window given the current frame's.
void RescaleSprites(HWND window);

// Paints the current frame at double size into dc, a device context of the
// mascot window: DrawFrame on every tick, the window's own paint between.
void PaintFrame(HDC dc);
void DrawFrame();
void ApplySpriteRegion(HWND window, int frame, BOOL repaint);
void FreeSprites(HWND window);
