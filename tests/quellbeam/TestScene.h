// A traceable scene for kernel tests: spheres, materials, a built tree and constants, with a
// brute-force nearest-hit reference.
#pragma once

#include "platform/Random15.h"
#include "quellbeam/cpu/BallTreeBuilder.h"
#include "quellbeam/host/Material.h"
#include "quellbeam/host/StartScene.h"
#include "quellbeam/kernel/Shading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

namespace quellbeam::test
{
// Spheres and white materials in the layout of the scene buffer.
inline std::vector<SVec4> SceneElements(const std::vector<SVec4>& spheres)
{
    std::vector<SVec4> elements(3 * spheres.size(), SVec4{1, 1, 1, 1});
    std::copy(spheres.begin(), spheres.end(), elements.begin());
    return elements;
}

class CTestScene
{
public:
    // Lists the spheres in the cube [minBB, maxBB]; materials default to matte white.
    void Build(const std::vector<SVec4>& spheres, std::vector<SMaterial> materials, float minBB, float maxBB)
    {
        m_Count = static_cast<uint32_t>(spheres.size());
        materials.resize(spheres.size(), SMaterial{{1, 1, 1}, 1, 0, 1, 0, 0});
        m_Data = SceneElements(spheres);
        if (!materials.empty())
            std::memcpy(&m_Data[m_Count], materials.data(), materials.size() * sizeof(SMaterial));
        constants.minBB = minBB;
        constants.maxBB = maxBB;
        m_Memory.assign(kTreeWindowWords, 0);
        complete = CBallTreeBuilder().Build(m_Data.data(), m_Count, minBB, maxBB, m_Tree, m_Memory.data(),
                                            kTreeWindowWords);
    }

    SSceneView View() const
    {
        return SSceneView{m_Data.data(),
                          m_Count,
                          m_Tree,
                          m_Memory.data(),
                          floorTexels.empty() ? nullptr : floorTexels.data(),
                          floorWidth,
                          floorHeight};
    }

    // Nearest hit over every sphere, with the kernels' ball test.
    SRayHit BruteForce(SVec3 origin, SVec3 direction) const
    {
        SRayHit hit;
        const float dd = Dot(direction, direction);
        for (uint32_t i = 0; i < m_Count; ++i)
            if (IntersectBall(m_Data[i], origin, direction, dd, 1.0f / dd, hit.t))
                hit.ball = i;
        return hit;
    }

    const uint32_t* Tree() const { return m_Tree; }
    const std::vector<uint32_t>& Memory() const { return m_Memory; }

