#include "kelvo/gpu/BuiltInMeshes.h"

#include "MeshTestHelpers.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

namespace
{
const std::vector<uint32_t> Indices(const CMesh& mesh)
{
    const CMeshDataBuffer* indices = mesh.FindBuffer("indices");
    EXPECT_EQ(indices->GetStride(), 4u);
    const auto* first = indices->Element<uint32_t>(0);
    return {first, first + indices->GetCount()};
}

// (b - a) x (c - a) of triangle t.
SFloat4 FaceNormal(const CMesh& mesh, const std::vector<uint32_t>& indices, std::size_t t)
{
    const SFloat4& a = Float4At(mesh, "position", indices[t * 3]);
    const SFloat4& b = Float4At(mesh, "position", indices[t * 3 + 1]);
    const SFloat4& c = Float4At(mesh, "position", indices[t * 3 + 2]);
    return Cross(Minus(b, a), Minus(c, a));
}

// Counts the triangles (of area above a minimum) whose winding agrees with the sum of their
// vertex normals, and those that disagree.
void CountWinding(const CMesh& mesh, int& outAgree, int& outDisagree)
{
    const std::vector<uint32_t> indices = Indices(mesh);
    outAgree = outDisagree = 0;
    for (std::size_t t = 0; t < indices.size() / 3; ++t)
    {
        const SFloat4 face = FaceNormal(mesh, indices, t);
        if (Length3(face) < 1e-7f)
            continue;
        SFloat4 normals = {0, 0, 0, 0};
        for (int corner = 0; corner < 3; ++corner)
            for (int axis = 0; axis < 3; ++axis)
                normals[axis] += Float4At(mesh, "normal", indices[t * 3 + corner])[axis];
        (Dot3(face, normals) > 0 ? outAgree : outDisagree)++;
    }
}

void ExpectUnitNormals(const CMesh& mesh)
{
    const CMeshDataBuffer* normals = mesh.FindBuffer("normal");
    for (uint32_t i = 0; i < normals->GetCount(); ++i)
        ASSERT_NEAR(Length3(Float4At(mesh, "normal", i)), 1.0f, 1e-4f) << "normal " << i;
}
}

TEST(BuiltInMeshes, BallIsSubdividedOnTheUnitSphereWithInwardNormals)
{
    CMesh mesh(nullptr);
    ASSERT_TRUE(BuildBall(mesh, 3));
    const std::vector<uint32_t> indices = Indices(mesh);
    EXPECT_EQ(indices.size(), 512u * 3);
    // Every level adds three midpoints per triangle: 6 + 24 + 96 + 384.
    const uint32_t count = mesh.FindBuffer("position")->GetCount();
    EXPECT_EQ(count, 510u);
    EXPECT_EQ(mesh.FindBuffer("normal")->GetCount(), count);
    for (uint32_t i = 0; i < count; ++i)
    {
        const SFloat4& position = Float4At(mesh, "position", i);
        const SFloat4& normal = Float4At(mesh, "normal", i);
        ASSERT_NEAR(Length3(position), 1.0f, 1e-5f) << i;
        for (int axis = 0; axis < 3; ++axis)
            ASSERT_EQ(normal[axis], -position[axis]) << i;
    }
    // Triangles face outwards while the normals point in.
    for (std::size_t t = 0; t < indices.size() / 3; ++t)
        ASSERT_GT(Dot3(FaceNormal(mesh, indices, t), Float4At(mesh, "position", indices[t * 3])), 0.0f)
            << "triangle " << t;
    float low[4], high[4];
    mesh.GetBoundingBox(low, high);
    EXPECT_EQ(low[1], -1.0f);
    EXPECT_EQ(high[0], 1.0f);
}

