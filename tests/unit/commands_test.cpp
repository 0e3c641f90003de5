// The context menu's commands, move mode, the mouse on the figure and the
// notification icon, sent to the real mascot window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "anim/random.h"
#include "anim/sequencer.h"
#include "app/state.h"
#include "app/window_classes.h"
#include "mascot/mascot_window.h"
#include "mascot/start_position.h"
#include "info/info_pages.h"
#include "res/resource.h"
#include "support/fake_platform.h"
#include "support/test_env.h"

namespace {

class CommandsTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetProgram(); }
    void TearDown() override { Destroy(); }

    HWND Create() {
        gMascot.mainWindow = CreateMascotWindow(gMascot.instance, 0, 0);
        fake::sounds.clear();
        return gMascot.mainWindow;
    }

    bool Destroy() {
        if (gMascot.mainWindow == nullptr)
            return false;
        if (IsWindow(gMascot.infoWindow))
            DestroyWindow(gMascot.infoWindow);
        if (IsWindow(gMascot.mainWindow))
            DestroyWindow(gMascot.mainWindow);
        gMascot.mainWindow = nullptr;
        return PumpMessages();
    }

    static LRESULT Command(UINT id) { return SendMessageA(gMascot.mainWindow, WM_COMMAND, id, 0); }

    static void LeftClick() {
        SendMessageA(gMascot.mainWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(40, 40));
    }

    static bool Checked(UINT id) {
        return (GetMenuState(gMascot.menuBar, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }

    static bool SubmenuGrayed() {
        return (GetMenuState(gMascot.popupMenu, 4, MF_BYPOSITION) & MF_GRAYED) != 0;
    }

    static bool Topmost(HWND window) {
        return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    }

    static bool MascotAbovePanel() {
        for (HWND w = GetWindow(gMascot.mainWindow, GW_HWNDNEXT); w != nullptr;
             w = GetWindow(w, GW_HWNDNEXT))
            if (w == gMascot.infoWindow)
                return true;
        return false;
    }

    static bool PanelVisible() { return IsWindowVisible(gMascot.infoWindow) != FALSE; }

    static bool FileHas(const std::string& line) {
        return ReadSettingsFile().find(line + "\r\n") != std::string::npos;
    }

    static bool SoundStopped() {
        for (const SoundCall& call : fake::sounds)
            if (!call.isResource && call.name.empty() && call.flags == 0)
                return true;
        return false;
    }
};

} // namespace

TEST_F(CommandsTest, OnTopSwitchesBothWindowsTheMarkAndTheFile) {
    ASSERT_NE(Create(), nullptr);
    Command(IDM_ON_TOP);
    EXPECT_EQ(gMascot.flags.onTop, 0);
    EXPECT_FALSE(Topmost(gMascot.mainWindow));
    EXPECT_FALSE(Topmost(gMascot.infoWindow));
    EXPECT_FALSE(Checked(IDM_ON_TOP));
    EXPECT_TRUE(FileHas("手前に表示=0"));

    Command(IDM_ON_TOP);
    EXPECT_EQ(gMascot.flags.onTop, 1);
    EXPECT_TRUE(Topmost(gMascot.mainWindow));
    EXPECT_TRUE(Topmost(gMascot.infoWindow));
    EXPECT_TRUE(Checked(IDM_ON_TOP));
    EXPECT_TRUE(FileHas("手前に表示=1"));
}

TEST_F(CommandsTest, OnTopLoadedAsTwoOrThreeCannotBeSwitched) {
    for (const char* value : {"2", "3"}) {
        ResetProgram();
        WriteSettingsFile(std::string("[OPTION]\r\n手前に表示=") + value + "\r\n");
        ASSERT_NE(Create(), nullptr);
        const int field = gMascot.flags.onTop;
        Command(IDM_ON_TOP);
        Command(IDM_ON_TOP);
        EXPECT_EQ(gMascot.flags.onTop, field) << value;
        EXPECT_TRUE(Topmost(gMascot.mainWindow)) << value;
        EXPECT_TRUE(Topmost(gMascot.infoWindow)) << value;
        EXPECT_TRUE(Checked(IDM_ON_TOP)) << value;
        EXPECT_TRUE(FileHas(std::string("手前に表示=") + value)) << value;
        Destroy();
    }
}

