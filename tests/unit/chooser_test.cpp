// The behaviour chooser: its cadence, the breeze draw by hour, the changes by
// hour band, and the cases in which it acts without changing anything.
#include <gtest/gtest.h>

#include <functional>

#include "anim/chooser.h"
#include "anim/random.h"
#include "app/state.h"
#include "support/fake_platform.h"
#include "support/test_env.h"

namespace {

void SeedWithSum(WORD sum) {
    gMascot.now = SYSTEMTIME{};
    gMascot.now.wYear = sum;
    SeedRandom();
}

// Seeds the generator so that its next draws satisfy the wish; returns the
// seed.
WORD SeedSoThat(const std::function<bool()>& wish) {
    for (WORD sum = 1; sum < 60000; ++sum) {
        SeedWithSum(sum);
        if (wish()) {
            SeedWithSum(sum);
            return sum;
        }
    }
    ADD_FAILURE() << "no seed found";
    return 0;
}

// The generator value that follows `draws` draws from the seed.
int ValueAfterDraws(WORD seed, int draws) {
    SeedWithSum(seed);
    for (int i = 0; i < draws; ++i)
        NextRandom();
    const int value = NextRandom();
    SeedWithSum(seed);
    return value;
}

class ChooserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProgram();
        gMascot.flags.breezeLength = kNoBreeze;
        fake::SetClock(12, 1);
    }

    static void Act(UINT state, int hour, int minute) {
        gMascot.state = state;
        fake::SetClock(hour, minute);
        gMascot.chooserTicks = 117;
        ChooseBehaviour();
    }
};

} // namespace

TEST_F(ChooserTest, ActsOnEvery118thCallAndFreezesTheCountWhileFixedOrMoving) {
    for (int i = 0; i < 117; ++i)
        ChooseBehaviour();
    EXPECT_EQ(fake::localTimeReads, 0);
    EXPECT_EQ(gMascot.chooserTicks, 117);
    ChooseBehaviour();
    EXPECT_EQ(fake::localTimeReads, 1);
    EXPECT_EQ(gMascot.chooserTicks, 0);

    gMascot.chooserTicks = 50;
    for (int lock = 0; lock < 2; ++lock) {
        gMascot.flags.animLock = lock == 0 ? 1 : 0;
        gMascot.flags.moveMode = lock == 0 ? 0 : 1;
        for (int i = 0; i < 300; ++i)
            ChooseBehaviour();
        EXPECT_EQ(gMascot.chooserTicks, 50);
    }
    gMascot.flags.moveMode = 0;
    for (int i = 0; i < 67; ++i)
        ChooseBehaviour();
    EXPECT_EQ(fake::localTimeReads, 1);
    ChooseBehaviour();
    EXPECT_EQ(fake::localTimeReads, 2);
}

TEST_F(ChooserTest, BreezeLengthDependsOnTheDrawAndTheHourColumn) {
    const int late[24] = {6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 3, 4};
    const int small[24] = {6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3};
    for (int r = 0; r < 24; ++r) {
        EXPECT_EQ(BreezeLengthFor(r, 4), late[r]) << r;
        EXPECT_EQ(BreezeLengthFor(r, 23), late[r]) << r;
        EXPECT_EQ(BreezeLengthFor(r, 3), small[r]) << r;
        EXPECT_EQ(BreezeLengthFor(r, 0), small[r]) << r;
    }

    // The top draw at 4:05 (night band, late column) and at 3:05.
    SeedWithSum(30091);
    Act(Dozing, 4, 5);
    EXPECT_EQ(gMascot.flags.breezeLength, 4);
    EXPECT_EQ(gMascot.state, DozingBreeze);
    EXPECT_EQ(Cursor(DozingBreeze), 2u);
    EXPECT_EQ(gMascot.flags.breezeOn, 1);
    ASSERT_EQ(fake::sounds.size(), 1u); // other sound stopped, breeze sound not yet started
    EXPECT_EQ(fake::sounds[0].flags, 0u);
    gMascot.flags = StatusFlags{};
    gMascot.flags.breezeLength = kNoBreeze;
    SeedWithSum(30091);
    Act(Reading, 3, 5);
    EXPECT_EQ(gMascot.flags.breezeLength, 3);
    EXPECT_EQ(gMascot.state, ReadingBreeze);
    EXPECT_EQ(gMascot.resumeState, static_cast<int>(ReadingBreeze));

    // A length drawn where there is no breeze variant stays pending, and the
    // next acting call at a fifth minute changes behaviour instead.
    EnterState(Moving);
    SeedWithSum(30091);
    Act(Moving, 12, 5);
    EXPECT_EQ(gMascot.state, Moving);
    EXPECT_EQ(gMascot.flags.breezeLength, 4);
    EXPECT_EQ(gMascot.flags.breezeOn, 0);
    SeedSoThat([] { return RandomBelow(4) == 3; });
    Act(Moving, 12, 10);
    EXPECT_EQ(gMascot.state, ReadingLeadIn);
    EXPECT_EQ(gMascot.flags.breezeLength, kNoBreeze);
}

