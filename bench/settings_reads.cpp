// How long the four settings reads of one panel redraw take with an ordinary
// settings file and with one of several megabytes, side by side. Run under
// the same Wine as the program, in an empty scratch directory:
//   scripts/wine-run build/bench/bench/settings_reads.exe
#include <windows.h>

#include <cstdio>
#include <fstream>

#include "settings/settings.h"

namespace {

constexpr int kRedraws = 200;

void WriteFile(bool big) {
    std::ofstream file("mascot.ini", std::ios::binary | std::ios::trunc);
    if (big) {
        file << "[USER]\r\n";
        for (int i = 0; i < 200000; ++i)
            file << "note" << i << "=the user's own line\r\n";
    }
    file << "[ALARM]\r\n設定時刻時= 7\r\n設定時刻分=30\r\n";
}

// Microseconds per redraw: integer and text reads of the hour and the minute.
double PerRedraw() {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    char text[kSettingTextSize];
    for (int i = 0; i < kRedraws; ++i) {
        ReadSettingInt(kSectionAlarm, kKeyAlarmHour, 24);
        ReadSettingText(kSectionAlarm, kKeyAlarmHour, "Default", text);
        ReadSettingInt(kSectionAlarm, kKeyAlarmMinute, 24);
        ReadSettingText(kSectionAlarm, kKeyAlarmMinute, "Default", text);
    }
    QueryPerformanceCounter(&end);
    return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart / kRedraws;
}

} // namespace

int main() {
    WriteFile(false);
    const double small = PerRedraw();
    WriteFile(true);
    const double big = PerRedraw();
    std::printf("four reads per redraw: small file %.1f us, 6 MB file %.1f us, ratio %.1f\n", small,
                big, big / small);
    DeleteFileA("mascot.ini");
    return 0;
}
