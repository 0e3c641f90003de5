// The generator's outputs are part of the program's behaviour: pin them.
#include <gtest/gtest.h>

#include "anim/random.h"
#include "app/state.h"
#include "support/test_env.h"

namespace {

void SeedWith(SYSTEMTIME now) {
    gMascot.now = now;
    SeedRandom();
}

std::vector<int> Next(int count) {
    std::vector<int> values;
    for (int i = 0; i < count; ++i)
        values.push_back(NextRandom());
    return values;
}

} // namespace

TEST(Random, SeedIsTheSumOfTheDateAndTimeFields) {
    ResetProgram();
    SeedWith({1, 0, 0, 0, 0, 0, 0, 0}); // the generator's own start value
    EXPECT_EQ(Next(5), (std::vector<int>{41, 18467, 6334, 26500, 19169}));
    SeedWith({2004, 8, 2, 3, 12, 0, 0, 999}); // milliseconds play no part
    EXPECT_EQ(Next(5), (std::vector<int>{6664, 25516, 26234, 2580, 31142}));
    SeedWith({2003, 8, 2, 3, 13, 0, 0, 0}); // another date with the same sum
    EXPECT_EQ(Next(1), std::vector<int>{6664});
    SeedWith({65535, 65535, 0, 0, 0, 0, 0, 0}); // added as 32-bit numbers
    EXPECT_EQ(Next(2), (std::vector<int>{2074, 6720}));
}

TEST(Random, RandomBelowScalesAndTakesTheTopValueAsTheLast) {
    ResetProgram();
    SeedWith({1, 0, 0, 0, 0, 0, 0, 0}); // 41, 18467, 6334, 26500, 19169
    const int expected[] = {0, 13, 4, 19, 14};
    for (int value : expected)
        EXPECT_EQ(RandomBelow(24), value);
    SeedWith({30091, 0, 0, 0, 0, 0, 0, 0}); // first value 32767
    EXPECT_EQ(RandomBelow(24), 23);
    SeedWith({30091, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(RandomBelow(4), 3);
    SeedWith({30091, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(RandomBelow(1), 0);
}
