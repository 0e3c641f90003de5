// The processor time of one frame paint (DrawFrame: a fresh window DC, a
// memory DC, the doubled StretchBlt) and of the window DC alone, over many
// calls, from the process's own CPU counters rather than the wall clock, so
// that a busy machine hardly moves it. bench/x_resources.sh runs it with and
// without the Wine set-up's X resource file.
#include <windows.h>

#include <cstdio>

#include "anim/sprites.h"
#include "app/state.h"
#include "app/window_classes.h"
#include "bench/bench_timing.h"

namespace {

constexpr int kCalls = 20000;

template <typename Work> double MicrosecondsPerCall(Work work) {
    const double start = ProcessCpuMs();
    for (int i = 0; i < kCalls; ++i)
        work();
    return (ProcessCpuMs() - start) * 1000.0 / kCalls;
}

void WindowDC() { ReleaseDC(gMascot.mainWindow, GetDC(gMascot.mainWindow)); }

} // namespace

int main() {
    gMascot.instance = GetModuleHandleA(nullptr);
    RegisterWindowClasses(gMascot.instance);
    gMascot.mainWindow = CreateMascotWindow(gMascot.instance, 0, 0);
    ShowWindow(gMascot.mainWindow, SW_SHOWNOACTIVATE);
    const double paint = MicrosecondsPerCall(DrawFrame);
    const double dc = MicrosecondsPerCall(WindowDC);
    std::printf("frame paint %.1f us, window DC alone %.1f us (process CPU per call, %d calls)\n",
                paint, dc, kCalls);
    DestroyWindow(gMascot.infoWindow);
    DestroyWindow(gMascot.mainWindow);
    return 0;
}
