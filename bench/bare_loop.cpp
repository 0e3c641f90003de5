// The least the mascot's loop can cost: the same 80x80 tool window and the
// same PeekMessage + Sleep(50) pacing, and nothing else. The idle benchmark
// measures the mascot against this program.
#include <windows.h>

namespace {

LRESULT CALLBACK BareWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == 102) { // the mascot's exit command
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = BareWndProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "BARE LOOP";
    RegisterClassExA(&windowClass);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "BARE LOOP", nullptr, WS_POPUP,
                                  work.right - 80 - work.right / 10, work.bottom - 80, 80, 80,
                                  nullptr, nullptr, instance, nullptr);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message;
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (GetMessageA(&message, nullptr, 0, 0) == 0)
                return static_cast<int>(message.wParam);
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else {
            Sleep(50);
        }
    }
}
