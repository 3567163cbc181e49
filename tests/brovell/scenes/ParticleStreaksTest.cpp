#include "brovell/scenes/ParticleStreaks.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr int kPoints = CParticleStreaks::kPointsPerStreak;

void ExpectPoint(const SVector4& point, float x, float y)
{
    EXPECT_NEAR(point.x, x, 1e-5f);
    EXPECT_NEAR(point.y, y, 1e-5f);
    EXPECT_EQ(point.z, 0.0f);
}
}

TEST(ParticleStreaks, FirstFrameDrawsPointsThenStreaksFromThePreviousHeads)
{
    CParticleStreaks streaks;
    float xs[2] = {0.5f, 0.0f};
    float ys[2] = {0.5f, 1.0f};
    streaks.TakeHeads(xs, ys, 2);
    streaks.Build();
    ASSERT_EQ(streaks.GetPoints().size(), 2u * kPoints);
    // Heads: (31 (x - 0.5), -1 - 15 (y - 0.5)).
    for (int k = 0; k < kPoints; ++k)
    {
        ExpectPoint(streaks.GetPoints()[k], 0.0f, -1.0f);
        ExpectPoint(streaks.GetPoints()[kPoints + k], -15.5f, -8.5f);
    }

    // The first particle moves by (1.2, -1.5) on screen: twelve evenly spaced points ending
    // at the head. The second jumps by sqrt(10.24) > sqrt(10): one point at the head.
    xs[0] += 1.2f / 31.0f;
    ys[0] += 0.1f;
    xs[1] += 3.2f / 31.0f;
    streaks.TakeHeads(xs, ys, 2);
    streaks.Build();
    for (int k = 0; k < kPoints; ++k)
    {
        const float f = static_cast<float>(k + 1) / kPoints;
        ExpectPoint(streaks.GetPoints()[k], 1.2f * f, -1.0f - 1.5f * f);
        ExpectPoint(streaks.GetPoints()[kPoints + k], -12.3f, -8.5f);
    }

    // A jump just under the limit still draws a streak.
    xs[1] += 3.1f / 31.0f;
    streaks.TakeHeads(xs, ys, 2);
    streaks.Build();
    ExpectPoint(streaks.GetPoints()[kPoints], -12.3f + 3.1f / kPoints, -8.5f);
}
