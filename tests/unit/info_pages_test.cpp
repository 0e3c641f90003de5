// The panel on its real canvas: the background, the font, the pages drawn
// pixel for pixel as the expected texts at their places and colours, the
// blink of the alarm line, and the two mouse buttons.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/state.h"
#include "app/window_classes.h"
#include "info/info_pages.h"
#include "info/info_window.h"
#include "mascot/start_position.h"
#include "res/resource.h"
#include "support/fake_platform.h"
#include "support/test_env.h"

namespace {

constexpr COLORREF kBlue = 0x00FFA0A0, kBlack = 0, kPink = 0x00FFA0FF, kRed = 0x000000FF;

struct Line {
    COLORREF colour;
    int x, y;
    std::string text;
};

using Pixels = std::vector<DWORD>;

// The 160x60 pixels of dc from row y0, as 32-bit values.
Pixels Capture(HDC dc, int y0) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 160, -60, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC copy = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(copy, dib);
    BitBlt(copy, 0, 0, 160, 60, dc, 0, y0, SRCCOPY);
    GdiFlush();
    Pixels pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + 160 * 60);
    SelectObject(copy, old);
    DeleteDC(copy);
    DeleteObject(dib);
    return pixels;
}

int Differences(const Pixels& a, const Pixels& b) {
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i)
        n += a[i] != b[i];
    return n;
}

// The page as it must look: the clean background, then the lines in order,
// in the panel font and transparent, each with exactly its bytes.
Pixels Expected(const std::vector<Line>& lines) {
    HDC dc = CreateCompatibleDC(gMascot.canvasDC);
    HBITMAP page = CreateCompatibleBitmap(gMascot.canvasDC, 160, 60);
    HGDIOBJ oldBitmap = SelectObject(dc, page);
    BitBlt(dc, 0, 0, 160, 60, gMascot.canvasDC, 0, 60, SRCCOPY);
    HGDIOBJ oldFont = SelectObject(dc, gMascot.infoFont);
    SetBkMode(dc, TRANSPARENT);
    for (const Line& line : lines) {
        SetTextColor(dc, line.colour);
        TextOutA(dc, line.x, line.y, line.text.data(), static_cast<int>(line.text.size()));
    }
    Pixels pixels = Capture(dc, 0);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(page);
    DeleteDC(dc);
    return pixels;
}

std::vector<Line> ClockLines(const std::string& date, const std::string& time,
                             const std::string& alarm) {
    std::vector<Line> lines = {
        {kBlue, 7, 7, date}, {kBlue, 22, 22, time}, {kBlack, 5, 5, date}, {kBlack, 20, 20, time}};
    if (!alarm.empty()) {
        lines.push_back({kPink, 7, 42, alarm});
        lines.push_back({kRed, 5, 40, alarm});
    }
    return lines;
}

class InfoPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProgram();
        fake::SetClock(12, 5, 9);
        gMascot.mainWindow =
            CreateWindowExA(WS_EX_TOOLWINDOW, kMascotClass, nullptr, WS_POPUP, 0, 0, kMascotSize,
                            kMascotSize, nullptr, nullptr, gMascot.instance, nullptr);
        ASSERT_NE(gMascot.infoWindow, nullptr);
        gMascot.infoWindowDC = GetDC(gMascot.infoWindow);
        InitInfoCanvas();
    }
    void TearDown() override {
        ReleaseDC(gMascot.infoWindow, gMascot.infoWindowDC);
        DestroyWindow(gMascot.infoWindow);
        DestroyWindow(gMascot.mainWindow);
        PumpMessages();
    }

    // Redraws and compares the canvas with the expected page.
    static void ExpectPage(const std::vector<Line>& lines) {
        RedrawInfo();
        const Pixels expected = Expected(lines);
        ASSERT_GT(Differences(expected, Capture(gMascot.canvasDC, 60)), 100) << "nothing drawn";
        EXPECT_EQ(Differences(Capture(gMascot.canvasDC, 0), expected), 0);
    }
    static void SetAlarmTime(const char* hour, const char* minute) {
        WriteSettingsFile(std::string("[ALARM]\r\n設定時刻時=") + hour +
                          "\r\n設定時刻分=" + minute + "\r\n");
    }
};

