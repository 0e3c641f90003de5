// Frame shapes against the pixels, shape hand-over, and GDI leaks.
#include <gtest/gtest.h>

#include <vector>

#include "anim/sequencer.h"
#include "anim/sprites.h"
#include "app/window_classes.h"
#include "support/test_env.h"

namespace {

// Wine hands out freed GDI slots first: fill the table but for a headroom,
// run the work, and count the slots it left taken.
template <typename Work> int GdiObjectsLeftBehind(Work work) {
    std::vector<HRGN> taken;
    for (HRGN r; (r = CreateRectRgn(0, 0, 1, 1)) != nullptr;)
        taken.push_back(r);
    for (int i = 0; i < 40; ++i, taken.pop_back())
        DeleteObject(taken.back());
    work();
    int free = 0;
    for (HRGN r; (r = CreateRectRgn(0, 0, 1, 1)) != nullptr; ++free)
        taken.push_back(r);
    for (HRGN r : taken)
        DeleteObject(r);
    return 40 - free;
}

// Window pixels whose membership in the region disagrees with "the bitmap
// pixel under it is not the top-left colour".
int Mismatches(HRGN region, const DWORD* pixels, int w, int h) {
    int wrong = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) {
            const bool figure = x < 2 * w && y < 2 * h && pixels[y / 2 * w + x / 2] != pixels[0];
            wrong += (PtInRegion(region, x, y) != FALSE) != figure;
        }
    return wrong;
}

// Figure pixels of the current frame that the window does not show.
int FramePixelsNotShown(HWND window) {
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, gMascot.spriteBitmaps[gMascot.currentFrame]);
    int wrong = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            wrong += GetPixel(memory, x, y) != GetPixel(memory, 0, 0) &&
                     GetPixel(screen, 2 * x + 1, 2 * y + 1) != GetPixel(memory, x, y);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return wrong;
}

class SpritesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProgram();
        gMascot.mainWindow = window =
            CreateWindowExA(WS_EX_TOOLWINDOW, kMascotClass, nullptr, WS_POPUP, 0, 0, 80, 80,
                            nullptr, nullptr, gMascot.instance, nullptr);
    }
    void TearDown() override {
        DestroyWindow(gMascot.infoWindow);
        DestroyWindow(window);
        PumpMessages();
    }
    bool ShapeIs(HRGN expected) {
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        const bool same = GetWindowRgn(window, shape) != ERROR && EqualRgn(shape, expected);
        DeleteObject(shape);
        return same;
    }
    HWND window = nullptr;
};

} // namespace

TEST_F(SpritesTest, RegionIsExactlyTheNonKeyPixelsDoubled) {
    std::vector<DWORD> pixels(40 * 40);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 40, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> resource(40 * 40);
    HDC screen = GetDC(nullptr);
    for (int frame = 0; frame < kFrameCount; ++frame) {
        ASSERT_EQ(GetDIBits(screen, gMascot.spriteBitmaps[frame], 0, 40, pixels.data(), &info,
                            DIB_RGB_COLORS),
                  40);
        EXPECT_EQ(Mismatches(gMascot.spriteRegions[frame], pixels.data(), 40, 40), 0) << frame;
        // Frame n is BITMAP 130 + n.
        HBITMAP bitmap = LoadBitmapA(gMascot.instance, MAKEINTRESOURCEA(130 + frame));
        GetDIBits(screen, bitmap, 0, 40, resource.data(), &info, DIB_RGB_COLORS);
        DeleteObject(bitmap);
        EXPECT_EQ(pixels, resource) << frame;
    }
    ReleaseDC(nullptr, screen);
    // A small bitmap keyed green: a figure pixel under the key, an empty row,
    // a run to the right edge.
    const DWORD g = 0x00FF00, f = 0x102030;
    const DWORD bits[] = {g, f, f, g, f, g, g, g, g, g, g, g, g, g, f, f};
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, bits);
    HRGN region = RegionFromBitmap(bitmap);
    EXPECT_EQ(Mismatches(region, bits, 4, 4), 0);
    DeleteObject(region);
    DeleteObject(bitmap);
    EXPECT_EQ(RegionFromBitmap(nullptr), nullptr);
}

TEST_F(SpritesTest, WindowGetsAFreshCopyEachTimeAndNothingLeaks) {
    EXPECT_TRUE(ShapeIs(gMascot.spriteRegions[0])); // shaped at creation
    ApplySpriteRegion(window, 9, TRUE);
    ApplySpriteRegion(window, 9, TRUE); // the frame's own region is only copied
    EXPECT_TRUE(ShapeIs(gMascot.spriteRegions[9]));
    EXPECT_EQ(GetPropA(window, "region"), gMascot.windowRegion);
    // The system's own paint, even after the step that drew her, shows her
    // frame: never the class's white.
    ShowWindow(window, SW_SHOWNOACTIVATE);
    StepAnimation(); // the window's device context is made on first use
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    EXPECT_EQ(FramePixelsNotShown(window), 0);
    EXPECT_EQ(GdiObjectsLeftBehind([] {
                  for (int i = 0; i < 60; ++i) {
                      gMascot.state = i < 30 ? Reading : ReadingBreeze;
                      DrawFrame();
                      StepAnimation();
                  }
              }),
              0);
    EXPECT_EQ(GdiObjectsLeftBehind([this] {
                  FreeSprites(window);
                  LoadSprites(window);
              }),
              0);
    // A refused shape was never handed over, so it is ours to free.
    EXPECT_EQ(GdiObjectsLeftBehind([] { ApplySpriteRegion(nullptr, 4, TRUE); }), 0);
    FreeSprites(window);
    EXPECT_EQ(GetPropA(window, "region"), nullptr);
}
