// Entry point: the single-instance guard, the two window classes, the mascot
// window and the one message loop of the process.
#include <windows.h>

#include "app/idle.h"
#include "app/platform.h"
#include "app/restart.h"
#include "app/shift_jis.h"
#include "app/state.h"
#include "app/window_classes.h"
#include "info/info_window.h"
#include "mascot/start_position.h"

namespace {

// True when another copy already runs; the mutex then stays with the first.
bool AnotherCopyRuns() {
    CreateMutexA(nullptr, FALSE, kMascotClass); // held for the life of the process
    return GetLastError() == ERROR_ALREADY_EXISTS;
}

// The message loop never blocks: when the queue is empty it does the idle
// work, which sleeps between ticks.
int RunMessageLoop() {
    MSG message;
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (GetMessageA(&message, nullptr, 0, 0) == 0)
                return static_cast<int>(message.wParam);
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else {
            IdleTick();
        }
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    BindSystemLibraries(); // before anything could load a library from the program's folder
    ReturnToTheFolderOfARestart();
    if (AnotherCopyRuns()) {
        ShowMessage(gMascot.mainWindow, "選択されたプログラムは\n既に実行されています。",
                    "多重起動（デスクトップマスコット）", MB_ICONWARNING);
        return 0;
    }
    AskToBeRestartedAfterUpdates(); // a copy Windows starts again meets the guard above
    RegisterWindowClasses(instance);
    const POINT place = DefaultPlace(ReadWorkArea());
    gMascot.instance = instance;

    gMascot.mainWindow = CreateMascotWindow(instance, place.x, place.y);
    if (gMascot.mainWindow == nullptr)
        return 0;
    ShowMascotWindows(showCommand);
    UpdateWindow(gMascot.mainWindow);
    gMascot.infoWindowDC = GetDC(gMascot.infoWindow); // kept until the process ends
    InitInfoCanvas();
    return RunMessageLoop();
}
