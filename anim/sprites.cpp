#include "anim/sprites.h"

#include "app/state.h"

void LoadSprites(HWND) { gMascot.currentFrame = 0; }

HRGN RegionFromBitmap(HBITMAP) { return nullptr; }

void DrawFrame() {}

void ApplySpriteRegion(HWND, int, BOOL) {}

void FreeSprites(HWND) {}
