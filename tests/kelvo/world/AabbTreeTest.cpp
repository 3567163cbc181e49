#include "kelvo/core/AabbTree.h"

#include <random>
#include <vector>

#include "TreeTestHelpers.h"

#include <gtest/gtest.h>

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
        const SVector4 corner{Uniform(random, -110, 100), Uniform(random, -110, 100),
                              Uniform(random, -110, 100), 1};
        const SVector4 size{Uniform(random, 0.1f, 8), Uniform(random, 0.1f, 8), Uniform(random, 0.1f, 8), 0};
        payload.box = {corner, corner + size};
    };
    for (std::size_t i = 0; i < boxes.size(); ++i)
    {
        boxes[i].id = static_cast<int>(i);
        place(boxes[i]);
        tree.Insert(&boxes[i], boxes[i].box);
    }

    for (int round = 0; round < 3; ++round)
    {
        for (int r = 0; r < 1000; ++r)
        {
            const SRay ray = RandomSegment(random, 120);
            float nearest = CBoxTree::kNoHitDistance;
            for (const SBoxPayload& payload : boxes)
            {
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
        tree.Refresh([](const SBoxPayload& payload) { return payload.box; });
        ASSERT_EQ(tree.GetRoot().itemCount, boxes.size());
    }
}