TEST_F(CommandsTest, InfoCommandHidesAndShowsThePanelAndSavesTheChoice) {
    ASSERT_NE(Create(), nullptr);
    Command(IDM_INFO);
    EXPECT_FALSE(PanelVisible());
    EXPECT_EQ(gMascot.flags.infoShown, 0);
    EXPECT_FALSE(Checked(IDM_INFO));
    EXPECT_TRUE(FileHas("情報ウィンドウ=0"));

    Command(IDM_INFO);
    EXPECT_TRUE(PanelVisible());
    EXPECT_EQ(gMascot.flags.infoShown, 1);
    EXPECT_TRUE(Checked(IDM_INFO));
    EXPECT_TRUE(FileHas("情報ウィンドウ=1"));
    EXPECT_TRUE(MascotAbovePanel());      // where the two overlap
    BringWindowToTop(gMascot.infoWindow); // as a click on the panel raises it
    SendMessageA(gMascot.infoWindow, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_TRUE(MascotAbovePanel());
}

TEST_F(CommandsTest, LeftClickShowsOnlyAHiddenPanel) {
    ASSERT_NE(Create(), nullptr);
    const std::string before = ReadSettingsFile();
    LeftClick();
    EXPECT_TRUE(PanelVisible());
    EXPECT_EQ(ReadSettingsFile(), before); // a visible panel: nothing happens

    // Hidden the way a right click on the panel hides it.
    SendMessageA(gMascot.infoWindow, WM_RBUTTONDOWN, 0, 0);
    ASSERT_FALSE(PanelVisible());
    ASSERT_TRUE(FileHas("情報ウィンドウ=0"));
    LeftClick();
    EXPECT_TRUE(PanelVisible());
    EXPECT_EQ(gMascot.flags.infoShown, 1);
    EXPECT_TRUE(Checked(IDM_INFO));
    EXPECT_TRUE(FileHas("情報ウィンドウ=1"));
}

TEST_F(CommandsTest, AnimationChoicesEnterTheStateWithTheirPrimedCursor) {
    struct Case {
        UINT id;
        UINT state;
        UINT cursor; // -1: the cursor keeps its value
    } cases[] = {{IDM_READING, Reading, 2},
                 {IDM_FANNING, Fanning, static_cast<UINT>(-1)},
                 {IDM_DOZING, Dozing, 2},
                 {IDM_LOOKING_AROUND, LookingAround, 1},
                 {IDM_MOVING, Moving, static_cast<UINT>(-1)}};
    ASSERT_NE(Create(), nullptr);
    for (const Case& c : cases) {
        for (UINT& cursor : gMascot.frameCursor)
            cursor = 7;
        gMascot.state = ReadingBreeze;
        gMascot.flags.breezeOn = 1;
        gMascot.flags.breezeLength = 2;
        gMascot.breezeTicks = 30;
        gMascot.flags.animLock = 1; // the lock does not stand in the way
        fake::sounds.clear();
        Command(c.id);
        EXPECT_EQ(gMascot.state, c.state) << c.id;
        EXPECT_EQ(gMascot.resumeState, static_cast<int>(c.state)) << c.id;
        EXPECT_EQ(Cursor(c.state), c.cursor == static_cast<UINT>(-1) ? 7u : c.cursor) << c.id;
        EXPECT_EQ(gMascot.flags.breezeOn, 0) << c.id;
        EXPECT_EQ(gMascot.flags.breezeLength, kNoBreeze) << c.id;
        EXPECT_EQ(gMascot.breezeTicks, 0) << c.id;
        EXPECT_EQ(gMascot.flags.animLock, 1) << c.id;
        EXPECT_TRUE(SoundStopped()) << c.id;
    }
}

// The length is drawn only when a breeze really starts: a draw that is not
// used would shift every later random choice.
TEST_F(CommandsTest, BreezeDrawsALengthOnlyWhenOneStarts) {
    ASSERT_NE(Create(), nullptr);
    SeedRandom();
    const int first = RandomBelow(4);

    for (UINT s : {Moving, ReadingLeadIn, ReadingBreeze, DozingBreeze, LookingAroundBreeze}) {
        SeedRandom();
        gMascot.state = s;
        gMascot.flags.breezeLength = kNoBreeze;
        fake::sounds.clear();
        Command(IDM_BREEZE);
        EXPECT_EQ(gMascot.state, s);
        EXPECT_EQ(gMascot.flags.breezeLength, kNoBreeze) << s;
        EXPECT_TRUE(fake::sounds.empty()) << s; // a running breeze keeps its wind chime
        EXPECT_EQ(RandomBelow(4), first) << s;
    }

    SeedRandom();
    gMascot.state = Reading;
    gMascot.flags.animLock = 1; // the lock does not stop the menu's breeze
    Command(IDM_BREEZE);
    EXPECT_EQ(gMascot.state, ReadingBreeze);
    EXPECT_EQ(gMascot.resumeState, static_cast<int>(ReadingBreeze));
    EXPECT_EQ(gMascot.flags.breezeOn, 1);
    EXPECT_EQ(gMascot.flags.breezeLength, first);
    EXPECT_GE(first, 0);
    EXPECT_LE(first, 3);

    // In Fanning a breeze in progress starts over with a new length.
    gMascot.state = Fanning;
    gMascot.breezeTicks = 12;
    const int next = RandomBelow(4);
    SeedRandom();
    RandomBelow(4);
    fake::sounds.clear();
    Command(IDM_BREEZE);
    EXPECT_TRUE(SoundStopped()); // its sound starts anew with the count
    EXPECT_EQ(gMascot.state, Fanning);
    EXPECT_EQ(gMascot.breezeTicks, 0);
    EXPECT_EQ(gMascot.flags.breezeLength, next);
}

TEST_F(CommandsTest, RingingAlarmKeepsSoundingThroughEveryMenuChoice) {
    ASSERT_NE(Create(), nullptr);
    gMascot.state = Reading;
    gMascot.flags.alarmRinging = 1;
    fake::sounds.clear();
    for (UINT id : {IDM_READING, IDM_FANNING, IDM_DOZING, IDM_LOOKING_AROUND, IDM_MOVING,
                    IDM_BREEZE, IDM_LOCK, IDM_NEXT_PAGE, IDM_ON_TOP, IDM_ON_TOP, IDM_INFO, IDM_INFO,
                    IDM_MOVE, IDM_MOVE}) {
        Command(id);
        EXPECT_TRUE(fake::sounds.empty()) << id;
        fake::sounds.clear();
    }
    EXPECT_EQ(gMascot.flags.alarmRinging, 1);
    // The lock and the page changed all the same, and the lock comes off again.
    EXPECT_EQ(gMascot.flags.animLock, 1);
    EXPECT_TRUE(Checked(IDM_LOCK));
    EXPECT_EQ(gMascot.flags.infoPage, 1);
    Command(IDM_LOCK);
    EXPECT_EQ(gMascot.flags.animLock, 0);
    EXPECT_FALSE(Checked(IDM_LOCK));
}

TEST_F(CommandsTest, MoveModeShowsTheMovingPoseAndRestoresTheState) {
    ASSERT_NE(Create(), nullptr);
    const std::string before = ReadSettingsFile();
    gMascot.state = Dozing;
    gMascot.resumeState = Fanning;
    Cursor(Dozing) = 7;
    gMascot.breezeTicks = 5;
    gMascot.flags.breezeLength = 3;

    Command(IDM_MOVE);
    EXPECT_EQ(gMascot.flags.moveMode, 1);
    EXPECT_EQ(gMascot.state, Moving);
    EXPECT_EQ(gMascot.saved.savedState, static_cast<int>(Dozing));
    EXPECT_EQ(gMascot.breezeTicks, 0);
    EXPECT_EQ(gMascot.resumeState, static_cast<int>(Fanning));
    EXPECT_EQ(gMascot.flags.breezeLength, 3);
    EXPECT_TRUE(Checked(IDM_MOVE));
    EXPECT_TRUE(SubmenuGrayed());
    EXPECT_FALSE(PanelVisible());
    EXPECT_EQ(gMascot.flags.infoShown, 1); // hidden for the drag only
    EXPECT_TRUE(SoundStopped());
    // The moving pose shows at once: the step ran in Moving.
    EXPECT_GE(gMascot.currentFrame, 5);
    EXPECT_LE(gMascot.currentFrame, 8);

    Command(IDM_MOVE);
    EXPECT_EQ(gMascot.flags.moveMode, 0);
    EXPECT_EQ(gMascot.state, Dozing);
    EXPECT_EQ(Cursor(Dozing), 3u); // primed to 2, then one step
    EXPECT_EQ(gMascot.resumeState, static_cast<int>(Fanning));
    EXPECT_EQ(gMascot.breezeTicks, 0);
    EXPECT_FALSE(Checked(IDM_MOVE));
    EXPECT_FALSE(SubmenuGrayed());
    EXPECT_TRUE(PanelVisible());
    EXPECT_TRUE(MascotAbovePanel());
    EXPECT_EQ(ReadSettingsFile(), before);
}

TEST_F(CommandsTest, LeavingMoveModePrimesOnlyThePrimedStates) {
    // Each restored state takes one step after the priming.
    struct Case {
        UINT state;
        UINT cursorBefore, cursorAfter;
    } cases[] = {{Reading, 5, 3}, {LookingAround, 5, 2}, {DozingBreeze, 5, 3},
                 {Fanning, 1, 2}, {ReadingBreeze, 5, 6}, {ReadingLeadIn, 2, 3},
                 {Dozing, 0, 3}};
    ASSERT_NE(Create(), nullptr);
    for (const Case& c : cases) {
        gMascot.state = c.state;
        Cursor(c.state) = c.cursorBefore;
        gMascot.flags.breezeOn = c.state == DozingBreeze || c.state == ReadingBreeze ? 1 : 0;
        gMascot.flags.breezeLength = 5;
        Command(IDM_MOVE);
        Command(IDM_MOVE);
        EXPECT_EQ(gMascot.state, c.state);
        EXPECT_EQ(Cursor(c.state), c.cursorAfter) << c.state;
    }
}

TEST_F(CommandsTest, BreezeInterruptedByMoveModeRunsAgainFromTheStart) {
    ASSERT_NE(Create(), nullptr);
    gMascot.state = ReadingBreeze;
    gMascot.resumeState = ReadingBreeze;
    gMascot.flags.breezeOn = 1;
    gMascot.flags.breezeLength = 1;
    gMascot.breezeTicks = 20;
    Command(IDM_MOVE);
    EXPECT_TRUE(SoundStopped());
    Command(IDM_MOVE);
    EXPECT_EQ(gMascot.state, ReadingBreeze);
    EXPECT_EQ(gMascot.flags.breezeOn, 1);
    EXPECT_EQ(gMascot.flags.breezeLength, 1);
    // The step on leaving found breezeTicks 0 and started the breeze sound.
    EXPECT_EQ(gMascot.breezeTicks, 1);
    ASSERT_FALSE(fake::sounds.empty());
    EXPECT_TRUE(fake::sounds.back().isResource);
    EXPECT_EQ(fake::sounds.back().resourceId, IDW_BREEZE);
}

// Move mode, the lock and a ringing alarm in the orders a user can bring
// about: what the alarm does while the moving pose shows happens to the
// state underneath, so every breeze runs out, no breeze flag outlives its
// breeze state (which would hold the chooser back for good) and the pose
// never outlasts move mode.
TEST_F(CommandsTest, AlarmUnderMoveModeLeavesNoBreezeOrPoseBehind) {
    struct Case {
        UINT chosen; // from the menu, then a breeze when breeze is set
        bool breeze;
        const char* events; // M move mode, A the alarm starts, E its minute ends, C panel click,
                            // L the lock
        UINT after;         // once any breeze has run out
    } cases[] = {{IDM_FANNING, true, "AMEM", Fanning},
                 {IDM_FANNING, true, "MAME", Fanning},
                 {IDM_FANNING, true, "AMME", Fanning},
                 {IDM_READING, true, "MAEM", Reading},
                 {IDM_READING, true, "MAMC", Reading},
                 {IDM_DOZING, true, "AMEM", Dozing},
                 {IDM_LOOKING_AROUND, true, "MAEM", LookingAround},
                 {IDM_READING, false, "MAMC", Reading},
                 {IDM_DOZING, false, "MAEM", Dozing},
                 {IDM_READING, true, "ALEL", LookingAround},
                 {IDM_FANNING, true, "ALCL", LookingAround},
                 {IDM_DOZING, true, "AMLEML", LookingAround},
                 {IDM_READING, true, "LAEL", Reading},
                 {IDM_DOZING, true, "LAEL", Dozing},
                 {IDM_LOOKING_AROUND, true, "LAEL", LookingAround},
                 {IDM_LOOKING_AROUND, true, "ALLE", LookingAround}};
    for (const Case& c : cases) {
        ResetProgram();
        WriteSettingsFile(
            "[ALARM]\r\nアラーム使用=1\r\n毎日アラーム=1\r\n設定時刻時=7\r\n設定時刻分=30\r\n");
        ASSERT_NE(Create(), nullptr);
        Command(c.chosen);
        if (c.breeze)
            Command(IDM_BREEZE);
        for (const char* e = c.events; *e != '\0'; ++e) {
            if (*e == 'M')
                Command(IDM_MOVE);
            else if (*e == 'L')
                Command(IDM_LOCK);
            else if (*e == 'C')
                SendMessageA(gMascot.infoWindow, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            else {
                fake::SetClock(7, *e == 'A' ? 30 : 31);
                RedrawInfo();
            }
            EXPECT_TRUE(gMascot.flags.moveMode == 0 || gMascot.state == Moving) << c.events << *e;
        }
        ASSERT_EQ(gMascot.flags.moveMode, 0) << c.events;
        ASSERT_EQ(gMascot.flags.alarmRinging, 0) << c.events;
        EXPECT_NE(gMascot.state, Moving) << c.events;
        const int length = gMascot.flags.breezeLength;
        int steps = 0;
        for (; gMascot.flags.breezeOn == 1 && steps < 200; ++steps)
            StepAnimation();
        // The breeze runs its whole length once more, no longer, and its sound ends.
        EXPECT_EQ(gMascot.flags.breezeOn, 0) << c.events;
        if (c.breeze && length >= 0 && length < kNoBreeze) {
            EXPECT_LE(steps, breezeEndStep[length] + 1) << c.events;
        }
        EXPECT_EQ(gMascot.flags.breezeLength, kNoBreeze) << c.events;
        EXPECT_EQ(gMascot.state, c.after) << c.chosen << c.events;
        EXPECT_EQ(gMascot.resumeState, static_cast<int>(c.after)) << c.events; // no breeze state
        ASSERT_FALSE(fake::sounds.empty());
        EXPECT_EQ(fake::sounds.back().flags, 0u) << c.events;
        Destroy();
    }
}

TEST_F(CommandsTest, PanelFollowsTheMascotAfterMoveModeEvenWhenHidden) {
    for (bool shown : {true, false}) {
        ResetProgram();
        if (!shown)
            WriteSettingsFile("[OPTION]\r\n情報ウィンドウ=0\r\n");
        ASSERT_NE(Create(), nullptr);
        Command(IDM_MOVE);
        MoveWindow(gMascot.mainWindow, 300, 250, kMascotSize, kMascotSize, TRUE); // the drag
        Command(IDM_MOVE);
        RECT panel{};
        GetWindowRect(gMascot.infoWindow, &panel);
        EXPECT_EQ(panel.left, 180) << shown;
        EXPECT_EQ(panel.top, 270) << shown;
        EXPECT_EQ(panel.right - panel.left, 160) << shown;
        EXPECT_EQ(panel.bottom - panel.top, 60) << shown;
        EXPECT_EQ(PanelVisible(), shown);
        // Dragged to the left edge, where the panel would stick out of the
        // screen, it stands on her right.
        Command(IDM_MOVE);
        MoveWindow(gMascot.mainWindow, 10, 250, kMascotSize, kMascotSize, TRUE);
        Command(IDM_MOVE);
        GetWindowRect(gMascot.infoWindow, &panel);
        EXPECT_EQ(panel.left, 90) << shown;
        EXPECT_EQ(panel.top, 270) << shown;
        Destroy();
    }
}

TEST_F(CommandsTest, PanelChosenDuringMoveModeWaitsForItsEnd) {
    WriteSettingsFile("[OPTION]\r\n情報ウィンドウ=0\r\n");
    ASSERT_NE(Create(), nullptr);
    Command(IDM_MOVE);
    Command(IDM_INFO);
    EXPECT_TRUE(Checked(IDM_INFO));
    EXPECT_TRUE(FileHas("情報ウィンドウ=1"));
    EXPECT_EQ(gMascot.flags.infoShown, 1);
    EXPECT_FALSE(PanelVisible());
    // A left click in move mode drags; it does not show the panel.
    LeftClick();
    PumpMessages();
    EXPECT_FALSE(PanelVisible());
    Command(IDM_MOVE);
    EXPECT_TRUE(PanelVisible());
}

namespace {

// The windows activated while a hook is set, in order.
std::vector<HWND> activated;
LRESULT CALLBACK NoteActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE)
        activated.push_back(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST_F(CommandsTest, LeftClickOnTheIconNeverShowsAHiddenPanel) {
    WriteSettingsFile("[OPTION]\r\n情報ウィンドウ=0\r\n");
    ASSERT_NE(Create(), nullptr);
    const std::string before = ReadSettingsFile();
    for (LPARAM mouse :
         {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE, WM_LBUTTONDBLCLK, WM_RBUTTONUP}) {
        EXPECT_EQ(SendMessageA(gMascot.mainWindow, kTrayMessage, 0, mouse), 0);
        EXPECT_FALSE(PanelVisible()) << mouse;
    }
    EXPECT_EQ(ReadSettingsFile(), before);

    // With the panel shown, the panel and then the mascot are activated, so
    // both come in front of whatever window had the foreground.
    LeftClick();
    activated.clear();
    HHOOK hook = SetWindowsHookExA(WH_CBT, NoteActivation, nullptr, GetCurrentThreadId());
    SendMessageA(gMascot.mainWindow, kTrayMessage, 0, WM_LBUTTONDOWN);
    UnhookWindowsHookEx(hook);
    const std::vector<HWND> panelThenMascot = {gMascot.infoWindow, gMascot.mainWindow};
    EXPECT_EQ(activated, panelThenMascot);
}

namespace {

RECT openedMenu;
bool nullPosted;

// Runs inside the menu's own loop: notes where the menu stands and closes it.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu != nullptr && IsWindowVisible(menu)) {
        GetWindowRect(menu, &openedMenu);
        KillTimer(nullptr, timer);
        EndMenu();
    }
}

// The panel is active before, as another window might be.
RECT OpenedMenu(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    openedMenu = RECT{-1, -1, -1, -1};
    SetForegroundWindow(gMascot.infoWindow);
    activated.clear();
    HHOOK hook = SetWindowsHookExA(WH_CBT, NoteActivation, nullptr, GetCurrentThreadId());
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseMenu);
    SendMessageA(window, message, wParam, lParam);
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(hook);
    // Windows closes a menu of a background program properly only when a
    // message follows it.
    MSG posted;
    nullPosted = false;
    while (PeekMessageA(&posted, window, 0, 0, PM_REMOVE)) {
        if (posted.message == WM_NULL)
            nullPosted = true;
        else
            DispatchMessageA(&posted);
    }
    PumpMessages();
    return openedMenu;
}

} // namespace