TEST_F(ChooserTest, BandsChangeAtTheirHoursAndHomeStatesMoveOnRarely) {
    struct Case {
        int hour;
        UINT before, after;
    } awayFromHome[] = {{4, Moving, Dozing},
                        {5, Moving, ReadingLeadIn},
                        {12, Moving, ReadingLeadIn},
                        {13, Moving, Fanning},
                        {15, Moving, Fanning},
                        {16, Moving, ReadingLeadIn},
                        {21, Moving, ReadingLeadIn},
                        {22, Moving, Dozing},
                        {12, ReadingLeadIn, ReadingLeadIn}};
    const WORD oneInFour = SeedSoThat([] { return RandomBelow(4) == 3; });
    for (const Case& c : awayFromHome) {
        SeedWithSum(oneInFour);
        Cursor(Dozing) = 7;
        Act(c.before, c.hour, 1);
        EXPECT_EQ(gMascot.state, c.after) << c.hour;
        EXPECT_EQ(gMascot.resumeState, static_cast<int>(c.after));
        EXPECT_EQ(Cursor(Dozing), c.after == Dozing ? 2u : 7u);
    }

    struct HomeCase {
        int hour;
        UINT home;
        bool firstOfThree;
        UINT after;
    } fromHome[] = {{0, Dozing, false, LookingAround},
                    {10, Reading, true, LookingAround},
                    {10, Reading, false, Fanning},
                    {14, Fanning, true, ReadingLeadIn},
                    {14, Fanning, false, Dozing}};
    for (const HomeCase& c : fromHome) {
        const WORD seed = SeedSoThat(
            [&] { return RandomBelow(10) == 9 && (RandomBelow(3) == 0) == c.firstOfThree; });
        const bool drawsTwice = c.home != Dozing;
        const int next = ValueAfterDraws(seed, drawsTwice ? 2 : 1);
        Act(c.home, c.hour, 1);
        EXPECT_EQ(gMascot.state, c.after) << c.hour;
        if (c.after == LookingAround) {
            EXPECT_EQ(Cursor(LookingAround), 1u);
        }
        EXPECT_EQ(NextRandom(), next) << "draws only what it names";
    }
}

TEST_F(ChooserTest, RingingAlarmOrBreezeLeavesAllButTheCountAlone) {
    for (int blocker = 0; blocker < 2; ++blocker) {
        for (int minute : {5, 6}) {
            gMascot.flags.alarmRinging = blocker == 0 ? 1 : 0;
            gMascot.flags.breezeOn = blocker == 1 ? 1 : 0;
            const int next = ValueAfterDraws(30091, 0);
            Act(Reading, 12, minute);
            EXPECT_EQ(gMascot.state, Reading);
            EXPECT_EQ(gMascot.chooserTicks, 0);
            EXPECT_EQ(NextRandom(), next);
        }
    }
    EXPECT_TRUE(fake::sounds.empty());
}
