// The mascot window's creation and destroy handlers, run through the real
// window system with a controlled clock.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "alarm/alarm_check.h"
#include "anim/random.h"
#include "anim/sprites.h"
#include "app/idle.h"
#include "app/platform.h"
#include "app/state.h"
#include "app/window_classes.h"
#include "info/info_window.h"
#include "mascot/display_scale.h"
#include "mascot/mascot_window.h"
#include "mascot/start_position.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "support/fake_platform.h"
#include "support/test_env.h"

namespace {

class MascotWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetProgram(); }
    void TearDown() override { Destroy(); }

    HWND Create() {
        gMascot.mainWindow = CreateMascotWindow(gMascot.instance, 0, 0);
        return gMascot.mainWindow;
    }

    // Ends the program the way the exit command does; true when the loop
    // would have ended.
    bool Destroy() {
        if (gMascot.mainWindow == nullptr)
            return false;
        DestroyWindow(gMascot.infoWindow);
        DestroyWindow(gMascot.mainWindow);
        gMascot.mainWindow = nullptr;
        return PumpMessages();
    }

    static bool Checked(UINT id) {
        return (GetMenuState(gMascot.menuBar, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }

    static bool Topmost(HWND window) {
        return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    }

    // A one-time ("0") or daily ("1") alarm at 7:30, switched on.
    static void StoreAlarm(const char* daily) {
        WriteSettingsFile(std::string("[ALARM]\r\nアラーム使用=1\r\n毎日アラーム=") + daily +
                          "\r\n設定時刻時=7\r\n設定時刻分=30\r\n");
        gMascot.flags.alarmEnabled = 1;
        gMascot.flags.alarmDaily = *daily == '1' ? 1 : 0;
    }

    // The alarm check of a panel redraw at hour:minute.
    static void CheckAt(int hour, int minute) {
        fake::SetClock(hour, minute);
        PlatformLocalTime(&gMascot.now);
        ReadStoredAlarmTime();
        CheckAlarm();
    }

    // The four alarm keys as the program reads them.
    static std::string AlarmKeys() {
        std::string all;
        for (const char* key : {kKeyAlarmUse, kKeyAlarmDaily, kKeyAlarmHour, kKeyAlarmMinute}) {
            char value[kSettingTextSize];
            ReadSettingText(kSectionAlarm, key, "-", value);
            all += (all.empty() ? "" : ",") + std::string(value);
        }
        return all;
    }

    static RECT Rect(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        return r;
    }
};

} // namespace

TEST_F(MascotWindowTest, FirstStateFollowsTheHourBands) {
    struct Case {
        int hour, minute;
        UINT state;
    } cases[] = {{0, 0, Dozing},          {4, 59, Dozing},         {5, 0, ReadingLeadIn},
                 {12, 59, ReadingLeadIn}, {13, 0, Fanning},        {15, 59, Fanning},
                 {16, 0, ReadingLeadIn},  {21, 59, ReadingLeadIn}, {22, 0, Dozing},
                 {23, 59, Dozing}};
    for (const Case& c : cases) {
        ResetProgram();
        fake::SetClock(c.hour, c.minute);
        ASSERT_NE(Create(), nullptr);
        EXPECT_EQ(gMascot.state, c.state) << c.hour << ":" << c.minute;
        EXPECT_EQ(Cursor(Dozing), c.state == Dozing ? 2u : 0u);
        // Nothing else is primed, and the first frame is frame 0 whatever
        // the state.
        EXPECT_EQ(Cursor(ReadingLeadIn), 0u);
        EXPECT_EQ(gMascot.currentFrame, 0);
        EXPECT_EQ(gMascot.resumeState, 0);
        EXPECT_EQ(gMascot.breezeTicks, 0);
        EXPECT_EQ(gMascot.flags.breezeOn, 0);
        EXPECT_EQ(gMascot.flags.breezeLength, kNoBreeze);
        Destroy();
    }
}

