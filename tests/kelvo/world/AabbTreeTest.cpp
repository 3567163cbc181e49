#include "kelvo/core/AabbTree.h"

#include <gtest/gtest.h>

// The tree's own search is checked through the space, in SpaceTraceTest.
TEST(AabbTree, RayHitsBoxFromInsideOnAFaceAndWithinItsLength)
{
    using kelvo::RayHitsBox;
    const SBox box{{0, 0, 0, 1}, {1, 1, 1, 1}};
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
    EXPECT_FALSE(
        RayHitsBox({{-2, 0.5f, 0.5f, 1}, {1, 0, 0, 0}, 10.0f}, SBox{{0, 0, 0.5f, 1}, {1, 1, 0.5f, 1}}));
}
