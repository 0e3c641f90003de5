// The context menu's commands, the mouse on the figure and the notification
// icon.
#include "mascot/mascot_window.h"

#include "app/state.h"
#include "res/resource.h"

namespace {

void ExitProgram(HWND window) {
    // The panel goes first; the mascot's destroy handler then ends the loop.
    DestroyWindow(gMascot.infoWindow);
    DestroyWindow(window);
}

} // namespace

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    const WORD id = LOWORD(wParam);
    switch (id) {
    case IDM_EXIT: ExitProgram(window); return 0;
    default: return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
    }
}

void OnLeftButton(HWND, LPARAM) {}

void OnRightButton(HWND, LPARAM) {}

void OnTrayNotify(HWND, LPARAM) {}

void ShowPopupMenu(HWND) {}