TEST_F(MascotWindowTest, FirstStartSeedsTheSettingsFileInOrder) {
    ASSERT_NE(Create(), nullptr);
    const std::string expected = "[ALARM]\r\n"
                                 "アラーム使用=0\r\n"
                                 "毎日アラーム=0\r\n"
                                 "設定時刻時=Default\r\n"
                                 "設定時刻分=Default\r\n"
                                 "[OPTION]\r\n"
                                 "手前に表示=1\r\n"
                                 "情報ウィンドウ=1\r\n"
                                 "初期位置Ｘ座標=Default\r\n"
                                 "初期位置Ｙ座標=Default\r\n";
    EXPECT_EQ(Hex(ReadSettingsFile()), Hex(expected));
    EXPECT_EQ(NextRandom(), 6664); // the random source is seeded from the clock, too
    EXPECT_EQ(gMascot.settingsUnwritable, 0);
}

namespace {

int boxesShown;
std::string boxCaption;
std::string boxText;
HWND boxOwner;

// Runs inside the message box's own loop: notes what it says and answers it.
void CALLBACK AnswerBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowA("#32770", nullptr);
    if (box == nullptr || !IsWindowVisible(box))
        return;
    char text[1024] = {};
    GetWindowTextA(box, text, sizeof text);
    boxCaption = text;
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text); // the box's text control
    boxText = text;
    boxOwner = GetWindow(box, GW_OWNER);
    ++boxesShown;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

} // namespace

// In a folder where the settings file cannot be written the user is told
// once, by a box of the mascot's shown between two ticks, never inside the
// creation handler or a tick; the program then runs on.
TEST_F(MascotWindowTest, UnwritableSettingsAreToldOnceBetweenTicks) {
    ASSERT_TRUE(CreateDirectoryA("mascot.ini", nullptr)); // no file can take its place
    ASSERT_NE(Create(), nullptr);
    EXPECT_EQ(gMascot.settingsUnwritable, 1); // the seeding failed
    EXPECT_TRUE(IsWindowVisible(gMascot.infoWindow)); // a setting never stored has its default
    boxesShown = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerBox);
    MSG posted;
    EXPECT_FALSE(PeekMessageA(&posted, nullptr, kSettingsUnwritableMessage,
                              kSettingsUnwritableMessage, PM_NOREMOVE));
    fake::milliseconds += 100;
    IdleTick();
    EXPECT_EQ(boxesShown, 0);
    PumpMessages();
    EXPECT_EQ(boxesShown, 1);
    EXPECT_EQ(boxCaption, "設定の保存（デスクトップマスコット）");
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    EXPECT_NE(boxText.find(std::string("mascot.ini を書き込めません。\n") + folder + "\n"),
              std::string::npos)
        << boxText;
    EXPECT_EQ(boxOwner, gMascot.mainWindow);

    SendMessageA(gMascot.mainWindow, WM_COMMAND, IDM_ON_TOP, 0); // fails to write again
    for (int i = 0; i < 3; ++i) {
        fake::milliseconds += 100;
        IdleTick();
        PumpMessages();
    }
    EXPECT_EQ(boxesShown, 1);
    EXPECT_EQ(gMascot.flags.onTop, 0); // the command took effect all the same
    KillTimer(nullptr, timer);
    Destroy();
    RemoveDirectoryA("mascot.ini");
}

