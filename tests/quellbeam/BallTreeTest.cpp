// The ball grid's lists, chunks, occupancy bits and allocator, checked against an independent
// box-overlap computation in double precision.
#include "TestScene.h"

#include "platform/Random15.h"
#include "quellbeam/host/StartScene.h"

#include <gtest/gtest.h>

#include <set>

using namespace quellbeam;
using namespace quellbeam::test;

namespace
{
// True when the ball's bounding box overlaps the cell box [lo, lo + edge) on every axis.
bool BoxTouchesCell(const SVec4& s, const double lo[3], double edge)
{
    const double centre[3] = {s.x, s.y, s.z};
    for (int axis = 0; axis < 3; ++axis)
        if (centre[axis] + s.w < lo[axis] || centre[axis] - s.w >= lo[axis] + edge)
            return false;
    return true;
}

std::vector<SVec4> StartSpheres()
{
    CRandom15 random;
    std::vector<SVec4> spheres;
    std::vector<SMaterial> materials;
    MakeStartScene(random, kStartSphereCount, spheres, materials);
    return spheres;
}

// Small balls packed inside one sub-cell of the cube [0, 64] (top cell 0, sub-cell 0).
std::vector<SVec4> BallsInOneSubCell(uint32_t count)
{
    std::vector<SVec4> spheres;
    for (uint32_t i = 0; i < count; ++i)
        spheres.push_back(SVec4{0.5f + 0.01f * static_cast<float>(i), 0.5f, 0.5f, 0.1f});
    return spheres;
}
}

TEST(BallTree, EveryBallIsListedInExactlyTheCellsItsBoxTouches)
{
    const std::vector<SVec4> spheres = StartSpheres();
    float minBB, maxBB;
    FitCube(spheres, minBB, maxBB);
    CTestScene scene;
    scene.Build(spheres, {}, minBB, maxBB);
    ASSERT_TRUE(scene.complete);
    const uint32_t* tree = scene.Tree();
    const std::vector<uint32_t>& memory = scene.Memory();
    EXPECT_EQ(tree[kTreeCountWord], spheres.size());

    const double topEdge = (static_cast<double>(maxBB) - minBB) / 8.0;
    const double subEdge = topEdge / 4.0;
    size_t listedEntries = 0;
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
        if (expectedTop.empty())
        {
            EXPECT_EQ(tree[kTreeNodeWords + cell], kListEnd);
            continue;
        }
        const uint32_t node = tree[kTreeNodeWords + cell];
        ASSERT_LT(node + kNodeWords, kTreeWindowWords);
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
            listedEntries += list.size();
        }
    }
    // Balls of radius 2.3 in sub-cells of about 3.3 units cover several sub-cells each.
    EXPECT_GT(listedEntries, 4 * spheres.size());
}

TEST(BallTree, ThirtyOneBallsFillOneChunkAndTheThirtySecondOpensAnother)
{
    CTestScene full;
    full.Build(BallsInOneSubCell(31), {}, 0.0f, 64.0f);
    ASSERT_TRUE(full.complete);
    const uint32_t node = full.Tree()[kTreeNodeWords + 0];
    const uint32_t start = SubCellListStart(node, 0);
    for (uint32_t slot = 0; slot < kChunkLinkSlot; ++slot)
        EXPECT_EQ(full.Memory()[start + slot], slot);
    EXPECT_EQ(full.Memory()[start + kChunkLinkSlot], kListEnd);
    // The first level's chain in block 0 has the same shape.
    EXPECT_EQ(full.Memory()[InitialChunk(0, 0) + kChunkLinkSlot], kListEnd);
    EXPECT_EQ(full.Memory()[InitialChunk(0, 0) + 30], 30u);

    CTestScene overflowing;
    overflowing.Build(BallsInOneSubCell(32), {}, 0.0f, 64.0f);
    ASSERT_TRUE(overflowing.complete);
    const std::vector<uint32_t>& memory = overflowing.Memory();
    const uint32_t firstLevelLink = memory[InitialChunk(0, 0) + kChunkLinkSlot];
    // Block 0's extra chunks come from its own region, past its initial chunks.
    EXPECT_GE(firstLevelLink, kInitialChunkWords);
    EXPECT_LT(firstLevelLink, kBlockRegionWords);
    EXPECT_EQ(firstLevelLink % kChunkWords, 0u);
    EXPECT_EQ(memory[firstLevelLink], 31u);
    EXPECT_EQ(memory[firstLevelLink + 1], kListEnd);
    EXPECT_EQ(memory[firstLevelLink + kChunkLinkSlot], kListEnd);

    const uint32_t subStart = SubCellListStart(overflowing.Tree()[kTreeNodeWords + 0], 0);
    const uint32_t subLink = memory[subStart + kChunkLinkSlot];
    ASSERT_NE(subLink, kListEnd);
    EXPECT_EQ(memory[subLink], 31u);
    EXPECT_EQ(memory[subLink + 1], kListEnd);
    EXPECT_EQ(ReadList(memory, subStart).size(), 32u);
    // Only top cell 0 and its sub-cell 0 are occupied.
    EXPECT_EQ(overflowing.Tree()[kTreeTopMaskWords], 1u);
    EXPECT_EQ(overflowing.Tree()[kTreeSubMaskWords], 1u);
    EXPECT_EQ(overflowing.Tree()[kTreeSubMaskWords + 1], 0u);
}

TEST(BallTree, AllocatorHandsOutRegionsOnlyInsideTheWindow)
{
    uint32_t freeBase = kFreeMemoryStart;
    SWordRange range = {0, 0};
    uint32_t regions = 0;
    while (ClaimRegion(freeBase, kTreeWindowWords, range))
    {
        EXPECT_LE(range.end, kTreeWindowWords);
        EXPECT_EQ(range.end - range.next, kRefillWords);
        ++regions;
    }
    EXPECT_EQ(regions, (kTreeWindowWords - kFreeMemoryStart) / kRefillWords);
    // The last region is used up node by node, then taking fails instead of leaving the window.
    uint32_t nodes = 0;
    for (uint32_t start; (start = TakeWords(range, kNodeWords, freeBase, kTreeWindowWords)) != kListEnd;
         ++nodes)
        EXPECT_LE(start + kNodeWords, kTreeWindowWords);
    EXPECT_EQ(nodes, kRefillWords / kNodeWords);
}

TEST(BallTree, ExhaustedTreeMemoryIsReportedAndNothingIsWrittenOutside)
{
    // 600 balls covering the whole cube need far more than one refill region.
    std::vector<SVec4> spheres(600, SVec4{0.0f, 0.0f, 0.0f, 200.0f});
    const uint32_t window = kFreeMemoryStart + kRefillWords;
    std::vector<SVec4> data(3 * spheres.size(), SVec4{0, 0, 0, 0});
    std::copy(spheres.begin(), spheres.end(), data.begin());
    std::vector<uint32_t> memory(window, 0); // exactly the window: the sanitizer sees any overrun
    uint32_t tree[kTreeDescriptorWords];
    EXPECT_FALSE(CBallTreeBuilder().Build(data.data(), static_cast<uint32_t>(spheres.size()), -100.0f, 100.0f,
                                          tree, memory.data(), window));
    // Every top cell's first chain still ends.
    for (uint32_t cell = 0; cell < kTopCells; ++cell)
        EXPECT_FALSE(ReadList(memory, InitialChunk(0, cell)).empty());
}
