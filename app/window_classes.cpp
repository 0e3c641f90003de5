#include "app/window_classes.h"

#include "app/state.h"
#include "info/info_window.h"
#include "mascot/mascot_window.h"
#include "mascot/start_position.h"
#include "res/resource.h"

void RegisterWindowClasses(HINSTANCE instance) {
    WNDCLASSEXA mascot = {};
    mascot.cbSize = sizeof mascot;
    mascot.lpfnWndProc = MascotWndProc;
    mascot.hInstance = instance;
    mascot.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    mascot.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    mascot.lpszClassName = kMascotClass;
    RegisterClassExA(&mascot);

    WNDCLASSEXA panel = mascot;
    panel.lpfnWndProc = InfoWndProc;
    // Until the first tick copies the canvas, an exposed panel shows its
    // background picture through this brush.
    panel.hbrBackground = CreatePatternBrush(LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_PANEL)));
    panel.lpszClassName = kPanelClass;
    RegisterClassExA(&panel);
}

HWND CreateMascotWindow(HINSTANCE instance, int x, int y) {
    return CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kMascotClass, nullptr, WS_POPUP, x, y,
                           MascotSize(), MascotSize(), nullptr, nullptr, instance, nullptr);
}

namespace {

// A shortcut set to 最小化 or 最大化, "start /min" or "/max" ask for a state
// that an 80 by 80 figure without a taskbar button cannot come back from or
// has no use for: she shows as an ordinary start shows her.
int NormalShowCommand(int showCommand) {
    switch (showCommand) {
    case SW_SHOWMINIMIZED:
    case SW_SHOWMAXIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE: return SW_SHOWNORMAL;
    default: return showCommand;
    }
}

// Windows may show a program's first window as its starter asks whatever
// the program passes (the STARTUPINFO show command), and the first may be
// the panel, created visible: a window left minimized, maximized or hidden
// is shown normally.
void ShowNormally(HWND window) {
    if (IsIconic(window) || IsZoomed(window) || !IsWindowVisible(window))
        ShowWindow(window, SW_SHOWNORMAL);
}

} // namespace

void ShowMascotWindows(int showCommand) {
    if (gMascot.flags.infoShown == 1)
        ShowNormally(gMascot.infoWindow);
    ShowWindow(gMascot.mainWindow, NormalShowCommand(showCommand));
    ShowNormally(gMascot.mainWindow);
    // Shown without activation (SW_SHOWNA, SW_SHOWNOACTIVATE) she keeps her
    // place in the z-order, below the panel made after her.
    SetWindowPos(gMascot.mainWindow, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