TEST(BuiltInMeshes, BoxHasTwentyFourVerticesWithFaceNormals)
{
    CMesh mesh(nullptr);
    // The sizes asked for are not used: the box is always 1 x 1 x 1.
    ASSERT_TRUE(mesh.CreateBox(3.0f, 4.0f, 5.0f));
    ASSERT_EQ(mesh.FindBuffer("position")->GetCount(), 24u);
    EXPECT_EQ(Indices(mesh).size(), 36u);
    for (uint32_t i = 0; i < 24; ++i)
    {
        const SFloat4& position = Float4At(mesh, "position", i);
        const SFloat4& normal = Float4At(mesh, "normal", i);
        // The normal is the axis of the face the corner lies on.
        EXPECT_NEAR(Dot3(position, normal), 0.5f, 1e-6f) << i;
        EXPECT_EQ(std::fabs(position[0]) + std::fabs(position[1]) + std::fabs(position[2]), 1.5f);
        EXPECT_EQ(position[3], 0.0f);
    }
    ExpectUnitNormals(mesh);
    int agree = 0, disagree = 0;
    CountWinding(mesh, agree, disagree);
    EXPECT_EQ(agree, 12);
    EXPECT_EQ(disagree, 0);
    float low[4], high[4];
    mesh.GetBoundingBox(low, high);
    EXPECT_EQ((SFloat4{low[0], low[1], low[2], high[0]}), (SFloat4{-0.5f, -0.5f, -0.5f, 0.5f}));
}

TEST(BuiltInMeshes, TorusIsBuiltThenNegated)
{
    CMesh mesh(nullptr);
    ASSERT_TRUE(mesh.CreateTorus(30, 18, 0.3f, 1.0f));
    const uint32_t count = mesh.FindBuffer("position")->GetCount();
    EXPECT_EQ(count, 30u * 18);
    EXPECT_EQ(Indices(mesh).size(), 30u * 18 * 6);
    ExpectUnitNormals(mesh);
    for (uint32_t i = 0; i < count; ++i)
    {
        const SFloat4& position = Float4At(mesh, "position", i);
        const SFloat4& normal = Float4At(mesh, "normal", i);
        // On the tube: 0.3 from the circle of radius 1 about z.
        const float ring = std::hypot(position[0], position[1]) - 1.0f;
        ASSERT_NEAR(std::hypot(ring, position[2]), 0.3f, 1e-5f) << i;
        // Negation turned the fourth floats too.
        EXPECT_EQ(std::signbit(position[3]), true);
        EXPECT_EQ(std::signbit(normal[3]), true);
    }
    // Negating positions keeps the winding's direction, so it now opposes the normals.
    int agree = 0, disagree = 0;
    CountWinding(mesh, agree, disagree);
    EXPECT_EQ(agree, 0);
    EXPECT_EQ(disagree, 30 * 18 * 2);
}

TEST(BuiltInMeshes, TeapotIsACentredPotFacingOutwards)
{
    CMesh mesh(nullptr);
    ASSERT_TRUE(BuildTeapot(mesh));
    ExpectUnitNormals(mesh);
    int agree = 0, disagree = 0;
    CountWinding(mesh, agree, disagree);
    EXPECT_GT(agree, 2000);
    EXPECT_EQ(disagree, 0);
    float low[4], high[4];
    mesh.GetBoundingBox(low, high);
    // Handle to spout tip along x, lid knob to bottom along y, round along z.
    EXPECT_NEAR(low[0], -1.5f, 1e-4f);
    EXPECT_GT(high[0], 1.65f);
    EXPECT_LT(high[0], 1.7625f);
    EXPECT_NEAR(low[1], -0.7875f, 1e-4f);
    EXPECT_NEAR(high[1], 0.7875f, 1e-4f);
    EXPECT_NEAR(low[2], -1.0f, 1e-4f);
    EXPECT_NEAR(high[2], 1.0f, 1e-4f);
    // Normals on the widest part of the body, away from spout and handle, point outwards.
    const CMeshDataBuffer* positions = mesh.FindBuffer("position");
    int bodyPoints = 0;
    for (uint32_t i = 0; i < positions->GetCount(); ++i)
    {
        const SFloat4& position = Float4At(mesh, "position", i);
        if (std::hypot(position[0], position[2]) < 0.95f || std::fabs(position[0]) > 0.7f)
            continue;
        ++bodyPoints;
        const SFloat4 radial = {position[0], 0, position[2], 0};
        ASSERT_GT(Dot3(Float4At(mesh, "normal", i), radial), 0.0f) << i;
    }
    EXPECT_GT(bodyPoints, 0);
    // The knob's top faces up, the bottom faces down.
    int capPoints = 0;
    for (uint32_t i = 0; i < positions->GetCount(); ++i)
    {
        const SFloat4& position = Float4At(mesh, "position", i);
        if (std::hypot(position[0], position[2]) > 0.05f || std::fabs(position[1]) < 0.7f)
            continue;
        ++capPoints;
        ASSERT_GT(Float4At(mesh, "normal", i)[1] * position[1], 0.0f) << i;
    }
    EXPECT_GT(capPoints, 0);
}
