// The sequencer on the real window: each state's frames, the lead-in's
// hand-over, breezes with their sound and their ends, StartBreeze, and when
// the window's shape is replaced.
#include <gtest/gtest.h>

#include <vector>

#include "anim/sequencer.h"
#include "anim/sprites.h"
#include "app/sound.h"
#include "app/state.h"
#include "app/window_classes.h"
#include "support/fake_platform.h"
#include "support/test_env.h"

namespace {

bool IsBreezeStart(const SoundCall& c) {
    return c.isResource && c.resourceId == 120 && c.flags == 0x4000F &&
           c.module == gMascot.instance;
}

bool IsStop(const SoundCall& c) { return !c.isResource && c.name.empty() && c.flags == 0; }

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
        for (int i = 0; i < n; ++i) {
            StepAnimation();
            frames.push_back(gMascot.currentFrame);
        }
        return frames;
    }

    static bool ShapeFollowsFrame() {
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        GetWindowRgn(gMascot.mainWindow, shape);
        const bool same = EqualRgn(shape, gMascot.spriteRegions[gMascot.currentFrame]) != FALSE;
        DeleteObject(shape);
        return same;
    }
};

} // namespace

TEST_F(SequencerTest, DayStartLeadsInThenReadsAndLaterLeadInsGoStraightToReading) {
    ASSERT_EQ(gMascot.state, ReadingLeadIn);
    const int expected[] = {25, 25, 25, 0, 4, 0, 0};
    for (int frame : expected) {
        StepAnimation();
        EXPECT_EQ(gMascot.currentFrame, frame);
        EXPECT_TRUE(ShapeFollowsFrame()) << "frame " << frame;
    }
    EXPECT_EQ(gMascot.state, Reading);
    EXPECT_EQ(Cursor(Reading), 4u);
    EXPECT_EQ(Cursor(ReadingLeadIn), 4u);
    EnterState(ReadingLeadIn);
    EXPECT_EQ(Steps(1), std::vector<int>{4});
    EXPECT_EQ(gMascot.state, Reading);
    EXPECT_EQ(Cursor(Reading), 2u);
}

TEST_F(SequencerTest, EachStateShowsItsSequenceFromTheCursor) {
    const std::vector<std::pair<UINT, std::vector<int>>> sequences = {
        {Reading, {0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 3}},
        {Moving, {5, 6, 7, 8}},
        {Dozing, {9, 9, 9, 10, 10, 10, 11, 11, 11}},
        {Fanning, {12, 13, 14}},
        {LookingAround, {17, 17, 15, 15, 18, 15, 15, 18, 15, 15, 16, 16}},
        {LookingAroundBreeze, {18, 20, 18, 19, 20, 19}},
        {DozingBreeze, {9, 9, 9, 21, 21, 21, 11, 11, 11}},
        {ReadingBreeze, {22, 23, 24, 22, 23, 24, 22}},
    };
    for (const auto& [state, frames] : sequences) {
        EnterState(state); // breezeLength 6: a breeze state runs on without end
        const UINT length = static_cast<UINT>(frames.size());
        Cursor(state) = length - 1;
        EXPECT_EQ(Steps(static_cast<int>(length) + 1).back(), frames[0]) << state;
        Cursor(state) = length - 1;
        EXPECT_EQ(Steps(static_cast<int>(length)), frames) << "state " << state;
        EXPECT_TRUE(ShapeFollowsFrame());
    }
}

TEST_F(SequencerTest, BreezeEndsOnItsStepAndReturnsToThePrimedPlainState) {
    struct Case {
        UINT plain, breeze;
        int frame;
        UINT cursor;
    } cases[] = {{LookingAround, LookingAroundBreeze, 17, 1},
                 {Dozing, DozingBreeze, 9, 1},
                 {Reading, ReadingBreeze, 4, 2}};
    for (const Case& c : cases) {
        EnterState(c.plain);
        ASSERT_TRUE(StartBreeze());
        gMascot.flags.breezeLength = 0;
        fake::sounds.clear();
        Steps(23);
        EXPECT_EQ(gMascot.state, c.breeze);
        ASSERT_EQ(fake::sounds.size(), 1u);
        EXPECT_TRUE(IsBreezeStart(fake::sounds[0]));
        EXPECT_EQ(Steps(1).back(), c.frame) << c.plain;
        EXPECT_TRUE(ShapeFollowsFrame());
        ASSERT_EQ(fake::sounds.size(), 2u);
        EXPECT_TRUE(IsStop(fake::sounds[1]));
        EXPECT_EQ(gMascot.state, c.plain);
        EXPECT_EQ(gMascot.resumeState, static_cast<int>(c.plain));
        EXPECT_EQ(Cursor(c.plain), c.cursor);
        EXPECT_EQ(gMascot.flags.breezeOn, 0);
        EXPECT_EQ(gMascot.flags.breezeLength, kNoBreeze);
        EXPECT_EQ(gMascot.breezeTicks, 0);
    }
    const int breezeSteps[] = {23, 45, 69, 95, 115, 140};
    for (int code = 0; code <= 5; ++code) {
        EnterState(Reading);
        StartBreeze();
        gMascot.flags.breezeLength = code;
        int steps = 0;
        while (gMascot.state == ReadingBreeze && steps < 200) {
            StepAnimation();
            ++steps;
        }
        EXPECT_EQ(steps - 1, breezeSteps[code]) << "length code " << code;
    }
}