TEST_F(MascotWindowTest, PanelStandsBesideTheMascotAtTheDefaultPlace) {
    ASSERT_NE(Create(), nullptr);
    const RECT work = ReadWorkArea();
    int x = 0;
    int y = 0;
    KeywordX("Default", work, &x);
    KeywordY("Default", work, &y);
    const RECT mascot = Rect(gMascot.mainWindow);
    EXPECT_EQ(mascot.left, x);
    EXPECT_EQ(mascot.top, y);
    EXPECT_EQ(mascot.right - mascot.left, 80);
    EXPECT_EQ(mascot.bottom - mascot.top, 80);

    ASSERT_NE(gMascot.infoWindow, nullptr);
    const RECT panel = Rect(gMascot.infoWindow);
    EXPECT_EQ(panel.left, x - 120);
    EXPECT_EQ(panel.top, y + 20);
    EXPECT_EQ(panel.right - panel.left, 160);
    EXPECT_EQ(panel.bottom - panel.top, 60);
    EXPECT_TRUE(IsWindowVisible(gMascot.infoWindow));
    EXPECT_EQ(gMascot.flags.infoShown, 1);
    EXPECT_TRUE(Checked(IDM_INFO));
    EXPECT_TRUE(Checked(IDM_ON_TOP));
    EXPECT_FALSE(Checked(IDM_MOVE));
    EXPECT_FALSE(Checked(IDM_LOCK));
    EXPECT_TRUE(Topmost(gMascot.infoWindow));
    EXPECT_TRUE(Topmost(gMascot.mainWindow));
    // Tool windows get no taskbar button; popups have no caption or frame.
    for (HWND window : {gMascot.mainWindow, gMascot.infoWindow}) {
        EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
        EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (WS_POPUP | WS_CAPTION | WS_THICKFRAME),
                  static_cast<LONG>(WS_POPUP));
    }
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(gMascot.mainWindow, GCLP_HCURSOR)),
              LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(MascotWindowTest, OnlyExactlyZeroHidesThePanel) {
    struct Case {
        const char* value;
        bool shown;
    } cases[] = {{"0", false}, {"00", true}, {"no", true}, {"", true}, {"1", true}};
    for (const Case& c : cases) {
        ResetProgram();
        WriteSettingsFile(std::string("[OPTION]\r\n情報ウィンドウ=") + c.value + "\r\n");
        ASSERT_NE(Create(), nullptr);
        EXPECT_EQ(IsWindowVisible(gMascot.infoWindow) != FALSE, c.shown) << c.value;
        EXPECT_EQ(gMascot.flags.infoShown, c.shown ? 1 : 0) << c.value;
        EXPECT_EQ(Checked(IDM_INFO), c.shown) << c.value;
        Destroy();
    }
}

TEST_F(MascotWindowTest, OnTopSettingUsesTheLowTwoBits) {
    struct Case {
        const char* value;
        int field;
        bool topmost;
    } cases[] = {{"0", 0, false}, {"1", 1, true},  {"2", -2, true},
                 {"3", -1, true}, {"4", 0, false}, {"junk", 0, false}};
    for (const Case& c : cases) {
        ResetProgram();
        WriteSettingsFile(std::string("[OPTION]\r\n手前に表示=") + c.value + "\r\n");
        ASSERT_NE(Create(), nullptr);
        EXPECT_EQ(gMascot.flags.onTop, c.field) << c.value;
        EXPECT_EQ(Topmost(gMascot.mainWindow), c.topmost) << c.value;
        EXPECT_EQ(Topmost(gMascot.infoWindow), c.topmost) << c.value;
        EXPECT_EQ(Checked(IDM_ON_TOP), c.topmost) << c.value;
        Destroy();
    }
}

TEST_F(MascotWindowTest, AlarmSwitchesUseTheLowTwoBits) {
    WriteSettingsFile("[ALARM]\r\nアラーム使用=5\r\n毎日アラーム=3\r\n");
    ASSERT_NE(Create(), nullptr);
    EXPECT_EQ(gMascot.flags.alarmEnabled, 1);
    EXPECT_EQ(gMascot.flags.alarmDaily, -1);
    // Keys that exist keep their values; only the missing ones are seeded.
    const std::string file = ReadSettingsFile();
    EXPECT_NE(file.find("アラーム使用=5"), std::string::npos);
    EXPECT_NE(file.find("設定時刻時=Default"), std::string::npos);
}

