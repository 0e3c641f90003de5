// The sequencer on the real window: frames, the lead-in, breeze ends and
// their sound, and when the window's shape is replaced.
#include <gtest/gtest.h>

#include <vector>

#include "anim/sequencer.h"
#include "app/window_classes.h"
#include "support/fake_platform.h"
#include "support/test_env.h"

namespace {

// The flags of the mascot window's last change of position or shape.
UINT positionFlags;

LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_WINDOWPOSCHANGED &&
        message->hwnd == gMascot.mainWindow)
        positionFlags = reinterpret_cast<const WINDOWPOS*>(message->lParam)->flags;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class SequencerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProgram();
        fake::SetClock(10, 0); // day band: the mascot starts with the lead-in
        gMascot.mainWindow =
            CreateWindowExA(WS_EX_TOOLWINDOW, kMascotClass, nullptr, WS_POPUP, 0, 0, 80, 80,
                            nullptr, nullptr, gMascot.instance, nullptr);
        fake::sounds.clear();
    }
    void TearDown() override {
        DestroyWindow(gMascot.infoWindow);
        DestroyWindow(gMascot.mainWindow);
        PumpMessages();
    }
    static std::vector<int> Steps(int n) {
        std::vector<int> frames;
        for (int i = 0; i < n; ++i, frames.push_back(gMascot.currentFrame))
            StepAnimation();
        return frames;
    }
    static bool ShapeFollowsFrame() {
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        GetWindowRgn(gMascot.mainWindow, shape);
        const bool same = EqualRgn(shape, gMascot.spriteRegions[gMascot.currentFrame]);
        DeleteObject(shape);
        return same;
    }
    // Sound calls as flags: 0x4000F loops a resource (the breeze's, 120), 0 stops.
    static std::vector<DWORD> Sounds() {
        std::vector<DWORD> flags;
        for (const SoundCall& c : fake::sounds)
            flags.push_back(c.isResource && c.resourceId != 120 ? 1 : c.flags);
        return flags;
    }
};

} // namespace

TEST_F(SequencerTest, DayStartLeadsInThenReads) {
    ASSERT_EQ(gMascot.state, ReadingLeadIn);
    for (int frame : {25, 25, 25, 0, 4, 0}) {
        EXPECT_EQ(Steps(1).back(), frame);
        EXPECT_TRUE(ShapeFollowsFrame()) << frame;
    }
    EXPECT_EQ(gMascot.state, Reading);
    EXPECT_EQ(Steps(13).back(), 1); // the first page turn comes on time
    EnterState(ReadingLeadIn);      // its cursor stayed at the hand-over entry
    EXPECT_EQ(Steps(1).back(), 4);
    EXPECT_EQ(gMascot.state, Reading);
}

TEST_F(SequencerTest, EachStateShowsItsSequence) {
    const std::pair<UINT, std::vector<int>> sequences[] = {
        {Reading, {0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 3}},
        {Moving, {5, 6, 7, 8}},
        {Dozing, {9, 9, 9, 10, 10, 10, 11, 11, 11}},
        {Fanning, {12, 13, 14}},
        {LookingAround, {17, 17, 15, 15, 18, 15, 15, 18, 15, 15, 16, 16}},
        {LookingAroundBreeze, {18, 20, 18, 19, 20, 19}},
        {DozingBreeze, {9, 9, 9, 21, 21, 21, 11, 11, 11}},
        {ReadingBreeze, {22, 23, 24, 22, 23, 24, 22}}};
    for (const auto& [state, frames] : sequences) {
        EnterState(state); // no breeze length: a breeze state runs on
        Cursor(state) = static_cast<UINT>(frames.size() - 1);
        fake::sounds.clear();
        EXPECT_EQ(Steps(static_cast<int>(frames.size())), frames) << "state " << state;
        if (state == Fanning) { // no breeze has counted a tick yet, and none blows
            EXPECT_TRUE(fake::sounds.empty());
        }
    }
}

