#include "kelvo/gpu/PlatformShapes.h"

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace
{
using SFloat3 = std::array<float, 3>;

SImportedMesh FromArrays(const std::vector<SFloat3>& positions, const std::vector<SFloat3>& normals,
                         std::vector<uint32_t> indices)
{
    SImportedMesh shape;
    shape.m_VertexCount = static_cast<uint32_t>(positions.size());
    shape.AddFloatStream("position", 3, 16, positions.front().data());
    shape.AddFloatStream("normal", 3, 16, normals.front().data());
    shape.m_Indices = std::move(indices);
    return shape;
}
}

SImportedMesh MakeBoxShape(float width, float height, float depth)
{
    const SFloat3 half = {width * 0.5f, height * 0.5f, depth * 0.5f};
    // Each face: its normal axis and sign, then two in-plane axes u and v with u x v = normal.
    struct SFace
    {
        int m_Axis;
        float m_Sign;
        int m_U;
        int m_V;
    };
    constexpr SFace kFaces[6] = {{0, 1, 1, 2},  {0, -1, 2, 1}, {1, 1, 2, 0},
                                 {1, -1, 0, 2}, {2, 1, 0, 1},  {2, -1, 1, 0}};
    constexpr float kCorners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    std::vector<SFloat3> positions, normals;
    std::vector<uint32_t> indices;
    for (const SFace& face : kFaces)
    {
        const auto first = static_cast<uint32_t>(positions.size());
        SFloat3 normal = {0, 0, 0};
        normal[face.m_Axis] = face.m_Sign;
        for (const auto& corner : kCorners)
        {
            SFloat3 position = {0, 0, 0};
            position[face.m_Axis] = face.m_Sign * half[face.m_Axis];
            position[face.m_U] = corner[0] * half[face.m_U];
            position[face.m_V] = corner[1] * half[face.m_V];
            positions.push_back(position);
            normals.push_back(normal);
        }
        indices.insert(indices.end(), {first, first + 1, first + 2, first, first + 2, first + 3});
    }
    return FromArrays(positions, normals, std::move(indices));
}

SImportedMesh MakeTorusShape(uint32_t rings, uint32_t sides, float innerRadius, float outerRadius)
{
    std::vector<SFloat3> positions, normals;
    std::vector<uint32_t> indices;
    if (rings == 0 || sides == 0)
        return FromArrays({{0, 0, 0}}, {{0, 0, 0}}, {});
    const float twoPi = 2.0f * std::numbers::pi_v<float>;
    for (uint32_t ring = 0; ring < rings; ++ring)
    {
        const float phi = twoPi * static_cast<float>(ring) / static_cast<float>(rings);
        for (uint32_t side = 0; side < sides; ++side)
        {
            const float theta = twoPi * static_cast<float>(side) / static_cast<float>(sides);
            const SFloat3 normal = {std::cos(theta) * std::cos(phi), std::cos(theta) * std::sin(phi),
                                    std::sin(theta)};
            positions.push_back({outerRadius * std::cos(phi) + innerRadius * normal[0],
                                 outerRadius * std::sin(phi) + innerRadius * normal[1],
                                 innerRadius * normal[2]});
            normals.push_back(normal);
        }
    }
    auto vertex = [&](uint32_t ring, uint32_t side) { return (ring % rings) * sides + side % sides; };
    for (uint32_t ring = 0; ring < rings; ++ring)
        for (uint32_t side = 0; side < sides; ++side)
        {
            // Around the axis first, then around the tube: that order faces outwards.
            const uint32_t a = vertex(ring, side), b = vertex(ring + 1, side), c = vertex(ring + 1, side + 1),
                           d = vertex(ring, side + 1);
            indices.insert(indices.end(), {a, b, c, a, c, d});
        }
    return FromArrays(positions, normals, std::move(indices));
}
