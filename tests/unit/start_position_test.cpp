// The start position formulas over the work area, and the settings that pick
// them.
#include <gtest/gtest.h>

#include <climits>

#include "mascot/start_position.h"
#include "support/test_env.h"

namespace {

POINT Keywords(const char* x, const char* y, RECT work) {
    POINT p{-1, -1};
    int value = 0;
    if (KeywordX(x, work, &value))
        p.x = value;
    if (KeywordY(y, work, &value))
        p.y = value;
    return p;
}

} // namespace

TEST(StartPosition, WorkedExample) {
    const RECT work{0, 0, 1024, 738};
    POINT p = Keywords("Default", "Default", work);
    EXPECT_EQ(p.x, 842);
    EXPECT_EQ(p.y, 658);
    EXPECT_EQ(Keywords("Right", "Bottom", work).x, 944);
    EXPECT_EQ(Keywords("Right", "Bottom", work).y, 658);
    EXPECT_EQ(Keywords("Left", "Top", work).x, 120);
    EXPECT_EQ(Keywords("Left", "Top", work).y, 0);
    p = Keywords("Center", "Center", work);
    EXPECT_EQ(p.x, 572);
    EXPECT_EQ(p.y, 369);
}

TEST(StartPosition, DivisionTruncatesTowardZero) {
    // A work area on a monitor left of and above the primary one.
    const RECT work{-1015, -1015, -5, -5};
    EXPECT_EQ(Keywords("Left", "Top", work).x, -1015 - 101 + 120);
    EXPECT_EQ(Keywords("Left", "Top", work).y, -1015 - 101);
    EXPECT_EQ(Keywords("Default", "Center", work).x, -5 - 80 - 0);
    EXPECT_EQ(Keywords("Default", "Center", work).y, -2);
    EXPECT_EQ(Keywords("Center", "Center", work).x, 57); // 115 / 2
}

TEST(StartPosition, KeywordsAreExactAndCaseSensitive) {
    const RECT work{0, 0, 1024, 738};
    int value = 0;
    for (const char* text : {"right", "RIGHT", " Right", "Right ", "", "Bottom"})
        EXPECT_FALSE(KeywordX(text, work, &value)) << text;
    for (const char* text : {"top", "Right", "Left", "default"})
        EXPECT_FALSE(KeywordY(text, work, &value)) << text;
}

TEST(StartPosition, OtherTextIsAPixelPositionUnclamped) {
    ResetProgram();
    WriteSettingsFile("[OPTION]\r\n初期位置Ｘ座標=right\r\n初期位置Ｙ座標=5000\r\n");
    EXPECT_EQ(StartX(), 0);
    EXPECT_EQ(StartY(), 5000);
    WriteSettingsFile("[OPTION]\r\n初期位置Ｘ座標=300\r\n初期位置Ｙ座標=-40\r\n");
    EXPECT_EQ(StartX(), 300);
    EXPECT_EQ(StartY(), -40);
}

TEST(StartPosition, MissingKeysMeanDefault) {
    ResetProgram();
    const RECT work = ReadWorkArea();
    int x = 0;
    int y = 0;
    KeywordX("Default", work, &x);
    KeywordY("Default", work, &y);
    EXPECT_EQ(StartX(), x);
    EXPECT_EQ(StartY(), y);
}

// Beside a place on no monitor the panel keeps to the nearest one's work
// area; beside one whose far edges pass the int range, which no monitor
// reaches, it keeps its designed place.
TEST(StartPosition, PanelBesideAPlaceOnNoMonitor) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromPoint(POINT{-30000, -30000}, MONITOR_DEFAULTTONEAREST), &monitor);
    const POINT nearest = PanelPlaceBeside(-30000, -30000);
    EXPECT_EQ(nearest.x, monitor.rcWork.left);
    EXPECT_EQ(nearest.y, monitor.rcWork.top);
    const POINT beyond = PanelPlaceBeside(INT_MAX - 10, 100);
    EXPECT_EQ(beyond.x, INT_MAX - 130);
    EXPECT_EQ(beyond.y, 120);
}