    SKernelConstants constants;
    bool complete = false;
    std::vector<uint32_t> floorTexels;
    uint32_t floorWidth = 0;
    uint32_t floorHeight = 0;

private:
    uint32_t m_Count = 0;
    std::vector<SVec4> m_Data;
    std::vector<uint32_t> m_Memory;
    uint32_t m_Tree[kTreeDescriptorWords] = {};
};

// The cube around all spheres that the tracer's host side fits in modes 0 and 1.
inline void FitCube(const std::vector<SVec4>& spheres, float& minimum, float& maximum)
{
    minimum = maximum = 0.0f;
    for (const SVec4& s : spheres)
    {
        minimum = std::min({minimum, s.x - s.w, s.y - s.w, s.z - s.w});
        maximum = std::max({maximum, s.x + s.w, s.y + s.w, s.z + s.w});
    }
}

// The demo's start balls, as the tracer first shows them.
inline std::vector<SVec4> StartSpheres()
{
    CRandom15 random;
    std::vector<SVec4> spheres;
    std::vector<SMaterial> materials;
    MakeStartScene(random, kStartSphereCount, spheres, materials);
    return spheres;
}

// Every ball index of a list, following links, without the traversal's depth limit.
inline std::vector<uint32_t> ReadList(const std::vector<uint32_t>& memory, uint32_t chunk)
{
    std::vector<uint32_t> balls;
    for (int guard = 0; chunk != kListEnd && guard < 100000; ++guard)
    {
        uint32_t slot = 0;
        for (; slot < kChunkLinkSlot && memory[chunk + slot] != kListEnd; ++slot)
            balls.push_back(memory[chunk + slot]);
        if (slot < kChunkLinkSlot)
            break;
        chunk = memory[chunk + kChunkLinkSlot];
    }
    return balls;
}

// Ball sets for the tree builders, each in its cube.
struct STreeCase
{
    const char* name;
    std::vector<SVec4> spheres;
    float minBB;
    float maxBB;
};

inline std::vector<STreeCase> TreeCases()
{
    std::vector<STreeCase> cases;
    std::vector<SVec4> start = StartSpheres();
    float minBB, maxBB;
    FitCube(start, minBB, maxBB);
    cases.push_back({"start balls", std::move(start), minBB, maxBB});
    // Small balls in one sub-cell of the cube [0, 64] (top cell 0, sub-cell 0): 31 fill one
    // chunk exactly, 32 open a second, 700 make long chains in every first-level block.
    for (const uint32_t count : {31u, 32u, 700u})
    {
        std::vector<SVec4> packed;
        for (uint32_t i = 0; i < count; ++i)
            packed.push_back(SVec4{0.5f + 0.001f * static_cast<float>(i), 0.5f, 0.5f, 0.1f});
        cases.push_back({"packed", std::move(packed), 0.0f, 64.0f});
    }
    // Balls up to a top cell wide: many cells per ball, regions refilled from the shared base.
    CRandom15 random;
    std::vector<SVec4> large;
    for (uint32_t i = 0; i < 3000; ++i)
    {
        const float x = random.RangeHighFirst(-90, 90), y = random.RangeHighFirst(-90, 90),
                    z = random.RangeHighFirst(-90, 90);
        large.push_back(SVec4{x, y, z, random.RangeHighFirst(1, 10)});
    }
    cases.push_back({"large balls", std::move(large), -100.0f, 100.0f});
    return cases;
}

// True when the ball's bounding box overlaps the cell box [lo, lo + edge) on every axis.
inline bool BoxTouchesCell(const SVec4& s, const double lo[3], double edge)
{
    const double centre[3] = {s.x, s.y, s.z};
    for (int axis = 0; axis < 3; ++axis)
        if (centre[axis] + s.w < lo[axis] || centre[axis] - s.w >= lo[axis] + edge)
            return false;
    return true;
}

// Checks a built tree against box overlaps computed in double precision: the first level's
// block chains and every sub-cell's list hold exactly the balls whose box touches the cell,
// and the occupancy bits say which cells hold any.
inline void ExpectTreeListsTouchingBalls(const uint32_t* tree, const std::vector<uint32_t>& memory,
                                         const std::vector<SVec4>& spheres, float minBB, float maxBB)
{
    ASSERT_EQ(tree[kTreeCountWord], spheres.size());
    const double topEdge = (static_cast<double>(maxBB) - minBB) / 8.0;
    const double subEdge = topEdge / 4.0;
    for (uint32_t cell = 0; cell < kTopCells; ++cell)
    {
        const double topLo[3] = {minBB + (cell & 7) * topEdge, minBB + ((cell >> 3) & 7) * topEdge,
                                 minBB + ((cell >> 6) & 7) * topEdge};
        // First level: the eight block chains together list the cell's balls once each, each
        // ball in the chain of the block that takes its run of 128.
        std::multiset<uint32_t> firstLevel;
        for (uint32_t block = 0; block < kFirstLevelBlocks; ++block)
            for (uint32_t ball : ReadList(memory, InitialChunk(block, cell)))
            {
                EXPECT_EQ(FirstLevelBlockOfBall(ball), block) << "ball " << ball;
                firstLevel.insert(ball);
            }
        std::multiset<uint32_t> expectedTop;
        for (uint32_t i = 0; i < spheres.size(); ++i)
            if (BoxTouchesCell(spheres[i], topLo, topEdge))
                expectedTop.insert(i);
        ASSERT_EQ(firstLevel, expectedTop) << "top cell " << cell;

        EXPECT_EQ(IsTopCellOccupied(tree, cell), !expectedTop.empty()) << "top cell " << cell;
        const uint32_t node = tree[kTreeNodeWords + cell];
        if (expectedTop.empty())
        {
            EXPECT_EQ(node, kListEnd);
            continue;
        }
        ASSERT_LE(node + kNodeWords, kTreeWindowWords);
        EXPECT_EQ(memory[node], tree[kTreeSubMaskWords + 2 * cell]);
        EXPECT_EQ(memory[node + 1], tree[kTreeSubMaskWords + 2 * cell + 1]);
        for (uint32_t sub = 0; sub < kSubCells; ++sub)
        {
            const double subLo[3] = {topLo[0] + (sub & 3) * subEdge, topLo[1] + ((sub >> 2) & 3) * subEdge,
                                     topLo[2] + ((sub >> 4) & 3) * subEdge};
            std::multiset<uint32_t> expected;
            for (uint32_t i : expectedTop)
                if (BoxTouchesCell(spheres[i], subLo, subEdge))
                    expected.insert(i);
            const std::vector<uint32_t> list = ReadList(memory, SubCellListStart(node, sub));
            ASSERT_EQ(std::multiset<uint32_t>(list.begin(), list.end()), expected)
                << "top cell " << cell << " sub-cell " << sub;
            EXPECT_EQ(IsSubCellOccupied(tree, cell, sub), !expected.empty())
                << "top cell " << cell << " sub " << sub;
        }
    }
}
}
