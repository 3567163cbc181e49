#include "kelvo/render/TextQueue.h"

#include <gtest/gtest.h>

#include <cstring>

// The four corner anchors are measured in pixels by the renderer's text test.
TEST(TextQueue, AnchorsOtherThanTheFourCornersKeepThePositionAsTheCentre)
{
    const SVector4 p{0.1f, 0.2f, 7.0f, 8.0f};
    for (int anchor : {-1, 4, 99})
    {
        CTextQueue texts;
        texts.SetCellSize(24, 24);
        texts.Add(p, "abcd", anchor, 1000, 500);
        const SVector4 centre = texts.GetTexts().at(0).m_Position;
        EXPECT_EQ(std::memcmp(&centre, &p, sizeof(p)), 0) << "anchor " << anchor;
    }
}
