// The context menu's commands, the mouse on the figure and the notification
// icon.
#include "mascot/mascot_window.h"

#include <windowsx.h>

#include <initializer_list>

#include "alarm/alarm_dialog.h"
#include "anim/random.h"
#include "anim/sequencer.h"
#include "app/state.h"
#include "mascot/move_mode.h"
#include "res/resource.h"
#include "settings/settings.h"

namespace {

void SetCheck(UINT id, bool checked) {
    CheckMenuItem(gMascot.menuBar, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

// A value of 2 or 3 from the settings file is neither on nor off, and the
// command then leaves everything as it is.
void ToggleOnTop(HWND window) {
    if (gMascot.flags.onTop == 1) {
        SetBothTopmost(window, HWND_NOTOPMOST);
        SetCheck(IDM_ON_TOP, false);
        WriteSetting(kSectionOption, kKeyOnTop, "0");
        gMascot.flags.onTop = 0;
    } else if (gMascot.flags.onTop == 0) {
        SetBothTopmost(window, HWND_TOPMOST);
        SetCheck(IDM_ON_TOP, true);
        WriteSetting(kSectionOption, kKeyOnTop, "1");
        gMascot.flags.onTop = 1;
    }
}

// Shows the panel and keeps the mascot in front of it, where the two overlap.
void ShowPanel(HWND window) {
    ShowWindow(gMascot.infoWindow, SW_SHOW);
    BringWindowToTop(window);
}

void MarkPanelShown() {
    SetCheck(IDM_INFO, true);
    WriteSetting(kSectionOption, kKeyInfoWindow, "1");
    gMascot.flags.infoShown = 1;
}

void ToggleInfoPanel(HWND window) {
    if (gMascot.flags.infoShown == 1) {
        BringWindowToTop(window);
        ShowWindow(gMascot.infoWindow, SW_HIDE);
        SetCheck(IDM_INFO, false);
        WriteSetting(kSectionOption, kKeyInfoWindow, "0");
        gMascot.flags.infoShown = 0;
        return;
    }
    // In move mode the panel waits until the mode ends.
    if (gMascot.flags.moveMode == 0)
        ShowPanel(window);
    MarkPanelShown();
}

// The same cycle as a left click on the panel. Only pages 0 to 2 exist, so
// any other value starts again at the clock page.
void NextInfoPage() {
    const int page = gMascot.flags.infoPage;
    gMascot.flags.infoPage = page == 0 ? 1 : page == 1 ? 2 : 0;
}

// The animation choices ignore the lock and leave a ringing alarm sounding.
void ChooseAnimation(UINT s) {
    StopSoundUnlessAlarm();
    PrimeCursor(s, PrimeAll);
    EnterState(s);
}

// Where no breeze can start (a breeze already blowing, 移動中, the lead-in)
// nothing changes: stopping the sound there would leave a breeze blowing
// without its wind chime. A breeze that starts, or starts over in 団扇,
// starts its sound anew at its first step.
void Breeze() {
    if (!StartBreeze())
        return;
    StopSoundUnlessAlarm();
    gMascot.flags.breezeLength = RandomBelow(4);
}

void ToggleLock() {
    const bool lock = gMascot.flags.animLock != 1;
    SetCheck(IDM_LOCK, lock);
    gMascot.flags.animLock = lock ? 1 : 0;
}

// One alarm dialog at a time (the notification icon's menu still opens while
// one is open): the OK of a second would write its stale values over what
// the first has just stored.
void OpenAlarmDialog(HWND window) {
    if (gMascot.alarmDialog != nullptr) {
        SetForegroundWindow(gMascot.alarmDialog);
        return;
    }
    DialogBoxParamA(gMascot.instance, MAKEINTRESOURCEA(IDD_ALARM), window, AlarmDlgProc, 0);
}

void OpenMenuAt(HWND window, POINT screen) {
    SetForegroundWindow(window);
    TrackPopupMenu(gMascot.popupMenu, TPM_RIGHTBUTTON, screen.x, screen.y, 0, window, nullptr);
    // Lets the menu close properly when the user clicks elsewhere.
    PostMessageA(window, WM_NULL, 0, 0);
}

} // namespace

void ExitProgram(HWND window) {
    // The panel goes first; the mascot's destroy handler then ends the loop.
    DestroyWindow(gMascot.infoWindow);
    DestroyWindow(window);
}

void SetBothTopmost(HWND window, HWND after) {
    for (HWND each : {gMascot.infoWindow, window}) // the panel first
        SetWindowPos(each, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    const WORD id = LOWORD(wParam);
    switch (id) {
    case IDM_EXIT: ExitProgram(window); break;
    case IDM_MOVE: ToggleMoveMode(window); break;
    case IDM_ON_TOP: ToggleOnTop(window); break;
    case IDM_ALARM: OpenAlarmDialog(window); break;
    case IDM_INFO: ToggleInfoPanel(window); break;
    case IDM_NEXT_PAGE: NextInfoPage(); break;
    case IDM_READING: ChooseAnimation(Reading); break;
    case IDM_FANNING: ChooseAnimation(Fanning); break;
    case IDM_DOZING: ChooseAnimation(Dozing); break;
    case IDM_LOOKING_AROUND: ChooseAnimation(LookingAround); break;
    case IDM_MOVING: ChooseAnimation(Moving); break;
    case IDM_BREEZE: Breeze(); break;
    case IDM_LOCK: ToggleLock(); break;
    default: return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
    }
    return 0;
}

void OnLeftButton(HWND window, LPARAM lParam) {
    if (gMascot.flags.moveMode == 1) {
        // The system then drags the window as if its caption were held.
        PostMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
        return;
    }
    // Asks the window, not infoShown: in effect only when the panel is hidden.
    if (!IsWindowVisible(gMascot.infoWindow)) {
        ShowPanel(window);
        MarkPanelShown();
    }
}

void OnRightButton(HWND window, LPARAM lParam) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window, &point);
    OpenMenuAt(window, point); // at the click point
}

void OnTrayNotify(HWND window, LPARAM lParam) {
    switch (lParam) {
    case WM_LBUTTONDOWN:
        SetForegroundWindow(gMascot.infoWindow);
        SetForegroundWindow(window);
        break;
    case WM_RBUTTONDOWN: ShowPopupMenu(window); break;
    default: break;
    }
}

void ShowPopupMenu(HWND window) {
    POINT cursor{};
    GetCursorPos(&cursor);
    OpenMenuAt(window, cursor);
}