TEST_F(SequencerTest, BreezeEndsOnItsStepWithSoundUnlessTheAlarmRings) {
    struct Case {
        UINT plain;
        int frame;
        UINT cursor;
    } cases[] = {{LookingAround, 17, 1}, {Dozing, 9, 1}, {Reading, 4, 2}, {Fanning, -1, 0}};
    for (int ringing = 0; ringing < 2; ++ringing)
        for (const Case& c : cases) {
            gMascot.flags.alarmRinging = ringing;
            EnterState(c.plain);
            ASSERT_TRUE(StartBreeze());
            // Recorded for a return from an alarm that begins meanwhile.
            EXPECT_EQ(gMascot.resumeState, static_cast<int>(gMascot.state));
            gMascot.flags.breezeLength = 0;
            fake::sounds.clear();
            std::vector<int> frames = Steps(1); // the breeze's sound starts with its first step
            EXPECT_EQ(fake::sounds.size(), ringing ? 0u : 1u) << c.plain;
            const std::vector<int> rest = Steps(23);
            frames.insert(frames.end(), rest.begin(), rest.end());
            EXPECT_EQ(Sounds(), (ringing ? std::vector<DWORD>{} : std::vector<DWORD>{0x4000F, 0}));
            EXPECT_EQ(gMascot.state, c.plain);
            EXPECT_EQ(gMascot.resumeState, static_cast<int>(c.plain));
            EXPECT_EQ(gMascot.flags.breezeOn, 0);
            EXPECT_EQ(gMascot.flags.breezeLength, kNoBreeze);
            if (c.plain == Fanning) // a breeze never changes the fanning frames
                EXPECT_EQ(frames[23], 12 + (23 + 1) % 3);
            else
                EXPECT_EQ(frames[23], c.frame);
            EXPECT_EQ(Cursor(c.plain), c.plain == Fanning ? 0u : c.cursor);
            EXPECT_TRUE(ShapeFollowsFrame());
            Steps(3); // the plain state plays no sound of its own
            EXPECT_EQ(fake::sounds.size(), ringing ? 0u : 2u) << c.plain;
        }
    const int lengths[] = {23, 45, 69, 95, 115, 140};
    for (int code = 0; code <= 5; ++code) {
        EnterState(Dozing);
        StartBreeze();
        gMascot.flags.breezeLength = code;
        Steps(lengths[code]);
        EXPECT_EQ(gMascot.state, DozingBreeze) << code;
        Steps(1);
        EXPECT_EQ(gMascot.state, Dozing) << code;
    }
    EXPECT_FALSE(StartBreeze() && StartBreeze()); // no breeze in a breeze state
}

TEST_F(SequencerTest, ShapeIsReplacedWhenTheShownFrameChangesAndOnlyThen) {
    EnterState(Reading);
    Cursor(Reading) = 4;
    Steps(1);
    gMascot.windowRegion = nullptr; // set again only when a shape is handed over
    Steps(1);                       // entries 0 -> 0
    EXPECT_EQ(gMascot.windowRegion, nullptr);
    // Entries that agree across a change of state (22 -> 22) must still
    // bring the new frame's shape: here move mode ends into a breeze.
    EnterState(Moving);
    Steps(1);
    gMascot.state = ReadingBreeze;
    gMascot.flags.breezeLength = 0;
    Cursor(ReadingBreeze) = 6;
    ShowWindow(gMascot.mainWindow, SW_SHOWNOACTIVATE); // a hidden window is never redrawn
    positionFlags = SWP_NOREDRAW;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterMessage, nullptr, GetCurrentThreadId());
    EXPECT_EQ(Steps(1).back(), 22);
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(ShapeFollowsFrame());
    // Redrawn with it, as a shown window's new shape must be: without, what
    // the old shape covered may keep the old frame's pixels.
    EXPECT_EQ(positionFlags & SWP_NOREDRAW, 0u);
    // Likewise a breeze that ends from frame 23 with the Reading cursor at 2.
    EXPECT_EQ(Steps(1).back(), 23);
    Cursor(Reading) = 2;
    gMascot.breezeTicks = 23;
    EXPECT_EQ(Steps(1).back(), 4);
    EXPECT_TRUE(ShapeFollowsFrame());
    gMascot.state = 0; // a restore before any state was recorded
    EXPECT_EQ(Steps(1).back(), 4);
}
