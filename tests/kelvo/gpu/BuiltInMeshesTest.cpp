#include "kelvo/gpu/BuiltInMeshes.h"

#include "MeshTestHelpers.h"

#include <cmath>
#include <utility>
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
SVector3 FaceNormal(const CMesh& mesh, const std::vector<uint32_t>& indices, std::size_t t)
{
    const SVector3 a = Xyz(mesh, "position", indices[t * 3]);
    return Cross(Xyz(mesh, "position", indices[t * 3 + 1]) - a,
                 Xyz(mesh, "position", indices[t * 3 + 2]) - a);
}

// The number of triangles (of area above a minimum) whose winding agrees with the sum of
// their vertex normals, and the number that disagree.
std::pair<int, int> Winding(const CMesh& mesh)
{
    const std::vector<uint32_t> indices = Indices(mesh);
    std::pair<int, int> counts{0, 0};
    for (std::size_t t = 0; t < indices.size() / 3; ++t)
    {
        const SVector3 face = FaceNormal(mesh, indices, t);
        if (Length(face) < 1e-7f)
            continue;
        SVector3 normals;
        for (int corner = 0; corner < 3; ++corner)
            normals = normals + Xyz(mesh, "normal", indices[t * 3 + corner]);
        (Dot(face, normals) > 0 ? counts.first : counts.second)++;
    }
    return counts;
}

void ExpectUnitNormals(const CMesh& mesh)
{
    const CMeshDataBuffer* normals = mesh.FindBuffer("normal");
    for (uint32_t i = 0; i < normals->GetCount(); ++i)
        ASSERT_NEAR(Length(Xyz(mesh, "normal", i)), 1.0f, 1e-4f) << "normal " << i;
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
        const SVector3 position = Xyz(mesh, "position", i), normal = Xyz(mesh, "normal", i);
        ASSERT_NEAR(Length(position), 1.0f, 1e-5f) << i;
        ASSERT_EQ(Length(position + normal), 0.0f) << i;
    }
    // Triangles face outwards while the normals point in.
    for (std::size_t t = 0; t < indices.size() / 3; ++t)
        ASSERT_GT(Dot(FaceNormal(mesh, indices, t), Xyz(mesh, "position", indices[t * 3])), 0.0f) << t;
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
        // The normal is the axis of the face the corner lies on.
        EXPECT_NEAR(Dot(Xyz(mesh, "position", i), Xyz(mesh, "normal", i)), 0.5f, 1e-6f) << i;
        EXPECT_EQ(std::fabs(position[0]) + std::fabs(position[1]) + std::fabs(position[2]), 1.5f);
        EXPECT_EQ(position[3], 0.0f);
    }
    ExpectUnitNormals(mesh);
    EXPECT_EQ(Winding(mesh), std::make_pair(12, 0));
    EXPECT_EQ(BoundingBox(mesh).first, (SFloat4{-0.5f, -0.5f, -0.5f, 1}));
    EXPECT_EQ(BoundingBox(mesh).second, (SFloat4{0.5f, 0.5f, 0.5f, 1}));
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
    EXPECT_EQ(Winding(mesh), std::make_pair(0, 30 * 18 * 2));
}

TEST(BuiltInMeshes, TeapotIsACentredPotFacingOutwards)
{
    CMesh mesh(nullptr);
    ASSERT_TRUE(BuildTeapot(mesh));
    ExpectUnitNormals(mesh);
    const auto [agree, disagree] = Winding(mesh);
    EXPECT_GT(agree, 2000);
    EXPECT_EQ(disagree, 0);
    const auto [low, high] = BoundingBox(mesh);
    // Handle to spout tip along x, lid knob to bottom along y, round along z.
    EXPECT_NEAR(low[0], -1.5f, 1e-4f);
    EXPECT_GT(high[0], 1.65f);
    EXPECT_LT(high[0], 1.7625f);
    EXPECT_NEAR(low[1], -0.7875f, 1e-4f);
    EXPECT_NEAR(high[1], 0.7875f, 1e-4f);
    EXPECT_NEAR(low[2], -1.0f, 1e-4f);
    EXPECT_NEAR(high[2], 1.0f, 1e-4f);
    // Normals on the widest part of the body, away from spout and handle, point outwards; the
    // knob's top faces up, the bottom faces down.
    int bodyPoints = 0, capPoints = 0;
    for (uint32_t i = 0; i < mesh.FindBuffer("position")->GetCount(); ++i)
    {
        const SVector3 position = Xyz(mesh, "position", i), normal = Xyz(mesh, "normal", i);
        const float radius = std::hypot(position.x, position.z);
        if (radius >= 0.95f && std::fabs(position.x) <= 0.7f)
        {
            ++bodyPoints;
            ASSERT_GT(Dot(normal, {position.x, 0, position.z}), 0.0f) << i;
        }
        if (radius <= 0.05f && std::fabs(position.y) >= 0.7f)
        {
            ++capPoints;
            ASSERT_GT(normal.y * position.y, 0.0f) << i;
        }
    }
    EXPECT_GT(bodyPoints, 0);
    EXPECT_GT(capPoints, 0);
}
