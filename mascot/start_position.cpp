#include "mascot/start_position.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "info/info_window.h"
#include "settings/settings.h"

// The formulas divide with C++'s signed integer division, which truncates
// toward zero; a work area with negative edges depends on that.

RECT ReadWorkArea() {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

POINT DefaultPlace(const RECT& work) {
    return POINT{work.right - MascotSize() - work.right / 10, work.bottom - MascotSize()};
}

bool KeywordX(const char* text, const RECT& work, int* x) {
    if (std::strcmp(text, "Default") == 0)
        *x = DefaultPlace(work).x;
    else if (std::strcmp(text, "Right") == 0)
        *x = work.right - MascotSize();
    else if (std::strcmp(text, "Left") == 0)
        *x = work.left + work.left / 10 + ScaledLength(120);
    else if (std::strcmp(text, "Center") == 0)
        *x = (work.right + ScaledLength(120)) / 2;
    else
        return false;
    return true;
}

bool KeywordY(const char* text, const RECT& work, int* y) {
    if (std::strcmp(text, "Default") == 0 || std::strcmp(text, "Bottom") == 0)
        *y = DefaultPlace(work).y;
    else if (std::strcmp(text, "Top") == 0)
        *y = work.top + work.top / 10;
    else if (std::strcmp(text, "Center") == 0)
        *y = work.bottom / 2;
    else
        return false;
    return true;
}

int StartX() {
    char text[kSettingTextSize];
    ReadSettingText(kSectionOption, kKeyStartX, "Default", text);
    int x = 0;
    if (KeywordX(text, ReadWorkArea(), &x))
        return x;
    return ScreenFromLogical(ReadSettingInt(kSectionOption, kKeyStartX, 0));
}

int StartY() {
    char text[kSettingTextSize];
    ReadSettingText(kSectionOption, kKeyStartY, "Default", text);
    int y = 0;
    if (KeywordY(text, ReadWorkArea(), &y))
        return y;
    return ScreenFromLogical(ReadSettingInt(kSectionOption, kKeyStartY, 0));
}

namespace {

// Past these the window's far edges do not fit an int, and no monitor
// reaches that far anyway.
bool FitsTheIntRange(int x, int y) {
    return x <= INT_MAX - MascotSize() && y <= INT_MAX - MascotSize();
}

// True when [at, at + size) lies within [low, high).
bool FitsBetween(LONG at, LONG size, LONG low, LONG high) { return at >= low && at + size <= high; }

// value brought within [low, high]; low wins where the range is empty.
LONG Clamp(LONG value, LONG low, LONG high) { return std::max(low, std::min(value, high)); }

bool ShownOnAMonitor(int x, int y) {
    if (!FitsTheIntRange(x, y))
        return false;
    const RECT window{x, y, x + MascotSize(), y + MascotSize()};
    return MonitorFromRect(&window, MONITOR_DEFAULTTONULL) != nullptr;
}

} // namespace

POINT PanelPlaceBeside(int x, int y) {
    const POINT designed = PanelPlace(x, y);
    if (!FitsTheIntRange(x, y))
        return designed;
    const RECT mascot{x, y, x + MascotSize(), y + MascotSize()};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromRect(&mascot, MONITOR_DEFAULTTONEAREST), &monitor))
        return designed;
    const RECT& work = monitor.rcWork;
    const LONG width = PanelWidth();
    const LONG height = PanelHeight();
    if (FitsBetween(designed.x, width, work.left, work.right) &&
        FitsBetween(designed.y, height, work.top, work.bottom))
        return designed;
    // Beside her at her level as far as the work area allows, clear of her
    // figure: on her left, the side the panel stands on, or else on her
    // right; where neither side has room, as near its place as it can.
    const LONG top = Clamp(designed.y, work.top, work.bottom - height);
    const LONG left = x - width;
    if (FitsBetween(left, width, work.left, work.right))
        return POINT{left, top};
    const LONG right = x + MascotSize();
    if (FitsBetween(right, width, work.left, work.right))
        return POINT{right, top};
    return POINT{Clamp(designed.x, work.left, work.right - width), top};
}

POINT StartPlace() {
    POINT start{StartX(), StartY()};
    if (!ShownOnAMonitor(start.x, start.y))
        start = DefaultPlace(ReadWorkArea());
    return start;
}
