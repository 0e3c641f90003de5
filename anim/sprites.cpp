#include "anim/sprites.h"

#include "app/state.h"

namespace {

constexpr WORD kFrameIds[kFrameCount] = {130, 131, 132, 133, 134, 135, 136, 137, 138,
                                         139, 140, 141, 142, 143, 144, 145, 146, 147,
                                         148, 149, 150, 151, 152, 153, 154, 155};

// Unions one run of non-key pixels, enlarged, into the region.
void AddRun(HRGN region, int start, int end, int y, int scale) {
    HRGN run = CreateRectRgn(scale * start, scale * y, scale * end, scale * (y + 1));
    CombineRgn(region, region, run, RGN_OR);
    DeleteObject(run);
}

void ScanRows(HDC memory, int width, int height, int scale, HRGN region) {
    const COLORREF key = GetPixel(memory, 0, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (GetPixel(memory, x, y) == key)
                continue;
            const int start = x;
            while (x < width && GetPixel(memory, x, y) != key)
                ++x;
            // x is a key pixel, which the loop steps over, or the end.
            AddRun(region, start, x, y, scale);
        }
}

void DeleteRegions() {
    for (HRGN region : gMascot.spriteRegions)
        if (region != nullptr)
            DeleteObject(region);
}

} // namespace

void LoadSprites(HWND window) {
    for (int i = 0; i < kFrameCount; ++i) {
        gMascot.spriteBitmaps[i] = LoadBitmapA(gMascot.instance, MAKEINTRESOURCEA(kFrameIds[i]));
        gMascot.spriteRegions[i] = RegionFromBitmap(gMascot.spriteBitmaps[i], CurrentScale());
    }
    // The record starts zeroed: frame 0 is the current one.
    ApplySpriteRegion(window, gMascot.currentFrame, FALSE);
}

// Only the shapes of the scale in use are kept; she meets a new scale only
// on a move to another monitor or a change of the display settings, and
// making a set takes a moment. Whoever changes the scale paints her anew.
void RescaleSprites(HWND window) {
    DeleteRegions();
    for (int i = 0; i < kFrameCount; ++i)
        gMascot.spriteRegions[i] = RegionFromBitmap(gMascot.spriteBitmaps[i], CurrentScale());
    ApplySpriteRegion(window, gMascot.currentFrame, FALSE);
}

HRGN RegionFromBitmap(HBITMAP bitmap, int scale) {
    BITMAP info;
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0)
        return nullptr;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    ScanRows(memory, info.bmWidth, info.bmHeight, scale, region);
    SelectObject(memory, previous);
    DeleteDC(memory);
    return region;
}

void PaintFrame(HDC dc) {
    HBITMAP bitmap = gMascot.spriteBitmaps[gMascot.currentFrame];
    BITMAP info;
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0)
        return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    StretchBlt(dc, 0, 0, ArtToScreen(info.bmWidth), ArtToScreen(info.bmHeight), memory, 0, 0,
               info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

void DrawFrame() {
    // Without a window GetDC would hand out the whole screen.
    if (gMascot.mainWindow == nullptr)
        return;
    HDC windowDC = GetDC(gMascot.mainWindow);
    PaintFrame(windowDC);
    ReleaseDC(gMascot.mainWindow, windowDC);
}

void ApplySpriteRegion(HWND window, int frame, BOOL repaint) {
    // A frame without a region gives the window an empty shape: the mascot
    // is then invisible while that frame shows, which beats a rectangle of
    // key colour.
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    if (gMascot.spriteRegions[frame] != nullptr)
        CombineRgn(copy, gMascot.spriteRegions[frame], nullptr, RGN_COPY);
    // Once handed over, the region is the window's: the window system frees
    // it when it is replaced or the window goes. Only a refused hand-over
    // leaves it ours to free.
    if (SetWindowRgn(window, copy, repaint) == 0) {
        DeleteObject(copy);
        return;
    }
    gMascot.windowRegion = copy;
    SetPropA(window, kRegionProperty, copy);
}

void FreeSprites(HWND window) {
    for (HBITMAP bitmap : gMascot.spriteBitmaps)
        if (bitmap != nullptr)
            DeleteObject(bitmap);
    DeleteRegions();
    if (GetPropA(window, kRegionProperty) != nullptr)
        RemovePropA(window, kRegionProperty);
}
