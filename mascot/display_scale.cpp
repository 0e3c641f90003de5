#include "mascot/display_scale.h"

#include "anim/sprites.h"
#include "app/scale.h"
#include "app/state.h"
#include "info/info_window.h"
#include "mascot/move_mode.h"

namespace {

// Windows suggests her place at the new DPI. Where it could not ask for her
// size (Windows 8.1 to 10 1607 send no WM_GETDPISCALEDSIZE) the suggestion
// is her window grown in proportion to the DPI; she then takes the place
// that keeps the pointer where it was on her, so that a drag goes on holding
// her.
POINT PlaceInSuggested(const RECT& suggested) {
    const int size = MascotSize();
    const int width = suggested.right - suggested.left;
    const int height = suggested.bottom - suggested.top;
    POINT cursor{};
    if ((width == size && height == size) || width <= 0 || height <= 0 || !GetCursorPos(&cursor) ||
        !PtInRect(&suggested, cursor))
        return POINT{suggested.left, suggested.top};
    return POINT{cursor.x - MulDiv(cursor.x - suggested.left, size, width),
                 cursor.y - MulDiv(cursor.y - suggested.top, size, height)};
}

} // namespace

void ApplyScale(HWND window, int scale) {
    if (scale == CurrentScale())
        return;
    gMascot.scale = scale;
    RescaleSprites(window);
    RescaleInfoPanel();
}

LRESULT OnGetDpiScaledSize(WPARAM dpi, LPARAM size) {
    SIZE& scaled = *reinterpret_cast<SIZE*>(size);
    scaled.cx = MascotSizeForDpi(LOWORD(dpi));
    scaled.cy = scaled.cx;
    return TRUE;
}

void OnDpiChanged(HWND window, WPARAM dpi, LPARAM suggested) {
    ApplyScale(window, ScaleForDpi(LOWORD(dpi)));
    const POINT at = PlaceInSuggested(*reinterpret_cast<const RECT*>(suggested));
    SetWindowPos(window, nullptr, at.x, at.y, MascotSize(), MascotSize(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    DrawFrame();
    // In move mode the panel is hidden and takes its place when the mode ends.
    if (gMascot.flags.moveMode == 0)
        PlacePanelBesideMascot(window);
}

void TakeScaleAtStart(HWND window, POINT start) {
    ApplyScale(window, ScaleForDpi(WindowDpi(window)));
    RECT now{};
    GetWindowRect(window, &now);
    if (now.left == start.x && now.top == start.y && now.right - now.left == MascotSize())
        return;
    MoveWindow(window, start.x, start.y, MascotSize(), MascotSize(), TRUE);
    PlacePanelBesideMascot(window);
}
