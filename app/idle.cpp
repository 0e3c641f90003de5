#include "app/idle.h"

#include "anim/chooser.h"
#include "anim/sequencer.h"
#include "anim/sprites.h"
#include "app/platform.h"
#include "app/state.h"
#include "info/info_pages.h"
#include "info/info_window.h"
#include "mascot/mascot_window.h"

namespace {

constexpr DWORD kTickMs = 100;

void CopyCanvasToPanel() {
    BitBlt(gMascot.infoWindowDC, 0, 0, PanelWidth(), PanelHeight(), gMascot.canvasDC, 0, 0,
           SRCCOPY);
}

// Elapsed time by unsigned subtraction, so the wrap of the millisecond
// counter every 49.7 days neither stalls the ticks nor hurries them.
bool TickDue() { return PlatformMilliseconds() - gMascot.lastTick >= kTickMs; }

void DoTickWork() {
    gMascot.lastTick = PlatformMilliseconds();

    // Every tick shows the canvas on the panel and paints the frame; the two
    // counts, which start every tick below their limits, pick the ticks that
    // also redraw the page and step the animation.
    CopyCanvasToPanel();
    gMascot.refreshTicks += 1;
    if (gMascot.refreshTicks == 5 || gMascot.flags.infoShown == 1) {
        RedrawInfo();
        CopyCanvasToPanel();
        gMascot.refreshTicks = 0;
    }
    DrawFrame();
    gMascot.animTicks += 1;
    if (gMascot.animTicks == 2) {
        ChooseBehaviour();
        StepAnimation();
        gMascot.animTicks = 0;
    }
    RetryTrayIcon();
    // Told by a message box between two ticks, not inside the creation
    // handler or a tick, where a write may fail.
    if (gMascot.settingsUnwritable == 1) {
        gMascot.settingsUnwritable = 2;
        PostMessageA(gMascot.mainWindow, kSettingsUnwritableMessage, 0, 0);
    }
}

// A message box that a tick opens (the impossible day of the week) runs its
// own loop, where the modal timer would start a tick inside this one: it
// waits until this one is over.
void RunTick() {
    if (gMascot.tickRunning == 1)
        return;
    gMascot.tickRunning = 1;
    DoTickWork();
    gMascot.tickRunning = 0;
}

void StopModalTicks() {
    if (gMascot.modalTicks == 0)
        return;
    KillTimer(gMascot.mainWindow, kModalTickTimer);
    gMascot.modalTicks = 0;
}

} // namespace

void IdleTick() {
    StopModalTicks(); // the program's own loop runs again
    if (!TickDue()) {
        Sleep(50);
        return;
    }
    RunTick();
}

void StartModalTicks(HWND window) {
    if (gMascot.modalTicks == 1)
        return;
    SetTimer(window, kModalTickTimer, kTickMs, nullptr);
    gMascot.modalTicks = 1;
}

void ModalTick() {
    if (TickDue())
        RunTick();
}