TEST_F(MascotWindowTest, ConfiguredPositionMovesBothWindows) {
    WriteSettingsFile("[OPTION]\r\n初期位置Ｘ座標=300\r\n初期位置Ｙ座標=200\r\n");
    ASSERT_NE(Create(), nullptr);
    EXPECT_EQ(Rect(gMascot.mainWindow).left, 300);
    EXPECT_EQ(Rect(gMascot.mainWindow).top, 200);
    EXPECT_EQ(Rect(gMascot.infoWindow).left, 180);
    EXPECT_EQ(Rect(gMascot.infoWindow).top, 220);
    Destroy();

    // A place where one pixel of the window still shows is kept; one where
    // none shows starts at the Default place, and the file keeps its value.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int right = left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int bottom = top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    int defaultX = 0;
    int defaultY = 0;
    KeywordX("Default", ReadWorkArea(), &defaultX);
    KeywordY("Default", ReadWorkArea(), &defaultY);
    struct Case {
        int x, y;
        bool kept;
    } cases[] = {{right - 1, bottom - 1, true},
                 {left - 79, top - 79, true},
                 {right, 200, false},
                 {300, top - 80, false},
                 {5000, bottom, false}};
    for (const Case& c : cases) {
        ResetProgram();
        const std::string keys = "初期位置Ｘ座標=" + std::to_string(c.x) +
                                 "\r\n初期位置Ｙ座標=" + std::to_string(c.y) + "\r\n";
        WriteSettingsFile("[OPTION]\r\n" + keys);
        ASSERT_NE(Create(), nullptr);
        const RECT mascot = Rect(gMascot.mainWindow);
        EXPECT_EQ(mascot.left, c.kept ? c.x : defaultX) << c.x << "," << c.y;
        EXPECT_EQ(mascot.top, c.kept ? c.y : defaultY) << c.x << "," << c.y;
        // Kept at a corner, she has the panel wholly on the screen beside her.
        const RECT panel = Rect(gMascot.infoWindow);
        RECT common{};
        EXPECT_EQ(IntersectRect(&common, &panel, &mascot), c.kept ? FALSE : TRUE) << c.x;
        EXPECT_EQ(panel.left, c.kept ? (c.x < 0 ? left + 1 : right - 161) : mascot.left - 120) << c.x;
        EXPECT_NE(ReadSettingsFile().find(keys), std::string::npos);
        Destroy();
    }

    // Where the panel would stick out of the work area, it stands inside it
    // beside her, clear of her figure: on her left where there is room, else
    // on her right, at her level as far as the work area allows.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT work = monitor.rcWork;
    struct PanelCase {
        std::string x, y;
        int mascotX, mascotY, panelX, panelY;
    } panelCases[] = {
        {"left", "300", work.left, 300, work.left + 80, 320}, // a typo reads as 0
        {"119", "300", work.left + 119, 300, work.left + 199, 320},
        {"Left", "Top", work.left + work.left / 10 + 120, work.top + work.top / 10, work.left,
         work.top + work.top / 10 + 20},
        {"-1", "300", work.left - 1, 300, work.left + 79, 320}, // partly off the monitor
        {"0", "Default", work.left, work.bottom - 80, work.left + 80, work.bottom - 60},
        // Her feet over the taskbar, at the left and at the right.
        {"0", std::to_string(work.bottom - 79), work.left, work.bottom - 79, work.left + 80,
         work.bottom - 60},
        {"Right", std::to_string(work.bottom - 40), work.right - 80, work.bottom - 40,
         work.right - 240, work.bottom - 60},
        {std::to_string(work.right - 240), std::to_string(work.bottom - 60), work.right - 240,
         work.bottom - 60, work.right - 400, work.bottom - 60},
    };
    for (const PanelCase& c : panelCases) {
        ResetProgram();
        WriteSettingsFile("[OPTION]\r\n初期位置Ｘ座標=" + c.x + "\r\n初期位置Ｙ座標=" + c.y +
                          "\r\n");
        ASSERT_NE(Create(), nullptr);
        EXPECT_EQ(Rect(gMascot.mainWindow).left, c.mascotX) << c.x << "," << c.y;
        EXPECT_EQ(Rect(gMascot.mainWindow).top, c.mascotY) << c.x << "," << c.y;
        EXPECT_EQ(Rect(gMascot.infoWindow).left, c.panelX) << c.x << "," << c.y;
        EXPECT_EQ(Rect(gMascot.infoWindow).top, c.panelY) << c.x << "," << c.y;
        Destroy();
    }
}

namespace {

int minimizedOrMaximized;
int activations;

LRESULT CALLBACK NoteMinMax(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_MINMAX && reinterpret_cast<HWND>(wParam) == gMascot.mainWindow)
        ++minimizedOrMaximized;
    if (code == HCBT_ACTIVATE && reinterpret_cast<HWND>(wParam) == gMascot.mainWindow)
        ++activations;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool ShownNormally(HWND window) {
    return IsWindowVisible(window) && !IsIconic(window) && !IsZoomed(window);
}

} // namespace