TEST_F(CommandsTest, MenuOpensAtTheClickPointOrAtTheCursor) {
    WriteSettingsFile("[OPTION]\r\n初期位置Ｘ座標=300\r\n初期位置Ｙ座標=200\r\n");
    ASSERT_NE(Create(), nullptr);
    SetCursorPos(500, 350);
    RECT menu = OpenedMenu(gMascot.mainWindow, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 30));
    EXPECT_EQ(menu.left, 310);
    EXPECT_EQ(menu.top, 230);
    // Windows closes the menu on a click elsewhere only when its window has
    // the foreground: it is activated first.
    ASSERT_FALSE(activated.empty());
    EXPECT_EQ(activated.front(), gMascot.mainWindow);
    menu = OpenedMenu(gMascot.mainWindow, kTrayMessage, 0, WM_RBUTTONDOWN);
    EXPECT_EQ(menu.left, 500);
    EXPECT_EQ(menu.top, 350);
    ASSERT_FALSE(activated.empty());
    EXPECT_EQ(activated.front(), gMascot.mainWindow);
    EXPECT_TRUE(nullPosted);
    // In move mode too.
    Command(IDM_MOVE);
    menu = OpenedMenu(gMascot.mainWindow, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 5));
    EXPECT_EQ(menu.left, 320);
    EXPECT_EQ(menu.top, 205);
}