// Answers the next message box of this thread with OK, keeping its texts.
std::string gBoxTexts;
void CALLBACK AnswerBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA("#32770", nullptr);
    if (box == nullptr || GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId())
        return;
    KillTimer(nullptr, timer);
    char caption[64] = {}, text[128] = {};
    GetWindowTextA(box, caption, sizeof caption);
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    gBoxTexts = std::string(caption) + "|" + text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

} // namespace

TEST_F(InfoPanelTest, CanvasHoldsTheCleanBackgroundAndTheFontItsAttributes) {
    HBITMAP picture = static_cast<HBITMAP>(LoadImageA(gMascot.instance, MAKEINTRESOURCEA(IDB_PANEL),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    HDC dc = CreateCompatibleDC(gMascot.canvasDC);
    HGDIOBJ old = SelectObject(dc, picture);
    const Pixels background = Capture(dc, 0);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(picture);
    EXPECT_EQ(Differences(Capture(gMascot.canvasDC, 60), background), 0);
    EXPECT_EQ(Differences(Capture(gMascot.canvasDC, 0), background), 0);

    LOGFONTA font{};
    ASSERT_EQ(GetObjectA(gMascot.infoFont, sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_EQ(font.lfHeight, 13);
    EXPECT_EQ(font.lfWidth + font.lfEscapement + font.lfOrientation, 0);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_EQ(font.lfItalic + font.lfUnderline + font.lfStrikeOut, 0);
    EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(font.lfOutPrecision + font.lfClipPrecision + font.lfQuality + font.lfPitchAndFamily,
              0);
    EXPECT_STREQ(font.lfFaceName, "ＭＳ ゴシック");

    // Without its picture the panel says so and is drawn on white.
    DeleteDC(gMascot.canvasDC);
    DeleteObject(gMascot.canvasBitmap);
    gMascot.instance = GetModuleHandleA("kernel32.dll");
    gBoxTexts.clear();
    SetTimer(nullptr, 0, 50, AnswerBox);
    InitInfoCanvas();
    gMascot.instance = GetModuleHandleA(nullptr);
    EXPECT_EQ(gBoxTexts, "エラー（画像読込）|画像ファイルを開けません。");
    for (int y0 : {0, 60}) {
        int white = 0;
        for (DWORD pixel : Capture(gMascot.canvasDC, y0))
            white += (pixel & 0x00FFFFFF) == 0x00FFFFFF;
        EXPECT_EQ(white, 160 * 60) << y0;
    }
}

TEST_F(InfoPanelTest, ClockPageShowsTheAlarmLineForEveryKindOfStoredTime) {
    struct Case {
        const char* hour;
        const char* minute;
        const char* line;
    } cases[] = {{" 7", "30", "アラーム  7時30分"},      {"Default", "30", "アラーム 設定なし"},
                 {" 7", "Default", "アラーム 設定なし"}, {"24", " 0", "アラーム 設定なし"},
                 {"23", "60", "アラーム 設定なし"},      {"-1", " 5", "アラーム 設定なし"},
                 {" 7", "-5", "アラーム 設定なし"},      {"abc", "x", "アラーム  0時 0分"},
                 {"23", "59", "アラーム 23時59分"}};
    gMascot.flags.alarmEnabled = 1;
    for (const Case& c : cases) {
        SetAlarmTime(c.hour, c.minute);
        ExpectPage(ClockLines("2004年 8月 3日(火)", "午前12時 5分 9秒", c.line));
    }
    // Switched off (or stored as 2 or 3, which is not on), a stored time is
    // not shown as if it would ring; an unset one says so as ever.
    for (int off : {0, -1, -2}) {
        gMascot.flags.alarmEnabled = off;
        SetAlarmTime(" 7", "30");
        ExpectPage(ClockLines("2004年 8月 3日(火)", "午前12時 5分 9秒", "アラーム オフ"));
        SetAlarmTime("Default", "30");
        ExpectPage(ClockLines("2004年 8月 3日(火)", "午前12時 5分 9秒", "アラーム 設定なし"));
    }
    DeleteFileA("mascot.ini"); // no keys at all
    ExpectPage(ClockLines("2004年 8月 3日(火)", "午前12時 5分 9秒", "アラーム 設定なし"));
    EXPECT_EQ(gMascot.alarmHour, 24);
    EXPECT_EQ(gMascot.alarmMinute, 24);
}

TEST_F(InfoPanelTest, ClockPageAfterAnotherPageAndTheFontGoesBack) {
    gMascot.flags.infoPage = 2;
    RedrawInfo();
    gMascot.flags.infoPage = 0;
    fake::SetClock(13, 0, 0);
    ExpectPage(ClockLines("2004年 8月 3日(火)", "午後 1時 0分 0秒", "アラーム 設定なし"));
    // The font is selected only while drawing, so it can be deleted at exit.
    EXPECT_NE(GetCurrentObject(gMascot.canvasDC, OBJ_FONT), gMascot.infoFont);
}

TEST_F(InfoPanelTest, AlarmLineBlinksOnlyWhileRingingAndOnlyOnTheClockPage) {
    SetAlarmTime("12", " 5"); // the current minute, so the ringing goes on
    const std::vector<Line> on =
        ClockLines("2004年 8月 3日(火)", "午前12時 5分 9秒", "アラーム 12時 5分");
    const std::vector<Line> off = ClockLines("2004年 8月 3日(火)", "午前12時 5分 9秒", "");
    // Switched off, the alarm neither rings nor blinks, nor shows its time.
    const std::vector<Line> switchedOff =
        ClockLines("2004年 8月 3日(火)", "午前12時 5分 9秒", "アラーム オフ");
    ExpectPage(switchedOff);
    ExpectPage(switchedOff);
    EXPECT_EQ(gMascot.flags.alarmBlink, 1);
    // The redraw that starts the ringing already leaves the line out.
    gMascot.flags.alarmEnabled = 1;
    for (int i = 0; i < 2; ++i) {
        ExpectPage(off);
        EXPECT_EQ(gMascot.flags.alarmBlink, 0);
        ExpectPage(on);
        EXPECT_EQ(gMascot.flags.alarmBlink, 1);
    }
    for (int page : {1, 2}) {
        gMascot.flags.infoPage = page;
        RedrawInfo();
        RedrawInfo();
        EXPECT_EQ(gMascot.flags.alarmBlink, 1) << page;
        EXPECT_EQ(gMascot.flags.alarmRinging, 1);
    }
}

TEST_F(InfoPanelTest, PositionAndMemoryPageShowsTheRealFigures) {
    gMascot.flags.infoPage = 1;
    const HWND mascot = gMascot.mainWindow;
    constexpr int kNoMascot = 0; // her place cannot be read
    for (int x : {300, -1200, kNoMascot}) {
        if (x == kNoMascot)
            gMascot.mainWindow = nullptr;
        else
            MoveWindow(gMascot.mainWindow, x, 200, kMascotSize, kMascotSize, FALSE);
        // Free memory moves on its own; try again when it moved meanwhile.
        for (int attempt = 0; attempt < 10; ++attempt) {
            MEMORYSTATUSEX before{}, after{};
            before.dwLength = after.dwLength = sizeof before;
            GlobalMemoryStatusEx(&before);
            RedrawInfo();
            GlobalMemoryStatusEx(&after);
            if (before.ullAvailPhys >> 20 != after.ullAvailPhys >> 20)
                continue;
            char position[32], total[32], free[32];
            if (x == kNoMascot)
                std::snprintf(position, sizeof position, "%s", "座標 X----,Y----");
            else
                std::snprintf(position, sizeof position, "座標 X%4d,Y 200", x);
            std::snprintf(total, sizeof total, "全物理メモリ%4lluMB", after.ullTotalPhys >> 20);
            std::snprintf(free, sizeof free, "空物理メモリ%4lluMB", after.ullAvailPhys >> 20);
            ExpectPage({{kBlue, 7, 7, position}, // whole, even at 17 bytes
                        {kBlack, 5, 5, position},
                        {kBlue, 7, 27, total},
                        {kBlack, 5, 25, total},
                        {kBlue, 7, 42, free},
                        {kBlack, 5, 40, free}});
            break;
        }
    }
    gMascot.mainWindow = mascot;
    const int freeBefore = FreeGdiHandles();
    RedrawInfo(); // the page takes nothing it keeps
    EXPECT_EQ(FreeGdiHandles(), freeBefore);
}

TEST_F(InfoPanelTest, VersionPage) {
    gMascot.flags.infoPage = 2;
    const std::string title = "たまりんPAL【夕凪】", version = "Ver1.00　04/08/23",
                      credit = "制作：ますこっと工房";
    ExpectPage({{kPink, 5, 5, title},
                {kRed, 3, 3, title},
                {kBlue, 10, 19, version},
                {kBlue, 15, 45, credit},
                {kBlack, 8, 17, version},
                {kBlack, 13, 43, credit}});
}

TEST_F(InfoPanelTest, ImpossibleDayOfWeekIsReportedAndDrawnAsAPlaceholder) {
    gBoxTexts.clear();
    const UINT_PTR answer = SetTimer(nullptr, 0, 50, AnswerBox);
    fake::localTime.wDayOfWeek = 6; // Saturday is no impossible day
    ExpectPage(ClockLines("2004年 8月 3日(土)", "午前12時 5分 9秒", "アラーム 設定なし"));
    EXPECT_EQ(gBoxTexts, "");
    KillTimer(nullptr, answer);

    fake::localTime.wDayOfWeek = 7;
    SetTimer(nullptr, 0, 50, AnswerBox);
    ExpectPage(ClockLines("2004年 8月 3日(？)", "午前12時 5分 9秒", "アラーム 設定なし"));
    EXPECT_EQ(gBoxTexts, "曜日取得|対応していない数値です。");
}

TEST_F(InfoPanelTest, LeftClickAndCommandTurnThePageUnlessTheAlarmRings) {
    for (HWND target : {gMascot.infoWindow, gMascot.mainWindow}) {
        gMascot.flags.infoPage = 0;
        for (int expected : {1, 2, 0, 1}) {
            if (target == gMascot.infoWindow)
                SendMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            else
                SendMessageA(target, WM_COMMAND, IDM_NEXT_PAGE, 0);
            EXPECT_EQ(gMascot.flags.infoPage, expected);
        }
    }
    gMascot.flags.infoPage = 3; // no such page: back to the clock
    SendMessageA(gMascot.infoWindow, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(gMascot.flags.infoPage, 0);
}

TEST_F(InfoPanelTest, LeftClickSilencesARingingAlarmForTheRestOfItsMinute) {
    for (int daily : {0, 1}) {
        for (int lock : {0, 1}) {
            WriteSettingsFile(std::string("[ALARM]\r\nアラーム使用=1\r\n毎日アラーム=") +
                              (daily ? "1" : "0") + "\r\n設定時刻時=12\r\n設定時刻分= 5\r\n");
            fake::Reset();
            fake::SetClock(12, 5, 9);
            gMascot.flags = {};
            gMascot.flags.animLock = lock;
            gMascot.flags.alarmEnabled = 1;
            gMascot.flags.alarmDaily = daily;
            gMascot.flags.infoPage = 1;
            gMascot.state = Reading;
            RedrawInfo();
            ASSERT_EQ(gMascot.flags.alarmRinging, 1);
            gMascot.flags.alarmBlink = 1;
            gMascot.breezeTicks = 9;
            Cursor(Reading) = 7;
            fake::sounds.clear();
            SendMessageA(gMascot.infoWindow, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            ASSERT_EQ(fake::sounds.size(), 1u);
            EXPECT_EQ(fake::sounds[0].flags, 0u); // the stop form
            EXPECT_EQ(gMascot.flags.alarmRinging, 0);
            EXPECT_EQ(gMascot.flags.alarmEnabled, 1); // as the file says
            EXPECT_EQ(gMascot.flags.alarmBlink, 1);
            EXPECT_EQ(gMascot.flags.infoPage, 1); // no page turn
            EXPECT_EQ(gMascot.state, Reading);
            EXPECT_EQ(Cursor(Reading), lock ? 7u : 2u);
            EXPECT_EQ(gMascot.breezeTicks, lock ? 9 : 0);
            // A one-time alarm is over at once; the switch stays on.
            const std::string file = ReadSettingsFile();
            EXPECT_EQ(file.find("設定時刻時=Default\r\n設定時刻分=Default") != std::string::npos,
                      daily == 0);
            EXPECT_NE(file.find("アラーム使用=1\r\n"), std::string::npos);
            // Silent for the rest of the minute; a daily alarm rings the next day.
            fake::SetClock(12, 5, 59);
            RedrawInfo();
            EXPECT_EQ(gMascot.flags.alarmRinging, 0);
            fake::SetClock(12, 6);
            RedrawInfo();
            fake::localTime.wDay += 1;
            fake::SetClock(12, 5);
            RedrawInfo();
            EXPECT_EQ(gMascot.flags.alarmRinging, daily) << lock;
        }
    }
    // A time stored since the last redraw is a new alarm: the click keeps it.
    const std::string ringing = "[ALARM]\r\nアラーム使用=1\r\n毎日アラーム=0\r\n設定時刻時=12\r\n";
    WriteSettingsFile(ringing + "設定時刻分= 5\r\n");
    fake::SetClock(12, 5);
    gMascot.flags = {};
    gMascot.flags.alarmEnabled = 1;
    RedrawInfo();
    ASSERT_EQ(gMascot.flags.alarmRinging, 1);
    WriteSettingsFile(ringing + "設定時刻分=30\r\n");
    SendMessageA(gMascot.infoWindow, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_NE(ReadSettingsFile().find("設定時刻時=12\r\n設定時刻分=30"), std::string::npos);
}

TEST_F(InfoPanelTest, RightClickHidesThePanelAndRemembersIt) {
    ASSERT_TRUE(IsWindowVisible(gMascot.infoWindow));
    SendMessageA(gMascot.infoWindow, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    EXPECT_FALSE(IsWindowVisible(gMascot.infoWindow));
    EXPECT_EQ(gMascot.flags.infoShown, 0);
    EXPECT_FALSE(GetMenuState(gMascot.menuBar, IDM_INFO, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_NE(ReadSettingsFile().find("情報ウィンドウ=0\r\n"), std::string::npos);
}

TEST_F(InfoPanelTest, DestroyingThePanelDeletesTheCanvas) {
    // Building the canvas keeps only the canvas: what it borrows to build it
    // goes back.
    SendMessageA(gMascot.infoWindow, WM_DESTROY, 0, 0);
    const int freeBefore = FreeGdiHandles();
    InitInfoCanvas();
    SendMessageA(gMascot.infoWindow, WM_DESTROY, 0, 0);
    EXPECT_EQ(FreeGdiHandles(), freeBefore);

    InitInfoCanvas();
    const HDC canvas = gMascot.canvasDC;
    const HBITMAP bitmap = gMascot.canvasBitmap;
    ReleaseDC(gMascot.infoWindow, gMascot.infoWindowDC);
    DestroyWindow(gMascot.infoWindow);
    EXPECT_EQ(GetObjectType(canvas), 0u);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    // No handle is kept that a new object could come to name.
    EXPECT_EQ(gMascot.canvasDC, nullptr);
    EXPECT_EQ(gMascot.canvasBitmap, nullptr);
    gMascot.infoWindow = nullptr;
}
