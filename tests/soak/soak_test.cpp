// The program runs for weeks: the work of every tick must give back every GDI
// and USER object it takes. Wine has no working GetGuiResources, so the test
// measures the free room in the handle tables instead: it creates objects
// until the system refuses, counts them and deletes them again. The measure
// is exact, so a few thousand ticks are enough: in 3,000 ticks the alarm rings
// and ends three times, every state, breeze and page comes round at least
// three times (the states every 873 ticks) and the display scale changes
// twelve times (not under Wine 10: test_env.h), so a leak of one object per
// thousand ticks anywhere in the tick work, or of one per alarm cycle or
// scale change, loses at least three handles. The control run shows the
// measure sees a single lost handle of either kind. MASCOT_SOAK_TICKS asks
// for a longer run, such as the 100,000 ticks of the benchmarks.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "anim/sequencer.h"
#include "anim/sprites.h"
#include "app/state.h"
#include "app/window_classes.h"
#include "info/info_pages.h"
#include "info/info_window.h"
#include "mascot/start_position.h"
#include "settings/settings.h"
#include "support/fake_platform.h"
#include "support/test_env.h"

namespace {

constexpr int kTicks = 3000;

int TicksToRun() {
    char text[16] = {};
    if (GetEnvironmentVariableA("MASCOT_SOAK_TICKS", text, sizeof text) == 0)
        return kTicks;
    const int ticks = std::atoi(text);
    return ticks >= 1000 ? ticks : kTicks;
}

class LongRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProgram();
        fake::SetClock(9, 0);
        gMascot.mainWindow = CreateMascotWindow(gMascot.instance, 0, 0);
        ASSERT_NE(gMascot.mainWindow, nullptr);
        ShowWindow(gMascot.mainWindow, SW_SHOWNOACTIVATE);
        gMascot.infoWindowDC = GetDC(gMascot.infoWindow);
        InitInfoCanvas();
        PumpMessages();
    }

    void TearDown() override {
        ReleaseDC(gMascot.infoWindow, gMascot.infoWindowDC);
        DestroyWindow(gMascot.infoWindow);
        DestroyWindow(gMascot.mainWindow);
        PumpMessages();
    }

    // One alarm every 1,000 ticks: it rings at 7:30 and ends at 7:31.
    static void DriveAlarm(int tick) {
        switch (tick % 1000) {
        case 0:
            gMascot.flags.alarmEnabled = 1;
            WriteSetting(kSectionAlarm, kKeyAlarmHour, " 7");
            WriteSetting(kSectionAlarm, kKeyAlarmMinute, "30");
            fake::SetClock(7, 30);
            break;
        case 20: fake::SetClock(7, 31); break;
        case 40: fake::SetClock(9, 0); break;
        default: break;
        }
    }

    // Every state in turn; the four that have a breeze begin with a short one.
    static void DriveAnimation(int tick) {
        if (tick % 97 == 0 && gMascot.flags.alarmRinging == 0) {
            EnterState(static_cast<UINT>(Reading + (tick / 97) % kAnimStateCount));
            if (StartBreeze())
                gMascot.flags.breezeLength = 0;
        }
    }

    // What the idle loop does on its ticks, every page of the panel included;
    // every 250 ticks Windows tells of a new DPI: 144, 192, 120, 96 in turn
    // (but under Wine 10, test_env.h says why).
    static void Tick(int tick) {
        constexpr UINT kDpis[] = {144, 192, 120, 96};
        RECT suggested{0, 0, 0, 0};
        if (tick % 250 == 125 && WineMajorVersion() < 10)
            SendMessageA(gMascot.mainWindow, WM_DPICHANGED, kDpis[tick / 250 % 4],
                         reinterpret_cast<LPARAM>(&suggested));
        DriveAlarm(tick);
        DriveAnimation(tick);
        gMascot.flags.infoPage = tick % 3;
        DrawFrame();
        RedrawInfo();
        BitBlt(gMascot.infoWindowDC, 0, 0, kPanelWidth, kPanelHeight, gMascot.canvasDC, 0, 0,
               SRCCOPY);
        StepAnimation();
        if (tick % 50 == 0)
            PumpMessages();
    }

    // Warms up the caches the system fills once.
    static void WarmUp() {
        for (int tick = 0; tick < 1000; ++tick)
            Tick(tick);
    }
};

} // namespace

TEST_F(LongRunTest, ThousandsOfTicksLeakNoGdiOrUserObject) {
    const int ticks = TicksToRun();
    WarmUp();
    const int gdiBefore = FreeGdiHandles();
    const int userBefore = FreeUserHandles();
    int rings = 0;
    for (int tick = 0; tick < ticks; ++tick) {
        const int ringingBefore = gMascot.flags.alarmRinging;
        Tick(tick);
        if (ringingBefore == 0 && gMascot.flags.alarmRinging == 1)
            ++rings;
    }
    const int gdiAfter = FreeGdiHandles();
    const int userAfter = FreeUserHandles();
    EXPECT_EQ(rings, ticks / 1000) << "the alarm rang and ended in every cycle";
    EXPECT_GT(gdiBefore, 1000) << "the measure found room in the GDI table";
    EXPECT_GT(userBefore, 1000) << "the measure found room in the USER table";
    EXPECT_EQ(gdiAfter, gdiBefore) << "GDI handles lost over " << ticks << " ticks";
    EXPECT_EQ(userAfter, userBefore) << "USER handles lost over " << ticks << " ticks";
}

TEST_F(LongRunTest, ControlRunShowsTheMeasureSeesASingleLostHandle) {
    WarmUp();
    const int gdiBefore = FreeGdiHandles();
    const int userBefore = FreeUserHandles();
    HRGN region = nullptr;
    HMENU menu = nullptr;
    for (int tick = 0; tick < 100; ++tick) {
        Tick(tick);
        if (tick == 50) { // a deliberate leak of one object of each kind
            region = CreateRectRgn(0, 0, 1, 1);
            menu = CreateMenu();
        }
    }
    const int gdiAfter = FreeGdiHandles();
    const int userAfter = FreeUserHandles();
    DeleteObject(region);
    DestroyMenu(menu);
    EXPECT_EQ(gdiBefore - gdiAfter, 1);
    EXPECT_EQ(userBefore - userAfter, 1);
}
