#include "kelvo/gpu/TraceGeometry.h"

#include "TreeTestHelpers.h"

#include <gtest/gtest.h>

namespace
{
// One triangle in the plane z = 0: (0,0), (1,0), (0,1).
SMeshData UnitTriangle()
{
    return {{{0, 0, 0, 1}, {1, 0, 0, 1}, {0, 1, 0, 1}}, {0, 1, 2}};
}
}

TEST(TraceGeometry, HitsCountUpToTheSegmentsEndButNotBehindItsOrigin)
{
    const SMeshData mesh = UnitTriangle();
    CTraceGeometry geometry;
    geometry.EnsureBuilt(mesh.Source());
    STraceMeshHit hit;

    // Ending exactly on the triangle: s = 1 counts.
    ASSERT_TRUE(geometry.Trace({{0.25f, 0.25f, 2, 1}, {0, 0, -2, 0}, 4.0f}, hit));
    EXPECT_FLOAT_EQ(hit.distance, 4.0f);
    EXPECT_EQ(hit.triangle, &geometry.GetTriangles()[0]);
    // Halfway along a slanted segment.
    ASSERT_TRUE(geometry.Trace({{0.2f, 0.2f, 1, 1}, {0.1f, 0.1f, -2, 0}, 10.0f}, hit));
    EXPECT_NEAR(hit.distance, 5.0f, 1e-5f);
    // The triangle behind the origin (s < 0), short of it (s > 1), and beside it.
    EXPECT_FALSE(geometry.Trace({{0.25f, 0.25f, 1, 1}, {0, 0, 1, 0}, 1.0f}, hit));
    EXPECT_FALSE(geometry.Trace({{0.25f, 0.25f, 1, 1}, {0, 0, -0.9f, 0}, 1.0f}, hit));
    EXPECT_FALSE(geometry.Trace({{0.6f, 0.6f, 1, 1}, {0, 0, -2, 0}, 1.0f}, hit));
    EXPECT_EQ(hit.triangle, nullptr);
    // The triangle test alone, without the box test in front of it.
    const STraceGeometryTriangle& triangle = geometry.GetTriangles()[0];
    EXPECT_FALSE(CTraceGeometry::TraceTriangle({{0.25f, 0.25f, 1, 1}, {0, 0, 1, 0}, 1.0f}, triangle, hit));
    EXPECT_TRUE(CTraceGeometry::TraceTriangle({{0.25f, 0.25f, -1, 1}, {0, 0, 1, 0}, 3.0f}, triangle, hit));
    EXPECT_FLOAT_EQ(hit.distance, 3.0f);
    // A ray in the triangle's plane never hits it.
    EXPECT_FALSE(geometry.Trace({{-1, 0.25f, 0, 1}, {3, 0, 0, 0}, 3.0f}, hit));
}

TEST(TraceGeometry, BuildsOnceUntilMarkedAndSkipsBrokenTriangles)
{
    SMeshData mesh = UnitTriangle();
    // A second triangle with an index past the vertices, a third without area.
    mesh.positions.push_back({2, 2, 0, 1});
    mesh.indices.insert(mesh.indices.end(), {0, 1, 9, 0, 3, 3});
    CTraceGeometry geometry;
    EXPECT_EQ(geometry.GetBuildCount(), 0u);
    geometry.EnsureBuilt(mesh.Source());
    geometry.EnsureBuilt(mesh.Source());
    EXPECT_EQ(geometry.GetBuildCount(), 1u);
    EXPECT_EQ(geometry.GetTriangleCount(), 3u);
    EXPECT_EQ(geometry.GetItemCount(), 1u);
    STraceMeshHit hit;
    EXPECT_TRUE(geometry.Trace({{0.25f, 0.25f, 1, 1}, {0, 0, -2, 0}, 2.0f}, hit));

    geometry.MarkForBuild();
    STraceSource missing = mesh.Source();
    missing.indices = nullptr; // no "indices": an empty tree
    geometry.EnsureBuilt(missing);
    EXPECT_EQ(geometry.GetBuildCount(), 2u);
    EXPECT_EQ(geometry.GetItemCount(), 0u);
    EXPECT_FALSE(geometry.Trace({{0.25f, 0.25f, 1, 1}, {0, 0, -2, 0}, 2.0f}, hit));

    // 16-bit indices.
    const uint16_t shortIndices[3] = {2, 1, 0};
    STraceSource narrow = mesh.Source();
    narrow.indices = shortIndices;
    narrow.indexCount = 3;
    narrow.indexSize = 2;
    geometry.Build(narrow);
    EXPECT_EQ(geometry.GetTriangles()[0].vertices[0], &mesh.positions[2]);
    EXPECT_TRUE(geometry.Trace({{0.25f, 0.25f, -1, 1}, {0, 0, 2, 0}, 2.0f}, hit));
}
