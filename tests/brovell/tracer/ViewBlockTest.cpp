#include "brovell/tracer/ViewBlock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace
{
SVector3 Corner(const SViewBlock& block, int i)
{
    return {block.corners[i][0], block.corners[i][1], block.corners[i][2]};
}
}

TEST(ViewBlock, CornersKeepTheirDirectionsAndTheCentreRayHasLengthOne)
{
    // An off-axis camera whose corner rays have unequal lengths (as picking rays do).
    const SVector4 position{3.0f, -2.0f, 7.0f, 1.0f};
    const SVector4 corners[4] = {{-4.0f, 3.0f, -10.0f, 0.0f},
                                 {8.0f, 6.0f, -20.0f, 0.0f},
                                 {-0.4f, -0.3f, -1.0f, 0.0f},
                                 {2.0f, -1.5f, -5.0f, 0.0f}};
    const SViewBlock block = MakeViewBlock(position, corners);

    EXPECT_EQ(std::memcmp(block.position, &position, sizeof(block.position)), 0);

    const SVector3 centre = (Corner(block, 0) + Corner(block, 3)) * 0.5f;
    EXPECT_NEAR(Length(centre), 1.0f, 1e-5f);
    // All four corners share one length, longer than 1 for a camera with an opening angle.
    const float cornerLength = Length(Corner(block, 0));
    EXPECT_GT(cornerLength, 1.0f);
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_NEAR(Length(Corner(block, i)), cornerLength, 1e-5f) << i;
        EXPECT_NEAR(Dot(Normalize(Corner(block, i)), Normalize(XYZ(corners[i]))), 1.0f, 1e-6f) << i;
        EXPECT_EQ(block.corners[i][3], 0.0f);
    }
}

TEST(ViewBlock, OppositeCornersLeaveUnitDirectionsInsteadOfInfinities)
{
    const SVector4 corners[4] = {{0.0f, 0.0f, -2.0f, 0.0f},
                                 {0.0f, 1.0f, 0.0f, 0.0f},
                                 {1.0f, 0.0f, 0.0f, 0.0f},
                                 {0.0f, 0.0f, 3.0f, 0.0f}};
    const SViewBlock block = MakeViewBlock({0.0f, 0.0f, 0.0f, 1.0f}, corners);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(Length(Corner(block, i)), 1.0f, 1e-6f) << i;
}