// However the starter asks her to show (a shortcut set to 最小化 or 最大化,
// "start /min"), she shows normally, 80 by 80 at her place, never passing
// through a minimized or maximized state, in front of the panel.
TEST_F(MascotWindowTest, ShowsNormallyHoweverTheStarterAsks) {
    for (int command :
         {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_MINIMIZE, SW_SHOWMINNOACTIVE,
          SW_FORCEMINIMIZE, SW_HIDE, SW_SHOWDEFAULT, 42, SW_SHOWNA, SW_SHOWNOACTIVATE}) {
        ResetProgram();
        WriteSettingsFile("[OPTION]\r\n初期位置Ｘ座標=300\r\n初期位置Ｙ座標=200\r\n");
        ASSERT_NE(Create(), nullptr);
        minimizedOrMaximized = activations = 0;
        HHOOK hook = SetWindowsHookExA(WH_CBT, NoteMinMax, nullptr, GetCurrentThreadId());
        ShowMascotWindows(command);
        UnhookWindowsHookEx(hook);
        EXPECT_EQ(minimizedOrMaximized, 0) << command;
        // A starter that asks for no activation is obeyed.
        if (command == SW_SHOWNA || command == SW_SHOWNOACTIVATE) {
            EXPECT_EQ(activations, 0) << command;
        }
        EXPECT_TRUE(ShownNormally(gMascot.mainWindow)) << command;
        const RECT mascot = Rect(gMascot.mainWindow);
        EXPECT_EQ(mascot.left, 300) << command;
        EXPECT_EQ(mascot.top, 200) << command;
        EXPECT_EQ(mascot.right - mascot.left, 80) << command;
        EXPECT_EQ(mascot.bottom - mascot.top, 80) << command;
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        EXPECT_NE(GetWindowRgn(gMascot.mainWindow, shape), ERROR) << command;
        DeleteObject(shape);
        EXPECT_TRUE(ShownNormally(gMascot.infoWindow)) << command;
        EXPECT_EQ(Rect(gMascot.infoWindow).left, 180) << command;
        bool panelBelow = false;
        for (HWND w = GetWindow(gMascot.mainWindow, GW_HWNDNEXT); w != nullptr;
             w = GetWindow(w, GW_HWNDNEXT))
            panelBelow = panelBelow || w == gMascot.infoWindow;
        EXPECT_TRUE(panelBelow) << command;
        Destroy();
    }

    // Windows may apply the starter's show command to the program's first
    // window whatever it passes; stand-ins for that: a panel shown minimized
    // when it was created, the mascot left minimized or maximized by a show
    // command that keeps the state. A panel created hidden stays hidden.
    for (int state : {SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED}) {
        for (bool panelShown : {true, false}) {
            ResetProgram();
            if (!panelShown)
                WriteSettingsFile("[OPTION]\r\n情報ウィンドウ=0\r\n");
            ASSERT_NE(Create(), nullptr);
            if (panelShown)
                ShowWindow(gMascot.infoWindow, SW_SHOWMINNOACTIVE);
            ShowWindow(gMascot.mainWindow, state);
            ShowMascotWindows(SW_SHOWNA);
            EXPECT_TRUE(ShownNormally(gMascot.mainWindow)) << state;
            EXPECT_EQ(Rect(gMascot.mainWindow).right - Rect(gMascot.mainWindow).left, 80) << state;
            EXPECT_EQ(ShownNormally(gMascot.infoWindow), panelShown) << state;
            EXPECT_EQ(IsIconic(gMascot.infoWindow) != FALSE, false) << state;
            Destroy();
        }
    }
}

TEST_F(MascotWindowTest, DestroyReleasesTheFontStopsSoundAndEndsTheLoop) {
    // A one-time alarm that has not rung yet keeps its time at exit.
    ASSERT_NE(Create(), nullptr);
    StoreAlarm("0");
    CheckAt(7, 29);
    EXPECT_TRUE(Destroy());
    EXPECT_EQ(AlarmKeys(), "1,0,7,30");

    ASSERT_NE(Create(), nullptr);
    const HFONT font = gMascot.infoFont;
    ASSERT_NE(font, nullptr);
    StoreAlarm("0");
    CheckAt(7, 30);
    ASSERT_EQ(gMascot.flags.alarmRinging, 1);
    fake::sounds.clear();
    EXPECT_TRUE(Destroy());
    EXPECT_EQ(GetObjectType(font), 0u);
    ASSERT_FALSE(fake::sounds.empty());
    EXPECT_EQ(fake::sounds.back().flags, 0u); // even a ringing alarm is stopped
    EXPECT_TRUE(fake::sounds.back().name.empty());
    // and is over: a one-time alarm does not ring again at the next start.
    EXPECT_EQ(AlarmKeys(), "1,0,Default,Default");

    // A daily one keeps its time.
    ASSERT_NE(Create(), nullptr);
    StoreAlarm("1");
    CheckAt(7, 30);
    EXPECT_TRUE(Destroy());
    EXPECT_EQ(AlarmKeys(), "1,1,7,30");
    // A new time stored since the last redraw is a new alarm and stays.
    ASSERT_NE(Create(), nullptr);
    StoreAlarm("0");
    CheckAt(7, 30);
    WriteSetting(kSectionAlarm, kKeyAlarmHour, "8");
    EXPECT_TRUE(Destroy());
    EXPECT_EQ(AlarmKeys(), "1,0,8,30");
}

