#include "kelvo/render/LineQueue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace
{
float Distance(const SVector4& a, const SVector4& b)
{
    return Length(XYZ(a) - XYZ(b));
}
}

TEST(LineQueue, BoxGivesItsTwelveEdgesInWorldSpace)
{
    using SEdge = std::tuple<float, float, float, float, float, float>;
    const SVector4 low{-1, -2, -3, 0}, high{4, 5, 6, 0};
    CLineQueue lines;
    lines.AddBox(low, high, 0xFF112233);
    EXPECT_TRUE(lines.GetCameraLines().empty());
    // The reference: every pair of corners that differ on exactly one axis, from the low side.
    std::vector<SVector3> corners;
    for (const float x : {low.x, high.x})
        for (const float y : {low.y, high.y})
            for (const float z : {low.z, high.z})
                corners.push_back({x, y, z});
    std::multiset<SEdge> expected, drawn;
    for (const SVector3& a : corners)
        for (const SVector3& b : corners)
            if ((a.x != b.x) + (a.y != b.y) + (a.z != b.z) == 1 && a.x <= b.x && a.y <= b.y && a.z <= b.z)
                expected.insert({a.x, a.y, a.z, b.x, b.y, b.z});
    for (const SLineRecord& line : lines.GetWorldLines())
    {
        EXPECT_EQ(line.m_From.w, 1.0f);
        EXPECT_EQ(line.m_To.w, 1.0f);
        EXPECT_EQ(line.m_ColorFrom, 0xFF112233u);
        EXPECT_EQ(line.m_ColorTo, 0xFF112233u);
        drawn.insert({line.m_From.x, line.m_From.y, line.m_From.z, line.m_To.x, line.m_To.y, line.m_To.z});
    }
    EXPECT_EQ(drawn, expected);
}

TEST(LineQueue, RaysWithoutAUsableLengthAreDrawn400Long)
{
    const SVector4 origin{1, 2, 3, 1};
    const SVector4 direction{0, 3, 4, 0};
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    const std::pair<float, float> cases[] = {{0.0f, 400.0f},    {-1.0f, 400.0f}, {400.0f, 400.0f},
                                             {1000.0f, 400.0f}, {kNaN, 400.0f},  {kInfinity, 400.0f},
                                             {12.5f, 12.5f}};
    for (const auto& [length, drawn] : cases)
    {
        CLineQueue lines;
        lines.AddRay(origin, direction, length, 0xFF0000FF, 0xFFFF0000);
        ASSERT_EQ(lines.GetWorldLines().size(), 1u);
        const SLineRecord& line = lines.GetWorldLines()[0];
        EXPECT_NEAR(Distance(line.m_From, line.m_To), drawn, 1e-3f) << "length " << length;
        // Along the direction, from the first colour to the second.
        EXPECT_NEAR((line.m_To.y - origin.y) / (line.m_To.z - origin.z), 0.75f, 1e-5f);
        EXPECT_EQ(line.m_ColorFrom, 0xFF0000FFu);
        EXPECT_EQ(line.m_ColorTo, 0xFFFF0000u);
    }
}

// Moved through a view, world lines are measured in pixels by the renderer's line test;
// without one they are dropped, and camera lines stay.
TEST(LineQueue, WorldLinesWithoutAViewAreDropped)
{
    CLineQueue lines;
    lines.AddCameraLine({0, 0, 1, 1}, {0, 0, 2, 1}, 5, 6);
    lines.AddLine({1, 2, 3, 1}, {4, 5, 6, 1}, 7, 8);
    lines.MoveToCameraSpace(nullptr);
    EXPECT_TRUE(lines.GetWorldLines().empty());
    ASSERT_EQ(lines.GetCameraLines().size(), 1u);
    EXPECT_EQ(lines.GetCameraLines()[0].m_ColorTo, 6u);
}
