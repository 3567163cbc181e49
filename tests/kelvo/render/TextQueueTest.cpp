#include "kelvo/render/TextQueue.h"

#include <gtest/gtest.h>

namespace
{
// 24-pixel cells on a 1000 x 500 screen: "abcd" is 96 pixels wide (0.096) and 0.048 high.
constexpr uint32_t kCell = 24;
constexpr float kHalfWidth = 0.048f;
constexpr float kHalfHeight = 0.024f;

SVector4 CentreFor(int anchor, const SVector4& position)
{
    CTextQueue texts;
    texts.SetCellSize(kCell, kCell);
    texts.Add(position, "abcd", anchor, 1000, 500);
    return texts.GetTexts().at(0).m_Position;
}
}

TEST(TextQueue, AnchorsMeasureFromTheirCorner)
{
    const SVector4 p{0.1f, 0.2f, 7.0f, 8.0f};
    const SVector4 expected[4] = {{0.1f + kHalfWidth, 1.0f - 0.2f - kHalfHeight},
                                  {1.0f - 0.1f - kHalfWidth, 1.0f - 0.2f - kHalfHeight},
                                  {0.1f + kHalfWidth, 0.2f + kHalfHeight},
                                  {1.0f - 0.1f - kHalfWidth, 0.2f + kHalfHeight}};
    for (int anchor = 0; anchor < 4; ++anchor)
    {
        const SVector4 centre = CentreFor(anchor, p);
        EXPECT_NEAR(centre.x, expected[anchor].x, 1e-6f) << anchor;
        EXPECT_NEAR(centre.y, expected[anchor].y, 1e-6f) << anchor;
        EXPECT_EQ(centre.z, 0.0f);
        EXPECT_EQ(centre.w, 0.0f);
    }
    // Any other anchor keeps the position as the centre, z and w included.
    for (int anchor : {-1, 4, 99})
    {
        const SVector4 centre = CentreFor(anchor, p);
        EXPECT_EQ(centre.x, p.x);
        EXPECT_EQ(centre.y, p.y);
        EXPECT_EQ(centre.z, p.z);
        EXPECT_EQ(centre.w, p.w);
    }
}