TEST_F(MascotWindowTest, SessionEndFinishesTheRingingAlarmStopsItAndRemovesTheIcon) {
    ASSERT_NE(Create(), nullptr);
    NOTIFYICONDATAA icon = gMascot.trayData;
    StoreAlarm("0");
    CheckAt(7, 30);
    SendMessageA(gMascot.mainWindow, WM_ENDSESSION, FALSE, 0); // the session goes on
    EXPECT_EQ(gMascot.flags.alarmRinging, 1);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &icon));
    fake::sounds.clear();
    gMascot.trayRetryTicks = 30; // as if a busy shell had refused the icon once
    SendMessageA(gMascot.mainWindow, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(AlarmKeys(), "1,0,Default,Default");
    ASSERT_EQ(fake::sounds.size(), 1u);
    EXPECT_EQ(fake::sounds[0].flags, 0u);
    // Gone, and not offered again in the ticks before Windows ends the process.
    for (int tick = 0; tick < 30; ++tick)
        RetryTrayIcon();
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &icon));
    EXPECT_TRUE(IsWindow(gMascot.mainWindow)); // Windows ends the process itself
    Destroy();

    // The Restart Manager closes the program and the session goes on: it
    // ends itself as the exit command does, windows and loop included.
    ASSERT_NE(Create(), nullptr);
    const HWND mascot = gMascot.mainWindow;
    const HWND panel = gMascot.infoWindow;
    StoreAlarm("0");
    CheckAt(7, 30);
    SendMessageA(mascot, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_FALSE(IsWindow(mascot));
    gMascot.mainWindow = nullptr;
    EXPECT_TRUE(PumpMessages());
    EXPECT_EQ(AlarmKeys(), "1,0,Default,Default");
}

TEST_F(MascotWindowTest, IconIsAddedAgainWhenTheTaskbarIsMadeAnew) {
    ASSERT_NE(Create(), nullptr);
    // The record the shell is given, which the removal at exit names again:
    // its first form (88 bytes in the 32-bit program), icon 0 of the mascot,
    // the callback, a 16 by 16 icon and the tip.
    const NOTIFYICONDATAA& tray = gMascot.trayData;
    EXPECT_EQ(tray.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    EXPECT_EQ(tray.hWnd, gMascot.mainWindow);
    EXPECT_EQ(tray.uID, 0u);
    EXPECT_EQ(tray.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(tray.uCallbackMessage, 1024u);
    EXPECT_EQ(tray.hIcon, gMascot.trayIcon);
    EXPECT_STREQ(tray.szTip, "マスコットメニュー");
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(tray.hIcon, &info));
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 16);
    EXPECT_EQ(colour.bmHeight, 16);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    // Where the system's code page is not 932, its Unicode form is handed
    // over: the same record, the tip converted.
    const NOTIFYICONDATAW wide = WideTrayData(tray);
    EXPECT_EQ(wide.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V1_SIZE));
    EXPECT_EQ(wide.hWnd, tray.hWnd);
    EXPECT_EQ(wide.uID, tray.uID);
    EXPECT_EQ(wide.uFlags, tray.uFlags);
    EXPECT_EQ(wide.uCallbackMessage, tray.uCallbackMessage);
    EXPECT_EQ(wide.hIcon, tray.hIcon);
    EXPECT_STREQ(wide.szTip, L"\x30DE\x30B9\x30B3\x30C3\x30C8\x30E1\x30CB\x30E5\x30FC");
    NOTIFYICONDATAA longTip = tray;
    std::memset(longTip.szTip, 'a', sizeof longTip.szTip - 1);
    longTip.szTip[sizeof longTip.szTip - 1] = '\0';
    EXPECT_EQ(std::wstring(WideTrayData(longTip).szTip), std::wstring(63, L'a'));
    NOTIFYICONDATAA& icon = gMascot.trayData;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &icon)); // it is there
    // Refused because it is there already (as when a slow shell added it
    // after all): nothing is offered again.
    SendMessageA(gMascot.mainWindow, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ(gMascot.trayRetryTicks, 0);
    Shell_NotifyIconA(NIM_DELETE, &icon); // as a new taskbar has none
    ASSERT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &icon));
    SendMessageA(gMascot.mainWindow, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &icon));
}

