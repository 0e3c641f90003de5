// What one panel redraw costs, page by page, against the 100 ms tick on
// which the shown panel is redrawn, and how much of it is the four settings
// reads that every redraw makes. Prints ratios; the milliseconds beside them
// are only for orientation. Run under Wine from an empty directory:
//   scripts/wine-run build/XX/bench/panel_redraw.exe
#include <windows.h>

#include <cstdio>

#include "app/state.h"
#include "app/window_classes.h"
#include "bench/bench_timing.h"
#include "info/info_pages.h"
#include "info/info_window.h"
#include "settings/settings.h"

namespace {

void FourReads() {
    char text[kSettingTextSize];
    ReadSettingInt(kSectionAlarm, kKeyAlarmHour, 24);
    ReadSettingText(kSectionAlarm, kKeyAlarmHour, "Default", text);
    ReadSettingInt(kSectionAlarm, kKeyAlarmMinute, 24);
    ReadSettingText(kSectionAlarm, kKeyAlarmMinute, "Default", text);
}

} // namespace

int main() {
    gMascot.instance = GetModuleHandleA(nullptr);
    RegisterWindowClasses(gMascot.instance);
    gMascot.mainWindow = CreateMascotWindow(gMascot.instance, 0, 0);
    gMascot.infoWindowDC = GetDC(gMascot.infoWindow);
    InitInfoCanvas();
    WriteSetting(kSectionAlarm, kKeyAlarmHour, " 7");
    WriteSetting(kSectionAlarm, kKeyAlarmMinute, "30");

    const double reads = MedianMs(25, FourReads, 20);
    std::printf("%-28s %8s %12s %14s\n", "", "ms", "share of tick", "x settings reads");
    const char* names[] = {"clock page", "position and memory page", "version page"};
    for (int page = 0; page < 3; ++page) {
        gMascot.flags.infoPage = page;
        const double ms = MedianMs(
            25, [] { RedrawInfo(); }, 20);
        std::printf("%-28s %8.3f %12.4f %14.2f\n", names[page], ms, ms / 100.0, ms / reads);
    }
    std::printf("%-28s %8.3f %12.4f %14.2f\n", "four settings reads alone", reads, reads / 100.0,
                1.0);

    ReleaseDC(gMascot.infoWindow, gMascot.infoWindowDC);
    DestroyWindow(gMascot.infoWindow);
    DestroyWindow(gMascot.mainWindow);
    DeleteFileA("mascot.ini");
    return 0;
}
