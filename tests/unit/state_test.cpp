// The status word and the three shared operations on the state.
#include <gtest/gtest.h>

#include <cstring>

#include "app/state.h"
#include "support/fake_platform.h"
#include "support/test_env.h"

namespace {

unsigned Word(const StatusFlags& flags) {
    unsigned word;
    std::memcpy(&word, &flags, sizeof word);
    return word;
}

class StateTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetProgram(); }
};

} // namespace

TEST_F(StateTest, StatusFieldsSitAtTheirBits) {
    StatusFlags flags{};
    flags.onTop = 1;
    EXPECT_EQ(Word(flags), 1u << 4);
    flags = StatusFlags{};
    flags.alarmDaily = 1;
    EXPECT_EQ(Word(flags), 1u << 16);
    flags = StatusFlags{};
    flags.infoPage = 2;
    EXPECT_EQ(Word(flags), 2u << 18);
    flags = StatusFlags{};
    flags.breezeLength = kNoBreeze;
    EXPECT_EQ(Word(flags), 6u << 21);
}

TEST_F(StateTest, TwoBitFieldLoadedWith2Or3IsNeitherOffNorOn) {
    StatusFlags flags{};
    for (int stored : {2, 3, 6, 7}) {
        flags.onTop = stored & 3;
        EXPECT_NE(flags.onTop, 0) << stored;
        EXPECT_NE(flags.onTop, 1) << stored;
    }
    flags.alarmEnabled = 5 & 3; // only the low two bits count
    EXPECT_EQ(flags.alarmEnabled, 1);
    flags.alarmEnabled = 4 & 3;
    EXPECT_EQ(flags.alarmEnabled, 0);
    // A neighbour's bits are untouched by a 2 or 3 stored next to them.
    flags = StatusFlags{};
    flags.alarmEnabled = 3;
    EXPECT_EQ(flags.alarmDaily, 0);
    EXPECT_EQ(flags.alarmBlink, 0);
}

TEST_F(StateTest, BreezeLengthHoldsCodesZeroToSix) {
    StatusFlags flags{};
    for (int code = 0; code <= 6; ++code) {
        flags.breezeLength = code;
        EXPECT_EQ(flags.breezeLength, code);
    }
}

TEST_F(StateTest, SavedStateHoldsEveryAnimState) {
    for (UINT s = Reading; s <= ReadingLeadIn; ++s) {
        gMascot.saved.savedState = static_cast<int>(s);
        EXPECT_EQ(static_cast<UINT>(gMascot.saved.savedState), s);
    }
}

TEST_F(StateTest, EnterStateClearsTheBreeze) {
    gMascot.flags.breezeOn = 1;
    gMascot.flags.breezeLength = 3;
    gMascot.breezeTicks = 40;
    EnterState(Dozing);
    EXPECT_EQ(gMascot.state, Dozing);
    EXPECT_EQ(gMascot.resumeState, Dozing);
    EXPECT_EQ(gMascot.flags.breezeOn, 0);
    EXPECT_EQ(gMascot.flags.breezeLength, kNoBreeze);
    EXPECT_EQ(gMascot.breezeTicks, 0);
}

TEST_F(StateTest, StopSoundUnlessAlarmNeverSilencesTheAlarm) {
    StopSoundUnlessAlarm();
    ASSERT_EQ(fake::sounds.size(), 1u);
    EXPECT_FALSE(fake::sounds[0].isResource);
    EXPECT_TRUE(fake::sounds[0].name.empty());
    EXPECT_EQ(fake::sounds[0].module, nullptr);
    EXPECT_EQ(fake::sounds[0].flags, 0u);

    fake::sounds.clear();
    gMascot.flags.alarmRinging = 1;
    StopSoundUnlessAlarm();
    EXPECT_TRUE(fake::sounds.empty());
}

TEST_F(StateTest, RestoreResumeStatePrimesOnlyTheNamedStates) {
    struct Case {
        UINT state;
        UINT cursor;
    } cases[] = {{Reading, 2}, {Dozing, 2}, {LookingAround, 1}, {DozingBreeze, 2}};
    for (const Case& c : cases) {
        ResetProgram();
        Cursor(c.state) = 7;
        gMascot.resumeState = static_cast<int>(c.state);
        gMascot.breezeTicks = 12;
        RestoreResumeState(PrimeAll);
        EXPECT_EQ(gMascot.state, c.state);
        EXPECT_EQ(Cursor(c.state), c.cursor) << c.state;
        EXPECT_EQ(gMascot.breezeTicks, 0);
    }
    // The end of an alarm's minute leaves the reading cursor where it was.
    ResetProgram();
    Cursor(Reading) = 7;
    gMascot.resumeState = Reading;
    RestoreResumeState(PrimeDozing | PrimeLookingAround | PrimeDozingBreeze);
    EXPECT_EQ(Cursor(Reading), 7u);
}

TEST_F(StateTest, RestoreToFanningChangesNoCursor) {
    for (UINT& cursor : gMascot.frameCursor)
        cursor = 5;
    gMascot.state = LookingAround;
    gMascot.resumeState = Fanning;
    RestoreResumeState(PrimeAll);
    EXPECT_EQ(gMascot.state, Fanning);
    for (UINT cursor : gMascot.frameCursor)
        EXPECT_EQ(cursor, 5u);
}

TEST_F(StateTest, RestoreBeforeAnyStateWasRecordedKeepsAValidState) {
    // An alarm that began under the lock recorded nothing; silenced after the
    // lock was released, it finds resumeState still 0.
    gMascot.state = Fanning;
    gMascot.resumeState = 0;
    gMascot.breezeTicks = 9;
    RestoreResumeState(PrimeAll);
    EXPECT_TRUE(IsAnimState(gMascot.state));
    EXPECT_EQ(gMascot.state, Fanning);
    EXPECT_EQ(gMascot.breezeTicks, 0);
    // The next state change works as usual.
    EnterState(Dozing);
    EXPECT_EQ(gMascot.state, Dozing);
    EXPECT_EQ(gMascot.resumeState, Dozing);
}