TEST_F(SequencerTest, FanningBreezeOnlyPlaysTheSoundAndTheAlarmKeepsItsOwn) {
    EnterState(Fanning);
    Cursor(Fanning) = 2;
    StartBreeze();
    gMascot.flags.breezeLength = 0;
    const std::vector<int> frames = Steps(30);
    for (size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(frames[i], 12 + static_cast<int>(i % 3));
    ASSERT_EQ(fake::sounds.size(), 2u); // started on step 1, stopped on step 24
    EXPECT_TRUE(IsBreezeStart(fake::sounds[0]));
    EXPECT_TRUE(IsStop(fake::sounds[1]));
    EXPECT_EQ(gMascot.state, Fanning);
    EXPECT_EQ(gMascot.flags.breezeOn, 0);

    // While the alarm rings, breezes start and end without touching sound.
    gMascot.flags.alarmRinging = 1;
    fake::sounds.clear();
    for (UINT plain : {Fanning, Dozing}) {
        EnterState(plain);
        StartBreeze();
        gMascot.flags.breezeLength = 0;
        Steps(24);
        EXPECT_EQ(gMascot.state, plain);
        EXPECT_EQ(gMascot.flags.breezeOn, 0);
    }
    EXPECT_TRUE(fake::sounds.empty());
}

TEST_F(SequencerTest, StartBreezeSwitchesOnlyStatesWithAVariant) {
    struct Case {
        UINT before, after;
        bool started;
    } cases[] = {{Reading, ReadingBreeze, true},
                 {Fanning, Fanning, true},
                 {Dozing, DozingBreeze, true},
                 {LookingAround, LookingAroundBreeze, true},
                 {Moving, Moving, false},
                 {ReadingLeadIn, ReadingLeadIn, false},
                 {ReadingBreeze, ReadingBreeze, false},
                 {DozingBreeze, DozingBreeze, false}};
    for (const Case& c : cases) {
        EnterState(c.before);
        gMascot.resumeState = 99;
        gMascot.breezeTicks = 10;
        Cursor(ReadingBreeze) = 5;
        Cursor(DozingBreeze) = 7;
        EXPECT_EQ(StartBreeze(), c.started) << c.before;
        EXPECT_EQ(gMascot.state, c.after);
        EXPECT_EQ(gMascot.flags.breezeOn, c.started ? 1 : 0);
        EXPECT_EQ(gMascot.breezeTicks, c.started ? 0 : 10);
        const bool variant = c.started && c.before != Fanning;
        EXPECT_EQ(gMascot.resumeState, variant ? static_cast<int>(c.after) : 99);
        EXPECT_EQ(Cursor(ReadingBreeze), 5u);
        EXPECT_EQ(Cursor(DozingBreeze), c.after == DozingBreeze && c.started ? 2u : 7u);
    }
    EXPECT_TRUE(fake::sounds.empty());
}

TEST_F(SequencerTest, ShapeIsReplacedWhenTheShownFrameChangesAndOnlyThen) {
    EnterState(Reading);
    Cursor(Reading) = 4;
    Steps(1);
    gMascot.windowRegion = nullptr; // set again only when a shape is handed over
    Steps(1);                       // entries 0 -> 0
    EXPECT_EQ(gMascot.windowRegion, nullptr);
    Cursor(Reading) = 1;
    Steps(1); // entries 0 -> 4
    EXPECT_NE(gMascot.windowRegion, nullptr);

    // Entries that agree across a change of state (22 -> 22) must still
    // bring the new frame's shape, or key colour shows around the figure:
    // here the end of move mode returns to a breeze from the standing pose.
    EnterState(Moving);
    Steps(1);
    ASSERT_FALSE(EqualRgn(gMascot.spriteRegions[gMascot.currentFrame], gMascot.spriteRegions[22]));
    gMascot.state = ReadingBreeze;
    gMascot.flags.breezeOn = 1;
    gMascot.flags.breezeLength = 0;
    Cursor(ReadingBreeze) = 6;
    EXPECT_EQ(Steps(1).back(), 22);
    EXPECT_TRUE(ShapeFollowsFrame());
    EXPECT_EQ(Steps(1).back(), 23);
    // Likewise a breeze that ends with the Reading cursor at 2 (4 -> 4).
    ASSERT_FALSE(EqualRgn(gMascot.spriteRegions[23], gMascot.spriteRegions[4]));
    Cursor(Reading) = 2;
    gMascot.breezeTicks = 23;
    EXPECT_EQ(Steps(1).back(), 4);
    EXPECT_TRUE(ShapeFollowsFrame());

    // No state (a restore before any was recorded): the frame stays.
    gMascot.state = 0;
    EXPECT_EQ(Steps(2), (std::vector<int>{4, 4}));
}

TEST(SoundForms, EachFormHasItsFlagsModuleAndName) {
    ResetProgram();
    LoopSoundResource(121);
    LoopSoundFile("alarm.wav");
    StopSound();
    ASSERT_EQ(fake::sounds.size(), 3u);
    EXPECT_TRUE(fake::sounds[0].isResource);
    EXPECT_EQ(fake::sounds[0].resourceId, 121);
    EXPECT_EQ(fake::sounds[0].module, gMascot.instance);
    EXPECT_EQ(fake::sounds[0].flags, 0x4000Fu);
    EXPECT_EQ(fake::sounds[1].name, "alarm.wav");
    EXPECT_EQ(fake::sounds[1].module, nullptr);
    EXPECT_EQ(fake::sounds[1].flags, 0x2000Bu);
    EXPECT_TRUE(IsStop(fake::sounds[2]));
    EXPECT_EQ(fake::sounds[2].module, nullptr);
}
