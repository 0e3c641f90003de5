#include "mascot/move_mode.h"

#include "anim/sequencer.h"
#include "app/state.h"
#include "info/info_window.h"
#include "mascot/start_position.h"
#include "res/resource.h"

namespace {

constexpr UINT kAnimationSubmenu = 4; // "アニメを変更(&S)" in the popup

void EnterMoveMode(HWND window) {
    EnableMenuItem(gMascot.popupMenu, kAnimationSubmenu, MF_BYPOSITION | MF_GRAYED);
    CheckMenuItem(gMascot.menuBar, IDM_MOVE, MF_BYCOMMAND | MF_CHECKED);
    if (gMascot.flags.infoShown == 1) {
        // Hidden for the drag only: the user's choice and the file stay as
        // they are.
        BringWindowToTop(window);
        ShowWindow(gMascot.infoWindow, SW_HIDE);
    }
    gMascot.saved.savedState = static_cast<int>(gMascot.state);
    gMascot.flags.moveMode = 1;
    StopSoundUnlessAlarm();
    // resumeState and the breeze fields stay: a breeze state that comes back
    // afterwards starts its breeze anew from breezeTicks 0.
    gMascot.breezeTicks = 0;
    gMascot.state = Moving;
    StepAnimation(); // the moving pose shows at once
}

void LeaveMoveMode(HWND window) {
    PlacePanelBesideMascot(window);
    CheckMenuItem(gMascot.menuBar, IDM_MOVE, MF_BYCOMMAND | MF_UNCHECKED);
    EnableMenuItem(gMascot.popupMenu, kAnimationSubmenu, MF_BYPOSITION | MF_ENABLED);
    if (gMascot.flags.infoShown == 1) {
        ShowWindow(gMascot.infoWindow, SW_SHOW);
        BringWindowToTop(window);
    }
    gMascot.state = static_cast<UINT>(gMascot.saved.savedState);
    gMascot.flags.moveMode = 0;
    // Primed like a return from the alarm, but resumeState and breezeTicks
    // are left alone.
    PrimeCursor(gMascot.state, PrimeAll);
    StepAnimation();
}

} // namespace

void PlacePanelBesideMascot(HWND window) {
    // The call needs the record's length; it fills in all the rest.
    WINDOWPLACEMENT placement{sizeof(WINDOWPLACEMENT), 0, 0, {}, {}, {}};
    if (!GetWindowPlacement(window, &placement))
        return;
    const POINT panel =
        PanelPlaceBeside(placement.rcNormalPosition.left, placement.rcNormalPosition.top);
    MoveWindow(gMascot.infoWindow, panel.x, panel.y, PanelWidth(), PanelHeight(), TRUE);
}

void ToggleMoveMode(HWND window) {
    if (gMascot.flags.moveMode == 0)
        EnterMoveMode(window);
    else
        LeaveMoveMode(window);
}
