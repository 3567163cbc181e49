#include "quellbeam/Random15.h"

#include <gtest/gtest.h>

using namespace quellbeam;

TEST(Random15, FollowsTheClassicFifteenBitSequence)
{
    // The first values of the classic generator's default seed 1.
    CRandom15 random;
    EXPECT_EQ(random.Next(), 41);
    EXPECT_EQ(random.Next(), 18467);
    EXPECT_EQ(random.Next(), 6334);
    random.Seed(1);
    EXPECT_EQ(random.Next(), 41);
}

TEST(Random15, ThirtyBitDrawsCoverTheirRange)
{
    CRandom15 random;
    random.Seed(123);
    float low = 1.0f, high = 0.0f;
    for (int i = 0; i < 5000; ++i)
    {
        const float r = random.Range(-3.0f, 3.0f);
        ASSERT_GE(r, -3.0f);
        ASSERT_LT(r, 3.0f);
        low = std::min(low, r);
        high = std::max(high, r);
    }
    EXPECT_LT(low, -2.9f);
    EXPECT_GT(high, 2.9f);
    EXPECT_EQ(random.Range(2.0f, 2.0f), 0.0f);
}