namespace {

int tick;
std::vector<int> offers; // the ticks at which the busy shell was offered the icon

LRESULT CALLBACK BusyShell(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        offers.push_back(tick);
        return FALSE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A notification area that refuses every icon, in front of the real one so
// that the program finds it first.
HWND MakeBusyShell() {
    WNDCLASSA busy{};
    busy.lpfnWndProc = BusyShell;
    busy.hInstance = GetModuleHandleA(nullptr);
    busy.lpszClassName = "Shell_TrayWnd";
    RegisterClassA(&busy);
    return CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Shell_TrayWnd", nullptr, WS_POPUP, 0,
                           0, 1, 1, nullptr, nullptr, busy.hInstance, nullptr);
}

void EndBusyShell(HWND shell) {
    DestroyWindow(shell);
    UnregisterClassA("Shell_TrayWnd", GetModuleHandleA(nullptr));
}

} // namespace

// At a busy logon the shell may refuse the icon, and no "TaskbarCreated"
// follows: the icon is offered again every few seconds, for some minutes,
// until the shell takes it.
TEST_F(MascotWindowTest, IconRefusedByABusyShellIsOfferedAgainOnLaterTicks) {
    HWND shell = MakeBusyShell();
    ASSERT_NE(shell, nullptr);
    tick = 0;
    offers.clear();
    ASSERT_NE(Create(), nullptr);
    EXPECT_FALSE(offers.empty()); // refused at creation
    offers.clear();
    for (tick = 1; tick <= 100; ++tick) {
        fake::milliseconds += 100;
        IdleTick();
    }
    EXPECT_FALSE(offers.empty()); // offered again by the ticks
    EndBusyShell(shell);          // the shell is ready now
    ASSERT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &gMascot.trayData));
    int waited = 0;
    for (; waited < 60 && !Shell_NotifyIconA(NIM_MODIFY, &gMascot.trayData); ++waited) {
        fake::milliseconds += 100;
        IdleTick();
    }
    EXPECT_LE(waited, 50); // within five seconds
    EXPECT_EQ(gMascot.trayRetryTicks, 0);
    Destroy();

    // A shell that stays busy is offered the icon every one to five seconds
    // for between three and ten minutes.
    ResetProgram();
    shell = MakeBusyShell();
    ASSERT_NE(Create(), nullptr);
    offers.clear();
    for (tick = 1; tick <= 7000; ++tick)
        RetryTrayIcon();
    ASSERT_GE(offers.size(), 2u);
    EXPECT_LE(offers.front(), 50);
    for (size_t i = 1; i < offers.size(); ++i) {
        const int gap = offers[i] - offers[i - 1];
        if (gap != 0) { // one offer may take two calls
            EXPECT_GE(gap, 10) << offers[i];
            EXPECT_LE(gap, 50) << offers[i];
        }
    }
    EXPECT_GE(offers.back(), 1800);
    EXPECT_LE(offers.back(), 6000);
    Destroy();
    EndBusyShell(shell);
}

TEST_F(MascotWindowTest, PanelOffsetsWrapForPositionsAtTheEndsOfTheIntRange) {
    const POINT normal = PanelPlace(300, 200);
    EXPECT_EQ(normal.x, 180);
    EXPECT_EQ(normal.y, 220);
    const POINT wrapped = PanelPlace(-2147483647 - 1, 2147483647);
    EXPECT_EQ(wrapped.x, 2147483647 - 119);
    EXPECT_EQ(wrapped.y, -2147483647 - 1 + 19);

    WriteSettingsFile("[OPTION]\r\n初期位置Ｘ座標=-2147483648\r\n初期位置Ｙ座標=2147483647\r\n");
    ASSERT_NE(Create(), nullptr);
    EXPECT_NE(gMascot.infoWindow, nullptr);
}

