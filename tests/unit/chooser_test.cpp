// The chooser: its cadence, the breeze draw by hour, changes by hour band,
// and the acting calls that change nothing.
#include <gtest/gtest.h>

#include <functional>

#include "anim/chooser.h"
#include "anim/random.h"
#include "app/state.h"
#include "support/fake_platform.h"
#include "support/test_env.h"

namespace {

void Seed(WORD sum) {
    gMascot.now = SYSTEMTIME{sum, 0, 0, 0, 0, 0, 0, 0};
    SeedRandom();
}

// Seeds so that the next draws satisfy the wish; returns the value drawn
// after `draws` draws, to tell how many the code under test consumed.
int SeedSoThat(const std::function<bool()>& wish, int draws) {
    for (WORD sum = 1; sum < 60000; ++sum) {
        Seed(sum);
        if (wish()) {
            Seed(sum);
            for (int i = 0; i < draws; ++i)
                NextRandom();
            const int after = NextRandom();
            Seed(sum);
            return after;
        }
    }
    ADD_FAILURE() << "no seed found";
    return -1;
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
        EXPECT_EQ(gMascot.chooserTicks, 0);
    }
};

} // namespace

TEST_F(ChooserTest, ActsOnEvery118thCallAndFreezesWhileFixedOrMoving) {
    for (int i = 0; i < 117; ++i)
        ChooseBehaviour();
    EXPECT_EQ(fake::localTimeReads, 0);
    ChooseBehaviour();
    EXPECT_EQ(fake::localTimeReads, 1);
    gMascot.chooserTicks = 50;
    for (int i = 0; i < 400; ++i) {
        gMascot.flags.animLock = i < 200;
        gMascot.flags.moveMode = i >= 200;
        ChooseBehaviour();
    }
    EXPECT_EQ(gMascot.chooserTicks, 50);
}

TEST_F(ChooserTest, BreezeLengthFollowsTheDrawAndTheHourColumn) {
    const int late[24] = {6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 3, 4};
    const int small[24] = {6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3};
    for (int r = 0; r < 24; ++r) {
        EXPECT_EQ(BreezeLengthFor(r, 4), late[r]) << r;
        EXPECT_EQ(BreezeLengthFor(r, 3), small[r]) << r;
    }
    Seed(30091); // draws 23
    Act(Dozing, 4, 5);
    EXPECT_EQ(gMascot.flags.breezeLength, 4);
    EXPECT_EQ(gMascot.state, DozingBreeze);
    EXPECT_EQ(Cursor(DozingBreeze), 2u);
    EXPECT_EQ(fake::sounds.size(), 1u); // other sound stopped; the step starts the breeze's
    gMascot.flags = StatusFlags{};
    gMascot.flags.breezeLength = kNoBreeze;
    Seed(30091);
    Act(Moving, 3, 5); // no breeze variant: the code stays pending
    EXPECT_EQ(gMascot.flags.breezeLength, 3);
    Seed(30091);
    Act(Reading, 3, 10); // and while it does, no other breeze is drawn
    EXPECT_EQ(gMascot.state, Dozing);
    gMascot.flags.breezeLength = kNoBreeze;
    fake::sounds.clear();
    SeedSoThat([] { return RandomBelow(24) < 12; }, 1);
    Act(Reading, 12, 15); // a draw of no breeze starts none and stops no sound
    EXPECT_EQ(gMascot.state, Reading);
    EXPECT_EQ(gMascot.flags.breezeOn, 0);
    EXPECT_TRUE(fake::sounds.empty());
}

TEST_F(ChooserTest, BandsChangeAtTheirHoursAndHomeStatesMoveOnRarely) {
    const std::pair<int, UINT> away[] = {
        {4, Dozing},   {5, ReadingLeadIn},  {12, ReadingLeadIn}, {13, Fanning},
        {15, Fanning}, {16, ReadingLeadIn}, {21, ReadingLeadIn}, {22, Dozing}};
    for (const auto& [hour, after] : away) {
        SeedSoThat([] { return RandomBelow(4) == 3; }, 1);
        Cursor(Dozing) = 7;
        Act(Moving, hour, 1);
        EXPECT_EQ(gMascot.state, after) << hour;
        EXPECT_EQ(Cursor(Dozing), after == Dozing ? 2u : 7u);
    }
    struct {
        int hour;
        UINT home;
        bool firstOfThree;
        UINT after;
    } fromHome[] = {{0, Dozing, false, LookingAround},
                    {10, Reading, true, LookingAround},
                    {10, Reading, false, Fanning},
                    {14, Fanning, true, ReadingLeadIn},
                    {14, Fanning, false, Dozing}};
    for (const auto& c : fromHome) {
        const int next = SeedSoThat(
            [&] { return RandomBelow(10) == 9 && (RandomBelow(3) == 0) == c.firstOfThree; },
            c.home == Dozing ? 1 : 2);
        Cursor(LookingAround) = 7;
        Act(c.home, c.hour, 1);
        EXPECT_EQ(gMascot.state, c.after) << c.hour;
        EXPECT_EQ(Cursor(LookingAround), c.after == LookingAround ? 1u : 7u);
        EXPECT_EQ(NextRandom(), next) << "draws only what it names";
    }
    // Every other draw keeps the state, at home and away.
    const std::pair<int, UINT> homes[] = {{0, Dozing}, {10, Reading}, {14, Fanning}};
    for (const auto& [hour, home] : homes) {
        SeedSoThat([] { return RandomBelow(10) == 8; }, 1);
        Act(home, hour, 1);
        EXPECT_EQ(gMascot.state, home) << hour;
        SeedSoThat([] { return RandomBelow(4) == 2; }, 1);
        Act(Moving, hour, 1);
        EXPECT_EQ(gMascot.state, Moving) << hour;
    }
    // Over seeds whose draws span their whole range, each change comes on
    // exactly the draws that name it.
    const struct {
        int hour;
        UINT home, moved, movedOnFirstOfThree, awayTo;
    } bands[] = {{0, Dozing, LookingAround, LookingAround, Dozing},
                 {10, Reading, Fanning, LookingAround, ReadingLeadIn},
                 {14, Fanning, Dozing, ReadingLeadIn, Fanning}};
    int wrong = 0;
    for (WORD sum = 1; sum < 60000; sum += 7) {
        Seed(sum);
        const int tenth = RandomBelow(10);
        const bool firstOfThree = RandomBelow(3) == 0;
        Seed(sum);
        const bool quarter = RandomBelow(4) == 3;
        for (const auto& b : bands) {
            Seed(sum);
            Act(b.home, b.hour, 1);
            const UINT moved = firstOfThree ? b.movedOnFirstOfThree : b.moved;
            wrong += gMascot.state != (tenth == 9 ? moved : b.home);
            Seed(sum);
            Act(Moving, b.hour, 1);
            wrong += gMascot.state != (quarter ? b.awayTo : Moving);
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(ChooserTest, RingingAlarmOrBreezeChangesNothingButTheCount) {
    for (int minute : {5, 6}) {
        for (int blocker = 0; blocker < 2; ++blocker) {
            gMascot.flags.alarmRinging = blocker == 0;
            gMascot.flags.breezeOn = blocker == 1;
            const int next = SeedSoThat([] { return true; }, 0);
            Act(Reading, 12, minute);
            EXPECT_EQ(gMascot.state, Reading);
            EXPECT_EQ(NextRandom(), next);
        }
    }
    EXPECT_TRUE(fake::sounds.empty());
}
