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
// her. At her own size that place is the suggested one.
POINT PlaceInSuggested(const RECT& suggested) {
    POINT cursor{};
    if (!GetCursorPos(&cursor) || !PtInRect(&suggested, cursor))
        return POINT{suggested.left, suggested.top};
    const int size = MascotSize();
    return POINT{
        cursor.x - MulDiv(cursor.x - suggested.left, size, suggested.right - suggested.left),
        cursor.y - MulDiv(cursor.y - suggested.top, size, suggested.bottom - suggested.top)};
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

// She is painted by the next tick, as after any change of her window.
void OnDpiChanged(HWND window, WPARAM dpi, LPARAM suggested) {
    ApplyScale(window, ScaleForDpi(LOWORD(dpi)));
    const POINT at = PlaceInSuggested(*reinterpret_cast<const RECT*>(suggested));
    SetWindowPos(window, nullptr, at.x, at.y, MascotSize(), MascotSize(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // In move mode the panel is hidden and takes its place when the mode ends.
    if (gMascot.flags.moveMode == 0)
        PlacePanelBesideMascot(window);
}

void MoveToStart(HWND window, POINT start) {
    MoveWindow(window, start.x, start.y, MascotSize(), MascotSize(), TRUE);
    ApplyScale(window, ScaleForDpi(WindowDpi(window)));
    MoveWindow(window, start.x, start.y, MascotSize(), MascotSize(), TRUE);
    PlacePanelBesideMascot(window);
}