namespace {

NOTIFYICONDATAA trayIcon;
bool iconLeftAtDestroy;

// Runs after a window procedure has handled a message. When the mascot has
// handled WM_DESTROY its window still exists, so the icon must be gone by
// the program's own doing: Windows leaves the icon of a destroyed window in
// the notification area until the mouse passes over it.
LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_DESTROY && message->hwnd == trayIcon.hWnd)
        iconLeftAtDestroy = Shell_NotifyIconA(NIM_MODIFY, &trayIcon) != FALSE;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

// While the alarm dialog is open the alarm command is chosen again (the
// icon's menu allows it); a moment later the dialogs of this thread are
// counted and cancelled.
int gAlarmDialogs;
BOOL CALLBACK CancelAlarmDialog(HWND window, LPARAM) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (IsWindowVisible(window) && lstrcmpA(name, "#32770") == 0) {
        ++gAlarmDialogs;
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
    return TRUE;
}
void CALLBACK CountAndCancelDialogs(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    gAlarmDialogs = 0;
    EnumThreadWindows(GetCurrentThreadId(), CancelAlarmDialog, 0);
}
void CALLBACK ChooseAlarmAgain(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA("#32770", "アラームの設定");
    if (dialog == nullptr || !IsWindowVisible(dialog))
        return;
    KillTimer(nullptr, timer);
    PostMessageA(gMascot.mainWindow, WM_COMMAND, IDM_ALARM, 0);
    SetTimer(nullptr, 0, 300, CountAndCancelDialogs);
}

TEST_F(CommandsTest, AlarmCommandOpensOneDialogAtATime) {
    ASSERT_NE(Create(), nullptr);
    for (int time = 0; time < 2; ++time) { // closed, it opens again
        gAlarmDialogs = 0;
        const UINT_PTR watch = SetTimer(nullptr, 0, 20, ChooseAlarmAgain);
        Command(IDM_ALARM);
        KillTimer(nullptr, watch); // when no dialog came, it would wait for the next
        EXPECT_EQ(gAlarmDialogs, 1) << time;
    }
}

TEST_F(CommandsTest, ExitDestroysBothWindowsAndEndsTheLoop) {
    ASSERT_NE(Create(), nullptr);
    const HWND panel = gMascot.infoWindow;
    trayIcon = gMascot.trayData;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &trayIcon)); // the icon is there
    iconLeftAtDestroy = true;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterMessage, nullptr, GetCurrentThreadId());
    Command(IDM_EXIT);
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_FALSE(IsWindow(gMascot.mainWindow));
    EXPECT_FALSE(iconLeftAtDestroy);
    EXPECT_TRUE(PumpMessages());
    gMascot.mainWindow = nullptr;
}
