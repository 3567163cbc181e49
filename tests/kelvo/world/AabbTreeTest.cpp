#include "kelvo/core/AabbTree.h"

#include <cstdio>
#include <random>
#include <vector>

#include "TreeTestHelpers.h"

#include <gtest/gtest.h>

namespace
{
// A 64-unit root cell, so the leaves at depth 6 are unit cubes.
const SBox kRootCell = MakeBox(0, 0, 0, 64, 64, 64);

SBox LeafCell(const CBoxTree& tree, const SBoxPayload& payload)
{
    return tree.FindItem(&payload)->leaf->cell;
}

void RefreshFromPayloads(CBoxTree& tree)
{
    tree.Refresh([](const SBoxPayload& payload) { return payload.box; });
}
}

TEST(AabbTree, InsertionFollowsTheLargestOverlap)
{
    CBoxTree tree(kRootCell);
    // Touching child 0 only on its face, so it goes to child 1 (x from 32).
    SBoxPayload onBoundary{MakeBox(32, 10, 10, 33, 11, 11), 1};
    // Half in each of two children: the lower index wins, down to the leaf below x = 32.
    SBoxPayload straddling{MakeBox(31.5f, 10.2f, 10.2f, 32.5f, 10.8f, 10.8f), 2};
    // Outside the root: overlaps no child, so always child 0.
    SBoxPayload outside{MakeBox(-20, -20, -20, -19, -19, -19), 3};
    ASSERT_TRUE(tree.Insert(&onBoundary, onBoundary.box));
    ASSERT_TRUE(tree.Insert(&straddling, straddling.box));
    ASSERT_TRUE(tree.Insert(&outside, outside.box));
    EXPECT_FALSE(tree.Insert(&outside, outside.box)); // twice: refused
    EXPECT_EQ(tree.GetItemCount(), 3u);

    EXPECT_EQ(LeafCell(tree, onBoundary).min.x, 32.0f);
    EXPECT_EQ(LeafCell(tree, onBoundary).min.y, 10.0f);
    EXPECT_EQ(LeafCell(tree, straddling).max.x, 32.0f);
    EXPECT_EQ(LeafCell(tree, straddling).min.x, 31.0f);
    EXPECT_EQ(LeafCell(tree, outside).min.x, 0.0f);
    EXPECT_EQ(LeafCell(tree, outside).max.z, 1.0f);
    EXPECT_EQ(tree.FindItem(&outside)->leaf->depth, 6);

    // The root's content holds every item, the one outside the root cell included.
    const SBox& content = tree.GetRoot().content;
    EXPECT_EQ(content.min.x, -20.0f);
    EXPECT_EQ(content.max.x, 33.0f);
    EXPECT_EQ(tree.GetRoot().itemCount, 3u);
    std::vector<const CBoxTree::SNode*> leaves;
    tree.QueryBox(MakeBox(-19, -19, -19, -18, -18, -18), leaves); // touching counts
    ASSERT_EQ(leaves.size(), 1u);
    EXPECT_EQ(leaves[0]->items[0]->payload, &outside);
}

TEST(AabbTree, MovedItemStaysInItsLeafWhileItStillOverlapsIt)
{
    CBoxTree tree(kRootCell);
    SBoxPayload moving{MakeBox(10.1f, 10.1f, 10.1f, 10.9f, 10.9f, 10.9f), 1};
    SBoxPayload still{MakeBox(50, 50, 50, 51, 51, 51), 2};
    tree.Insert(&moving, moving.box);
    tree.Insert(&still, still.box);
    const CBoxTree::SNode* leaf = tree.FindItem(&moving)->leaf;

    // Now mostly in the next cell, but still overlapping its own: it stays.
    moving.box = MakeBox(10.9f, 10.1f, 10.1f, 12.5f, 10.9f, 10.9f);
    RefreshFromPayloads(tree);
    EXPECT_EQ(tree.FindItem(&moving)->leaf, leaf);
    EXPECT_EQ(leaf->content.max.x, 12.5f);
    EXPECT_EQ(tree.GetRoot().content.min.x, 10.9f);
    EXPECT_FALSE(tree.GetRoot().dirty);

    // Clear of its cell: it moves to the leaf that now holds it.
    moving.box = MakeBox(20.2f, 10.1f, 10.1f, 20.8f, 10.9f, 10.9f);
    RefreshFromPayloads(tree);
    EXPECT_EQ(LeafCell(tree, moving).min.x, 20.0f);
    // Its old leaf was emptied (and the refit dropped it): nothing is found there.
    std::vector<const CBoxTree::SNode*> leaves;
    tree.QueryBox(MakeBox(10.2f, 10.2f, 10.2f, 10.8f, 10.8f, 10.8f), leaves);
    EXPECT_TRUE(leaves.empty());
    EXPECT_EQ(tree.GetRoot().itemCount, 2u);
}

