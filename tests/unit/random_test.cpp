// The generator's outputs are part of the program's behaviour: pin them.
#include <gtest/gtest.h>

#include "anim/random.h"
#include "app/state.h"

namespace {

std::vector<int> FirstValues(SYSTEMTIME now, int count) {
    gMascot.now = now;
    SeedRandom();
    std::vector<int> values;
    for (int i = 0; i < count; ++i)
        values.push_back(NextRandom());
    return values;
}

} // namespace

TEST(Random, SeedSumsTheClockFieldsAndPinsTheSequence) {
    EXPECT_EQ(FirstValues({1, 0, 0, 0, 0, 0, 0, 0}, 3), (std::vector<int>{41, 18467, 6334}));
    const std::vector<int> noon = {6664, 25516, 26234};
    EXPECT_EQ(FirstValues({2004, 8, 2, 3, 12, 0, 0, 999}, 3), noon); // no milliseconds
    EXPECT_EQ(FirstValues({2003, 8, 2, 3, 13, 0, 0, 0}, 3), noon);   // same sum
    EXPECT_EQ(FirstValues({2003, 8, 2, 3, 12, 0, 1, 0}, 3), noon);   // the second counts
    EXPECT_EQ(FirstValues({65535, 65535, 0, 0, 0, 0, 0, 0}, 1), std::vector<int>{2074});
    // RandomBelow scales the 15-bit value and takes 32767 as the last.
    FirstValues({1, 0, 0, 0, 0, 0, 0, 0}, 0);
    for (int expected : {0, 13, 4})
        EXPECT_EQ(RandomBelow(24), expected);
    FirstValues({24238, 0, 0, 0, 0, 0, 0, 0}, 0); // draws 13653: 10 of 24 over 32767, not 9
    EXPECT_EQ(RandomBelow(24), 10);
    FirstValues({2915, 0, 0, 0, 0, 0, 0, 0}, 0); // draws 9557: 6 of 24, not 7 over 32766
    EXPECT_EQ(RandomBelow(24), 6);
    EXPECT_EQ(FirstValues({30091, 0, 0, 0, 0, 0, 0, 0}, 1), std::vector<int>{32767});
    for (int n : {24, 4, 1}) {
        FirstValues({30091, 0, 0, 0, 0, 0, 0, 0}, 0);
        EXPECT_EQ(RandomBelow(n), n - 1);
    }
}
