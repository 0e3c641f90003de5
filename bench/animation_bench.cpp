// What the animation costs: building the 26 frame shapes against the whole
// creation of the mascot window (which includes them), and one tick's
// painting and shape change against the 100 ms tick. Prints ratios; the
// milliseconds beside them are only for orientation.
#include <windows.h>

#include <cstdio>

#include "anim/sequencer.h"
#include "anim/sprites.h"
#include "app/state.h"
#include "app/window_classes.h"
#include "bench/bench_timing.h"

namespace {

void BuildAllRegions() {
    for (int i = 0; i < kFrameCount; ++i) {
        HBITMAP bitmap = LoadBitmapA(gMascot.instance, MAKEINTRESOURCEA(130 + i));
        DeleteObject(RegionFromBitmap(bitmap));
        DeleteObject(bitmap);
    }
}

void CreateAndDestroyMascot() {
    gMascot.mainWindow = CreateMascotWindow(gMascot.instance, 0, 0);
    DestroyWindow(gMascot.infoWindow);
    DestroyWindow(gMascot.mainWindow);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

// Launch of the program until its window shows, then the exit command.
void StartProgram(const char* exe) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    char commandLine[MAX_PATH + 2];
    std::snprintf(commandLine, sizeof commandLine, "\"%s\"", exe);
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return;
    HWND window = nullptr;
    while ((window = FindWindowA(kMascotClass, nullptr)) == nullptr || !IsWindowVisible(window))
        Sleep(1);
    PostMessageA(window, WM_COMMAND, 102, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

void Report(const char* what, double part, const char* whole, double total) {
    std::printf("%-48s %6.3f  (%.3f ms / %.3f ms %s)\n", what, part / total, part, total, whole);
}

} // namespace

// With the path of mascot.exe as argument, the shapes are also set against
// the program's whole start-up.
int main(int argc, char** argv) {
    gMascot.instance = GetModuleHandleA(nullptr);
    RegisterWindowClasses(gMascot.instance);
    const double regions = MedianMs(9, BuildAllRegions);
    const double creation = MedianMs(9, CreateAndDestroyMascot);
    Report("26 frame shapes / mascot window creation", regions, "creation", creation);
    if (argc > 1) {
        const double program = MedianMs(3, [&] { StartProgram(argv[1]); });
        Report("26 frame shapes / program start until shown", regions, "start", program);
    }

    gMascot.mainWindow = CreateMascotWindow(gMascot.instance, 0, 0);
    ShowWindow(gMascot.mainWindow, SW_SHOWNOACTIVATE);
    const double paint = MedianMs(200, DrawFrame);
    const double shape = MedianMs(200, [] { ApplySpriteRegion(gMascot.mainWindow, 9, TRUE); });
    gMascot.state = Fanning; // a new frame and shape on every step
    const double step = MedianMs(200, StepAnimation);
    Report("frame painting / 100 ms tick", paint, "tick", 100.0);
    Report("shape change / 100 ms tick", shape, "tick", 100.0);
    Report("animation step with a new shape / 100 ms tick", step, "tick", 100.0);
    DestroyWindow(gMascot.infoWindow);
    DestroyWindow(gMascot.mainWindow);
    return 0;
}
