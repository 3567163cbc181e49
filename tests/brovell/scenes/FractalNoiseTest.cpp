#include "brovell/scenes/PictureWobble.h"
#include "kelvo/core/FractalNoise.h"

#include <gtest/gtest.h>

#include <cmath>

// Integer noise worked through by hand in 32-bit arithmetic.
TEST(FractalNoise, IntegerNoiseMatchesValuesWorkedByHand)
{
    // n = 0: m = 0, v = -771171059 wrapped = 3523796237, masked 1376312589.
    EXPECT_FLOAT_EQ(IntegerNoise(0), static_cast<float>(1.0 - 1376312589.0 / 1073741824.0));
    // n = 1: m = 8193; m*m*15731 + 789221 wraps to 3681093720; times m wraps to 4235462744;
    // less 771171059 is 3464291685, masked 1316808037.
    EXPECT_FLOAT_EQ(IntegerNoise(1), static_cast<float>(1.0 - 1316808037.0 / 1073741824.0));
    // Smoothing weighs the neighbours a quarter each; at an integer x no interpolation.
    EXPECT_FLOAT_EQ(SmoothedNoise(1),
                    0.25f * IntegerNoise(0) + 0.5f * IntegerNoise(1) + 0.25f * IntegerNoise(2));
    EXPECT_FLOAT_EQ(InterpolatedNoise(1.0f), SmoothedNoise(1));
    // Halfway the cosine weight is one half.
    EXPECT_NEAR(InterpolatedNoise(1.5f), 0.5f * (SmoothedNoise(1) + SmoothedNoise(2)), 1e-6f);
    // The sum is added to; each octave doubles the frequency and scales the amplitude.
    float sum = 10.0f;
    AddFractalNoise(sum, 0.3f, 1.0f, 1.0f, 0.2f, 3);
    EXPECT_NEAR(sum,
                10.0f + InterpolatedNoise(0.3f) + 0.2f * InterpolatedNoise(0.6f) +
                    0.04f * InterpolatedNoise(1.2f),
                1e-6f);
}

TEST(PictureWobble, PositionDriftsOnTwoSumsAndSizeOnOneWithinTheAmplitudes)
{
    // Five octaves of noise in [-1, 1] at persistence 0.2 stay within 1.2496 of zero; the
    // size's sum adds a third to the first.
    for (float t = 0.0f; t < 40.0f; t += 0.37f)
    {
        SVector4 rectangle{1.0f, 2.0f, 3.0f, 4.0f};
        ApplyWobble(rectangle, t, {0.3f, 0.1f});
        EXPECT_LE(std::fabs(rectangle.x - 1.0f), 0.3f * 1.2496f) << t;
        EXPECT_NE(rectangle.x - 1.0f, rectangle.y - 2.0f) << t;
        EXPECT_LE(std::fabs(rectangle.z - 3.0f), 0.1f * 2.4992f) << t;
        EXPECT_NEAR(rectangle.z - 3.0f, rectangle.w - 4.0f, 1e-5f) << t;
    }
}