TEST(AabbTree, RefitDropsSubtreesThatLostTheirLastItem)
{
    CBoxTree tree(kRootCell);
    SBoxPayload payload{MakeBox(1, 1, 1, 2, 2, 2), 1};
    tree.Insert(&payload, payload.box);
    const CBoxTree::SNode& firstOctant = tree.GetRoot().children[0];
    ASSERT_NE(firstOctant.children, nullptr);

    payload.box = MakeBox(60, 60, 60, 61, 61, 61);
    RefreshFromPayloads(tree);
    EXPECT_EQ(firstOctant.children, nullptr);
    EXPECT_EQ(firstOctant.itemCount, 0u);
    EXPECT_EQ(firstOctant.content.max.x, 0.0f);
    EXPECT_EQ(tree.GetRoot().children[7].itemCount, 1u);
    EXPECT_EQ(tree.GetRoot().content.min.x, 60.0f);

    // A refresh without movement changes nothing; Clear empties the tree.
    RefreshFromPayloads(tree);
    EXPECT_EQ(LeafCell(tree, payload).min.x, 60.0f);
    tree.Clear();
    EXPECT_EQ(tree.GetItemCount(), 0u);
    EXPECT_EQ(tree.GetRoot().children, nullptr);
    SBoxHit hit;
    SRay ray{{0, 0, 0, 1}, {64, 64, 64, 0}, 100};
    EXPECT_FALSE(tree.Trace(ray, hit, SegmentEntersBox));
    std::vector<const CBoxTree::SNode*> leaves;
    tree.QueryBox(MakeBox(-1, -1, -1, 1, 1, 1), leaves); // an empty root matches nothing
    EXPECT_TRUE(leaves.empty());
}

TEST(AabbTree, RayHitsBoxFromInsideOnAFaceAndWithinItsLength)
{
    using kelvo::RayHitsBox;
    const SBox box = MakeBox(0, 0, 0, 1, 1, 1);
    // Strictly inside: a hit whatever the direction and length.
    EXPECT_TRUE(RayHitsBox({{0.5f, 0.5f, 0.5f, 1}, {0, 0, 0, 0}, 0.0f}, box));
    // On a face: the slab test decides; leaving through that face still meets the box at
    // the origin, a ray just outside the face leaving it does not.
    EXPECT_TRUE(RayHitsBox({{0, 0.5f, 0.5f, 1}, {1, 0, 0, 0}, 1.0f}, box));
    EXPECT_TRUE(RayHitsBox({{0, 0.5f, 0.5f, 1}, {-1, 0, 0, 0}, 1.0f}, box));
    EXPECT_FALSE(RayHitsBox({{-0.001f, 0.5f, 0.5f, 1}, {-1, 0, 0, 0}, 1.0f}, box));
    // From outside: the entry must lie within the ray's length.
    EXPECT_TRUE(RayHitsBox({{-2, 0.5f, 0.5f, 1}, {1, 0, 0, 0}, 2.0f}, box));
    EXPECT_FALSE(RayHitsBox({{-2, 0.5f, 0.5f, 1}, {1, 0, 0, 0}, 1.9f}, box));
    EXPECT_FALSE(RayHitsBox({{2, 0.5f, 0.5f, 1}, {1, 0, 0, 0}, 10.0f}, box)); // behind
    // Parallel to a slab it lies outside of.
    EXPECT_FALSE(RayHitsBox({{-2, 5, 0.5f, 1}, {1, 0, 0, 0}, 10.0f}, box));
    // Grazing an edge, or passing through a flat box: no hit.
    EXPECT_FALSE(RayHitsBox({{-2, 1, 1, 1}, {1, 0, 0, 0}, 10.0f}, box));
    EXPECT_FALSE(RayHitsBox({{-2, 0.5f, 0.5f, 1}, {1, 0, 0, 0}, 10.0f}, MakeBox(0, 0, 0.5f, 1, 1, 0.5f)));
}

TEST(AabbTree, TraceFindsTheNearestBoxLikeALoopOverAllBoxes)
{
    std::mt19937 random(1234);
    CBoxTree tree(MakeBox(-100, -100, -100, 100, 100, 100));
    std::vector<SBoxPayload> boxes(600);
    auto place = [&](SBoxPayload& payload) {
        const SVector4 corner{Uniform(random, -110, 100), Uniform(random, -110, 100), Uniform(random, -110, 100), 1};
        const SVector4 size{Uniform(random, 0.1f, 8), Uniform(random, 0.1f, 8), Uniform(random, 0.1f, 8), 0};
        payload.box = {corner, corner + size};
    };
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i].id = static_cast<int>(i);
        place(boxes[i]);
        tree.Insert(&boxes[i], boxes[i].box);
    }

    for (int round = 0; round < 3; ++round) {
        for (int r = 0; r < 1000; ++r) {
            const SRay ray = RandomSegment(random, 120);
            float nearest = CBoxTree::kNoHitDistance;
            for (const SBoxPayload& payload : boxes) {
                SBoxHit candidate;
                if (kelvo::RayHitsBox(ray, payload.box) && SegmentEntersBox(ray, payload, candidate))
                    nearest = std::min(nearest, candidate.distance);
            }
            SBoxHit hit;
            const bool found = tree.Trace(ray, hit, SegmentEntersBox);
            ASSERT_EQ(found, nearest < CBoxTree::kNoHitDistance) << "round " << round << " ray " << r;
            ASSERT_EQ(hit.distance, nearest) << "round " << round << " ray " << r;
        }
        // Move a third of the boxes and check again after the refresh.
        for (std::size_t i = 0; i < boxes.size(); i += 3)
            place(boxes[i]);
        RefreshFromPayloads(tree);
        ASSERT_EQ(tree.GetRoot().itemCount, boxes.size());
    }
}