// Windows tells of a new DPI (she is dragged onto another monitor, the
// display settings change): she and the panel take its scale at once, she
// where Windows suggests (keeping the pointer on her where Windows suggests a
// size of its own), the panel beside her; back at 96 DPI all is as it was.
TEST_F(MascotWindowTest, NewDpiRescalesHerAndThePanelAtOnce) {
    ASSERT_NE(Create(), nullptr);
    gMascot.infoWindowDC = GetDC(gMascot.infoWindow);
    InitInfoCanvas();
    SetCursorPos(350, 250);
    const int freeBefore = FreeGdiHandles();
    struct Case {
        UINT dpi;
        RECT suggested;
        LONG x, y, k, font;
    } cases[] = {
        {144, {300, 200, 420, 320}, 300, 200, 3, 20}, {192, {400, 100, 560, 260}, 400, 100, 4, 26},
        {120, {300, 200, 400, 300}, 310, 210, 2, 13}, {121, {300, 200, 420, 320}, 300, 200, 3, 20},
        {120, {600, 400, 700, 500}, 600, 400, 2, 13}, {96, {300, 200, 380, 280}, 300, 200, 2, 13}};
    for (const Case& c : cases) {
        SIZE size{};
        const LONG told = static_cast<LONG>(
            SendMessageA(gMascot.mainWindow, WM_GETDPISCALEDSIZE, c.dpi, (LPARAM)&size));
        SendMessageA(gMascot.mainWindow, WM_DPICHANGED, c.dpi, (LPARAM)&c.suggested);
        const RECT mascot = Rect(gMascot.mainWindow);
        const RECT panel = Rect(gMascot.infoWindow);
        BITMAP canvas{};
        GetObjectA(gMascot.canvasBitmap, sizeof canvas, &canvas);
        LOGFONTA font{};
        GetObjectA(gMascot.infoFont, sizeof font, &font);
        EXPECT_EQ(std::vector<LONG>({told, size.cx, size.cy, mascot.left, mascot.top,
                                     mascot.right - mascot.left, panel.left, panel.top,
                                     panel.right - panel.left, canvas.bmHeight, font.lfHeight}),
                  std::vector<LONG>({TRUE, 40 * c.k, 40 * c.k, c.x, c.y, 40 * c.k, c.x - 60 * c.k,
                                     c.y + 10 * c.k, 80 * c.k, 60 * c.k, c.font}))
            << c.dpi;
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        GetWindowRgn(gMascot.mainWindow, shape);
        HRGN expected = RegionFromBitmap(gMascot.spriteBitmaps[gMascot.currentFrame], c.k);
        EXPECT_TRUE(EqualRgn(shape, expected)) << c.dpi;
        DeleteObject(shape);
        DeleteObject(expected);
        // The background's one-pixel frame, (k + 1) / 2 pixels wide on both sides.
        const int frame = (c.k + 1) / 2, y = 45 * c.k;
        EXPECT_TRUE(GetPixel(gMascot.canvasDC, frame - 1, y) ==
                        GetPixel(gMascot.canvasDC, 80 * c.k - frame, y) &&
                    GetPixel(gMascot.canvasDC, frame, y) != GetPixel(gMascot.canvasDC, 0, y))
            << c.dpi;
    }
    // Started on a monitor of another scale than the one she was made on
    // (made at 144, her window telling 96): that monitor's scale, at her place.
    SendMessageA(gMascot.mainWindow, WM_DPICHANGED, 144, (LPARAM)&cases[0].suggested);
    MoveToStart(gMascot.mainWindow, POINT{250, 150});
    const RECT mascot = Rect(gMascot.mainWindow);
    const RECT panel = Rect(gMascot.infoWindow);
    EXPECT_EQ(std::vector<LONG>({mascot.left, mascot.top, mascot.right, panel.left, panel.right}),
              std::vector<LONG>({250, 150, 330, 130, 290}));
    if (WineMajorVersion() < 10) { // test_env.h says why
        EXPECT_EQ(FreeGdiHandles(), freeBefore); // what each scale made, the next released
    }
    ReleaseDC(gMascot.infoWindow, gMascot.infoWindowDC);
}
