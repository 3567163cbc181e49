// The ball grid's lists, chunks, occupancy bits and allocator, checked against an independent
// box-overlap computation in double precision.
#include "TestScene.h"

using namespace quellbeam;
using namespace quellbeam::test;

TEST(BallTree, EveryBallIsListedInExactlyTheCellsItsBoxTouches)
{
    for (const STreeCase& c : TreeCases())
    {
        SCOPED_TRACE(testing::Message() << c.name << ", " << c.spheres.size() << " balls");
        CTestScene scene;
        scene.Build(c.spheres, {}, c.minBB, c.maxBB);
        ASSERT_TRUE(scene.complete);
        ExpectTreeListsTouchingBalls(scene.Tree(), scene.Memory(), c.spheres, c.minBB, c.maxBB);
    }
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
    std::vector<SVec4> data = SceneElements(spheres);
    std::vector<uint32_t> memory(window, 0); // exactly the window: the sanitizer sees any overrun
    uint32_t tree[kTreeDescriptorWords];
    EXPECT_FALSE(CBallTreeBuilder().Build(data.data(), static_cast<uint32_t>(spheres.size()), -100.0f, 100.0f,
                                          tree, memory.data(), window));
    // Every top cell's first chain still ends.
    for (uint32_t cell = 0; cell < kTopCells; ++cell)
        EXPECT_FALSE(ReadList(memory, InitialChunk(0, cell)).empty());
}
