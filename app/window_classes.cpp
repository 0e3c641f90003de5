#include "app/window_classes.h"

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
                           kMascotSize, kMascotSize, nullptr, nullptr, instance, nullptr);
}
