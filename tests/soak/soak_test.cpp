// The program runs for weeks: the work of every tick must give back every GDI
// and USER object it takes. Wine has no working GetGuiResources, so the test
// measures the free room in the handle tables instead: it creates objects
// until the system refuses, counts them and deletes them again. A leak of a
// single object per tick over 100,000 ticks would use the tables up many
// times over; the control run shows the measure sees even a few leaked
// handles.
#include <windows.h>

#include <gtest/gtest.h>

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

constexpr int kTicks = 100000;

// Free GDI handles: regions are the cheapest GDI object to make.
int FreeGdiHandles() {
    std::vector<HRGN> made;
    for (;;) {
        HRGN region = CreateRectRgn(0, 0, 1, 1);
        if (region == nullptr || made.size() >= 1000000)
            break;
        made.push_back(region);
    }
    for (HRGN region : made)
        DeleteObject(region);
    return static_cast<int>(made.size());
}

// Free USER handles: menus are the cheapest USER object to make.
int FreeUserHandles() {
    std::vector<HMENU> made;
    for (;;) {
        HMENU menu = CreateMenu();
        if (menu == nullptr || made.size() >= 1000000)
            break;
        made.push_back(menu);
    }
    for (HMENU menu : made)
        DestroyMenu(menu);
    return static_cast<int>(made.size());
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

    // Every state in turn, with a breeze now and then.
    static void DriveAnimation(int tick) {
        if (tick % 97 == 0 && gMascot.flags.alarmRinging == 0) {
            EnterState(static_cast<UINT>(Reading + (tick / 97) % kAnimStateCount));
            if ((tick / 97) % 3 == 0 && StartBreeze())
                gMascot.flags.breezeLength = 0;
        }
    }

    // What the idle loop does on its ticks, every page of the panel included.
    static void Tick(int tick) {
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
};

} // namespace

TEST_F(LongRunTest, HundredThousandTicksLeakNoGdiOrUserObject) {
    for (int tick = 0; tick < 1000; ++tick) // warm up caches the system fills once
        Tick(tick);
    const int gdiBefore = FreeGdiHandles();
    const int userBefore = FreeUserHandles();
    int rings = 0;
    for (int tick = 0; tick < kTicks; ++tick) {
        const int ringingBefore = gMascot.flags.alarmRinging;
        Tick(tick);
        if (ringingBefore == 0 && gMascot.flags.alarmRinging == 1)
            ++rings;
    }
    const int gdiAfter = FreeGdiHandles();
    const int userAfter = FreeUserHandles();
    EXPECT_EQ(rings, kTicks / 1000) << "the alarm rang and ended in every cycle";
    EXPECT_GT(gdiBefore, 1000) << "the measure found room in the GDI table";
    EXPECT_GT(userBefore, 1000) << "the measure found room in the USER table";
    EXPECT_EQ(gdiAfter, gdiBefore) << "GDI handles lost over " << kTicks << " ticks";
    EXPECT_EQ(userAfter, userBefore) << "USER handles lost over " << kTicks << " ticks";
}

TEST_F(LongRunTest, ControlRunShowsTheMeasureSeesALeak) {
    const int before = FreeGdiHandles();
    std::vector<HRGN> leaked;
    for (int tick = 0; tick < 50; ++tick) {
        Tick(tick);
        leaked.push_back(CreateRectRgn(0, 0, 1, 1)); // a deliberate leak of one per tick
    }
    const int after = FreeGdiHandles();
    for (HRGN region : leaked)
        DeleteObject(region);
    EXPECT_EQ(before - after, 50);
}
