#include "platform/Random15.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>

TEST(Random15, FollowsTheClassicSequenceAndRangesKeepTheValuesThePicturesWereMadeWith)
{
    // The first values of the classic fifteen-bit generator's default seed 1.
    CRandom15 classic;
    for (const int value : {41, 18467, 6334})
        EXPECT_EQ(classic.Next(), value);
    classic.Seed(1);
    EXPECT_EQ(classic.Next(), 41);
    // Bit patterns of the first draws after seed 123: the twotris corners take the first
    // kind, the tracer's start balls and juggler field the second.
    CRandom15 engine, tracer;
    engine.Seed(123);
    tracer.Seed(123);
    for (const uint32_t bits : {0x3e26d037u, 0xbe4cf4bcu, 0xbf4cf80du, 0x3f7e9bc1u})
        EXPECT_EQ(std::bit_cast<uint32_t>(engine.RangeLowFirst(-1.0f, 1.0f)), bits);
    for (const uint32_t bits : {0xc2429f2fu, 0x41a35d40u, 0x42430eb0u, 0x422f5dbeu})
        EXPECT_EQ(std::bit_cast<uint32_t>(tracer.RangeHighFirst(-50.0f, 50.0f)), bits);
}

TEST(Random15, RangesStayInsideAndEmptyOnesDrawNothing)
{
    CRandom15 random, replay;
    float low = 3.0f, high = -3.0f;
    for (int i = 0; i < 5000; ++i)
    {
        const float r = i % 2 ? random.RangeLowFirst(-3.0f, 3.0f) : random.RangeHighFirst(-3.0f, 3.0f);
        ASSERT_GE(r, -3.0f);
        ASSERT_LT(r, 3.0f);
        low = std::min(low, r);
        high = std::max(high, r);
        replay.Next30(CRandom15::EOrder::kLowFirst);
    }
    EXPECT_LT(low, -2.9f);
    EXPECT_GT(high, 2.9f);
    EXPECT_EQ(random.RangeLowFirst(2.0f, 2.0f), 0.0f);
    EXPECT_EQ(random.RangeHighFirst(2.0f, 1.0f), 0.0f);
    EXPECT_EQ(random.Next(), replay.Next());
}
