// Sprite shapes: the region of every embedded frame against its pixels, the
// scan's edge cases on small bitmaps, handing shapes to the window, and that
// neither the per-tick path nor loading and freeing leaks a GDI object.
#include <gtest/gtest.h>

#include <vector>

#include "anim/sequencer.h"
#include "anim/sprites.h"
#include "app/state.h"
#include "app/window_classes.h"
#include "support/test_env.h"

namespace {

// Free GDI handle slots, counted by filling the handle table with regions.
// Wine hands out freed slots first, so after FillGdiTable(n) exactly n slots
// are left and a leak of k objects leaves n - k.
std::vector<HRGN> FillGdiTable(size_t leaveFree) {
    std::vector<HRGN> taken;
    for (HRGN r; (r = CreateRectRgn(0, 0, 1, 1)) != nullptr;)
        taken.push_back(r);
    for (size_t i = 0; i < leaveFree && !taken.empty(); ++i) {
        DeleteObject(taken.back());
        taken.pop_back();
    }
    return taken;
}

template <typename Work> size_t GdiObjectsLeftBehind(Work work) {
    constexpr size_t kHeadroom = 40;
    std::vector<HRGN> taken = FillGdiTable(kHeadroom);
    work();
    std::vector<HRGN> rest = FillGdiTable(0);
    const size_t leaked = kHeadroom - rest.size();
    for (HRGN r : taken)
        DeleteObject(r);
    for (HRGN r : rest)
        DeleteObject(r);
    return leaked;
}

// A 32-bit bitmap from rows of characters: '.' is the top-left colour,
// anything else a figure pixel.
HBITMAP BitmapFromRows(const std::vector<const char*>& rows, COLORREF key) {
    const int h = static_cast<int>(rows.size());
    const int w = static_cast<int>(strlen(rows[0]));
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            SetPixel(memory, x, y, rows[y][x] == '.' ? key : RGB(10, 20, 30));
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

HRGN Rects(std::initializer_list<RECT> rects) {
    HRGN all = CreateRectRgn(0, 0, 0, 0);
    for (const RECT& r : rects) {
        HRGN one = CreateRectRgnIndirect(&r);
        CombineRgn(all, all, one, RGN_OR);
        DeleteObject(one);
    }
    return all;
}

bool ShapeIs(HWND window, HRGN expected) {
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    const bool same = GetWindowRgn(window, shape) != ERROR && EqualRgn(shape, expected);
    DeleteObject(shape);
    return same;
}

class SpritesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProgram();
        window = CreateWindowExA(WS_EX_TOOLWINDOW, kMascotClass, nullptr, WS_POPUP, 0, 0, 80, 80,
                                 nullptr, nullptr, gMascot.instance, nullptr);
        gMascot.mainWindow = window;
    }
    void TearDown() override {
        DestroyWindow(gMascot.infoWindow);
        DestroyWindow(window);
        PumpMessages();
    }
    HWND window = nullptr;
};

} // namespace

TEST_F(SpritesTest, EveryFrameRegionIsItsNonKeyPixelsDoubled) {
    for (int frame = 0; frame < kFrameCount; ++frame) {
        // Read the pixels another way than the scan does: as a top-down DIB.
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 40, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<DWORD> pixels(40 * 40);
        HDC screen = GetDC(nullptr);
        ASSERT_EQ(GetDIBits(screen, gMascot.spriteBitmaps[frame], 0, 40, pixels.data(), &info,
                            DIB_RGB_COLORS),
                  40);
        ReleaseDC(nullptr, screen);
        EXPECT_EQ(pixels[0] & 0xFFFFFF, 0xFF00FFu) << frame; // the art's key colour
        HRGN region = gMascot.spriteRegions[frame];
        ASSERT_NE(region, nullptr);
        int mismatches = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 80; ++x) {
                const bool figure = pixels[(y / 2) * 40 + x / 2] != pixels[0];
                mismatches += (PtInRegion(region, x, y) != FALSE) != figure;
            }
        EXPECT_EQ(mismatches, 0) << "frame " << frame;
        RECT box;
        GetRgnBox(region, &box);
        EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= 80 && box.bottom <= 80);
    }
}

TEST_F(SpritesTest, ScanTakesItsKeyFromTheTopLeftAndRunsToTheEdge) {
    // Green key; an empty row; a run reaching the right edge; single pixels.
    HBITMAP bitmap = BitmapFromRows({".XX.", "....", "X.XX", "..X."}, RGB(0, 255, 0));
    HRGN region = RegionFromBitmap(bitmap);
    HRGN expected = Rects({{2, 0, 6, 2}, {0, 4, 2, 6}, {4, 4, 8, 6}, {4, 6, 6, 8}});
    EXPECT_TRUE(EqualRgn(region, expected));
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    DeleteObject(expected);
    DeleteObject(region);
    DeleteObject(bitmap);
    EXPECT_EQ(RegionFromBitmap(nullptr), nullptr);
}

TEST_F(SpritesTest, WindowTakesFreshCopiesAndRecordsTheLastOne) {
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(ShapeIs(window, gMascot.spriteRegions[0])); // shaped at creation
    for (int pass = 0; pass < 2; ++pass) {
        ApplySpriteRegion(window, 9, TRUE);
        EXPECT_TRUE(ShapeIs(window, gMascot.spriteRegions[9]));
        EXPECT_NE(gMascot.windowRegion, gMascot.spriteRegions[9]); // a copy, not the frame's own
        EXPECT_EQ(gMascot.regionProperty, gMascot.windowRegion);
        EXPECT_EQ(GetPropA(window, "region"), gMascot.windowRegion);
    }
    EXPECT_NE(GetObjectType(gMascot.spriteRegions[9]), 0u);
    // A frame without a region leaves the window an empty shape.
    DeleteObject(gMascot.spriteRegions[3]);
    gMascot.spriteRegions[3] = nullptr;
    ApplySpriteRegion(window, 3, TRUE);
    HRGN empty = CreateRectRgn(0, 0, 0, 0);
    EXPECT_TRUE(ShapeIs(window, empty));
    DeleteObject(empty);
    FreeSprites(window);
    EXPECT_EQ(GetPropA(window, "region"), nullptr);
}

TEST_F(SpritesTest, NothingLeaksPerTickNorOnLoadingOrARefusedShape) {
    ASSERT_NE(window, nullptr);
    StepAnimation(); // the window's device context is made on first use
    gMascot.state = Reading;
    EXPECT_EQ(GdiObjectsLeftBehind([] {
                  for (int i = 0; i < 60; ++i) {
                      gMascot.state = i < 30 ? Reading : ReadingBreeze;
                      DrawFrame();
                      StepAnimation();
                  }
              }),
              0u);
    EXPECT_EQ(GdiObjectsLeftBehind([this] {
                  FreeSprites(window);
                  LoadSprites(window);
              }),
              0u);
    // A window that refuses the shape never took it: the copy is ours to free.
    const HRGN recorded = gMascot.windowRegion;
    EXPECT_EQ(GdiObjectsLeftBehind([] { ApplySpriteRegion(nullptr, 4, TRUE); }), 0u);
    EXPECT_EQ(gMascot.windowRegion, recorded);
}
