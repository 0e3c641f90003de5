// Pacing of the idle work: ticks at least 100 ms apart, the panel redrawn on
// every tick while shown and every fifth while hidden, the animation stepped
// on every second tick, and no stall when the millisecond counter wraps.
#include <gtest/gtest.h>

#include "app/idle.h"
#include "app/shift_jis.h"
#include "app/state.h"
#include "support/fake_platform.h"
#include "support/test_env.h"

namespace {

class IdleTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetProgram(); }

    // Runs one idle pass at the given counter value; true when it ticked.
    bool PassAt(DWORD ms) {
        fake::milliseconds = ms;
        const DWORD before = gMascot.lastTick;
        IdleTick();
        return gMascot.lastTick != before || ms == before;
    }

    // Redraws of the panel are observed as its reads of the clock.
    int RedrawsOverTicks(int ticks) {
        const int before = fake::localTimeReads;
        DWORD ms = fake::milliseconds;
        for (int i = 0; i < ticks; ++i) {
            ms += 100;
            fake::milliseconds = ms;
            IdleTick();
        }
        return fake::localTimeReads - before;
    }
};

} // namespace

TEST_F(IdleTest, TicksAreAtLeast100MsApart) {
    gMascot.lastTick = 5000;
    // A pass between ticks sleeps, so the loop does not keep a core busy.
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    EXPECT_FALSE(PassAt(5050));
    QueryPerformanceCounter(&end);
    EXPECT_GE((end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart, 40);
    EXPECT_FALSE(PassAt(5099));
    EXPECT_TRUE(PassAt(5100));
    EXPECT_EQ(gMascot.lastTick, 5100u);
    EXPECT_FALSE(PassAt(5199));
    EXPECT_TRUE(PassAt(5250));
    // Counted from the fresh reading: a late tick brings no catch-up ticks.
    EXPECT_EQ(gMascot.lastTick, 5250u);
    EXPECT_FALSE(PassAt(5300));
}

TEST_F(IdleTest, CounterWrapNeitherStallsNorHurriesTicks) {
    gMascot.lastTick = 0xFFFFFFF0u; // 16 ms before the wrap
    EXPECT_FALSE(PassAt(0xFFFFFFFFu));
    EXPECT_FALSE(PassAt(0x00000050u)); // 96 ms after the last tick
    EXPECT_TRUE(PassAt(0x00000054u));  // 100 ms after it
    EXPECT_EQ(gMascot.lastTick, 0x54u);
    EXPECT_FALSE(PassAt(0x000000A0u));
    EXPECT_TRUE(PassAt(0x000000B8u));
}

TEST_F(IdleTest, FirstTickComesAtOnceAfterStart) {
    // lastTick starts at 0 while the counter reads the time since boot.
    EXPECT_TRUE(PassAt(123456));
}

TEST_F(IdleTest, ShownPanelIsRedrawnOnEveryTick) {
    gMascot.flags.infoShown = 1;
    EXPECT_EQ(RedrawsOverTicks(10), 10);
}

TEST_F(IdleTest, HiddenPanelIsRedrawnOnEveryFifthTick) {
    gMascot.flags.infoShown = 0;
    EXPECT_EQ(RedrawsOverTicks(4), 0);
    EXPECT_EQ(RedrawsOverTicks(1), 1);
    EXPECT_EQ(RedrawsOverTicks(20), 4);
}

TEST_F(IdleTest, PanelShowsTheCanvasOnEveryTickAndEachRedrawAtOnce) {
    // The panel and the canvas in memory, the canvas's upper half in a
    // pattern that no shift of a pixel keeps.
    HDC dc[2];
    HGDIOBJ old[2];
    for (int i = 0; i < 2; ++i) {
        dc[i] = CreateCompatibleDC(nullptr);
        old[i] = SelectObject(dc[i], CreateBitmap(160, 120, 1, 32, nullptr));
        PatBlt(dc[i], 0, 0, 160, 120, WHITENESS);
    }
    gMascot.infoWindowDC = dc[0];
    gMascot.canvasDC = dc[1];
    for (int i = 0; i < 160 * 60; i += 11)
        SetPixel(gMascot.canvasDC, i % 160, i / 160, 0);
    const auto panelShowsCanvas = [] {
        int differ = 0;
        for (int i = 0; i < 160 * 60; ++i)
            differ += GetPixel(gMascot.infoWindowDC, i % 160, i / 160) !=
                      GetPixel(gMascot.canvasDC, i % 160, i / 160);
        return differ == 0;
    };
    EXPECT_EQ(RedrawsOverTicks(1), 0);
    EXPECT_TRUE(panelShowsCanvas());
    EXPECT_EQ(RedrawsOverTicks(4), 1);
    EXPECT_TRUE(panelShowsCanvas()); // the page as redrawn, not as before
    for (int i = 0; i < 2; ++i) {
        DeleteObject(SelectObject(dc[i], old[i]));
        DeleteDC(dc[i]);
    }
}

TEST_F(IdleTest, AnimationStepsOnEverySecondTick) {
    gMascot.state = Moving;
    int steps = 0;
    for (int i = 0; i < 10; ++i) {
        fake::milliseconds += 100;
        IdleTick();
        if (gMascot.animTicks == 0)
            ++steps;
    }
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(Cursor(Moving), 1u);      // five steps through the four moving frames
    EXPECT_EQ(gMascot.chooserTicks, 5); // the chooser is called before each step
}

namespace {

LRESULT CALLBACK ForwardTimer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kModalTickTimer) {
        ModalTick();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// True when a tick ran while a menu's or dialog box's loop went idle after
// every message for the given time, as it does when the mouse moves over it.
bool TickedWhileModal(HWND window, int ms) {
    const DWORD before = gMascot.lastTick;
    fake::milliseconds = before + 100; // a tick is due
    for (int waited = 0; waited < ms; waited += 30) {
        StartModalTicks(window);
        Sleep(30);
        MSG message;
        while (PeekMessageA(&message, window, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    return gMascot.lastTick != before;
}

// Moves the clock on under the open message boxes for ten calls, then
// answers every box of this thread; notes the most seen open at once.
int gTimerCalls, gBoxesAtOnce;
void CALLBACK MoveClockThenAnswer(HWND, UINT, UINT_PTR, DWORD) {
    int open = 0;
    for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr;) {
        if (GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId())
            continue;
        ++open;
        if (gTimerCalls >= 10)
            PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    gBoxesAtOnce = open > gBoxesAtOnce ? open : gBoxesAtOnce;
    if (++gTimerCalls < 10)
        fake::milliseconds += 100;
}

} // namespace

TEST_F(IdleTest, TimerCarriesTheTicksThroughModalLoopsAndMessageBoxesButNeverIntoATick) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ForwardTimer;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "IdleTestTimer";
    RegisterClassA(&windowClass);
    gMascot.mainWindow = CreateWindowA("IdleTestTimer", nullptr, WS_POPUP, 0, 0, 10, 10, nullptr,
                                       nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(gMascot.mainWindow, nullptr);
    gMascot.lastTick = 1000;
    // Going idle again does not put the timer off.
    EXPECT_TRUE(TickedWhileModal(gMascot.mainWindow, 400));
    // Back in the program's own loop the timer stops.
    fake::milliseconds = gMascot.lastTick;
    IdleTick();
    EXPECT_EQ(gMascot.modalTicks, 0);
    const DWORD last = gMascot.lastTick;
    fake::milliseconds = last + 100;
    Sleep(250);
    MSG message;
    while (PeekMessageA(&message, gMascot.mainWindow, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    EXPECT_EQ(gMascot.lastTick, last);
    // A message box carries them too; but a tick whose redraw opens one (an
    // impossible day of the week) runs no other tick inside it.
    const UINT_PTR answer = SetTimer(nullptr, 0, 30, MoveClockThenAnswer);
    ShowMessage(nullptr, "", "", MB_OK);
    EXPECT_GT(gMascot.lastTick, last);
    gTimerCalls = gBoxesAtOnce = 0;
    fake::localTime.wDayOfWeek = 7;
    gMascot.flags.infoShown = 1;
    fake::milliseconds += 100;
    IdleTick();
    EXPECT_EQ(gBoxesAtOnce, 1);
    KillTimer(nullptr, answer);
    DestroyWindow(gMascot.mainWindow);
    UnregisterClassA("IdleTestTimer", windowClass.hInstance);
}
