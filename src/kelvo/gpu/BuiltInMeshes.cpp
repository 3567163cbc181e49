#include "kelvo/gpu/BuiltInMeshes.h"

#include "kelvo/core/ProgramRandom.h"
#include "kelvo/gpu/Mesh.h"
#include "kelvo/gpu/PlatformShapes.h"

#include <array>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace
{
using SFloat4 = std::array<float, 4>;

// Fills a stream with the elements given, one per vertex.
template <typename T, std::size_t N>
void FillStream(CMesh& mesh, const char* name, const std::array<T, N>& values)
{
    CMeshDataBuffer* stream = mesh.GetBuffer(name, sizeof(T));
    stream->Resize(static_cast<uint32_t>(N));
    for (uint32_t i = 0; i < N; ++i)
        *stream->Element<T>(i) = values[i];
}

void FillStream(CMesh& mesh, const char* name, const std::vector<SFloat4>& values)
{
    CMeshDataBuffer* stream = mesh.GetBuffer(name, sizeof(SFloat4));
    stream->Resize(static_cast<uint32_t>(values.size()));
    for (uint32_t i = 0; i < values.size(); ++i)
        *stream->Element<SFloat4>(i) = values[i];
}

void FillIndices(CMesh& mesh, const std::vector<uint32_t>& indices)
{
    CMeshDataBuffer* stream = mesh.GetBuffer("indices", sizeof(uint32_t));
    stream->Resize(static_cast<uint32_t>(indices.size()));
    for (uint32_t i = 0; i < indices.size(); ++i)
        *stream->Element<uint32_t>(i) = indices[i];
}

SFloat4 UnitMidpoint(const SFloat4& a, const SFloat4& b)
{
    SFloat4 middle = {(a[0] + b[0]) * 0.5f, (a[1] + b[1]) * 0.5f, (a[2] + b[2]) * 0.5f, 0.0f};
    const float length = std::sqrt(middle[0] * middle[0] + middle[1] * middle[1] + middle[2] * middle[2]);
    for (int axis = 0; axis < 3; ++axis)
        middle[axis] /= length;
    return middle;
}
}

bool BuildLineMesh(CMesh& mesh)
{
    mesh.SetPrimitiveType(CMesh::kLineList);
    mesh.AddStream("position", 16);
    mesh.AddStream("diffuse", 4);
    mesh.GetBuffer("indices", 4);
    return mesh.Update();
}

bool BuildTextMesh(CMesh& mesh)
{
    mesh.SetPrimitiveType(CMesh::kTriangleList);
    mesh.AddStream("position", 16);
    mesh.AddStream("tex0", 16);
    mesh.AddStream("diffuse", 4);
    mesh.GetBuffer("indices", 4);
    return mesh.Update();
}

bool BuildBillboard(CMesh& mesh)
{
    FillStream(mesh, "position",
               std::array<SFloat4, 4>{{{-1, 1, 0, 0}, {1, 1, 0, 0}, {-1, -1, 0, 0}, {1, -1, 0, 0}}});
    FillStream(mesh, "tex0", std::array<std::array<float, 2>, 4>{{{0, 0}, {1, 0}, {0, 1}, {1, 1}}});
    FillIndices(mesh, {0, 1, 2, 2, 1, 3});
    mesh.SetPrimitiveType(CMesh::kTriangleList);
    return mesh.Update();
}

bool BuildBall(CMesh& mesh, uint32_t level)
{
    std::vector<SFloat4> vertices = {{0, 1, 0, 0},  {1, 0, 0, 0},  {0, 0, 1, 0},
                                     {-1, 0, 0, 0}, {0, 0, -1, 0}, {0, -1, 0, 0}};
    std::vector<uint32_t> triangles = {0, 2, 1, 0, 3, 2, 0, 4, 3, 0, 1, 4,
                                       1, 2, 5, 2, 3, 5, 3, 4, 5, 4, 1, 5};
    for (uint32_t step = 0; step < level; ++step)
    {
        // Midpoints are shared per directed edge only, so neighbours get their own copies.
        std::map<std::pair<uint32_t, uint32_t>, uint32_t> midpoints;
        auto midpoint = [&](uint32_t a, uint32_t b) {
            auto [entry, added] = midpoints.try_emplace({a, b}, 0u);
            if (added)
            {
                entry->second = static_cast<uint32_t>(vertices.size());
                vertices.push_back(UnitMidpoint(vertices[a], vertices[b]));
            }
            return entry->second;
        };
        std::vector<uint32_t> finer;
        finer.reserve(triangles.size() * 4);
        for (std::size_t t = 0; t < triangles.size(); t += 3)
        {
            const uint32_t a = triangles[t], b = triangles[t + 1], c = triangles[t + 2];
            const uint32_t ab = midpoint(a, b), bc = midpoint(b, c), ca = midpoint(c, a);
            finer.insert(finer.end(), {a, ab, ca, ab, bc, ca, ab, b, bc, ca, bc, c});
        }
        triangles = std::move(finer);
    }
    std::vector<SFloat4> normals = vertices;
    for (SFloat4& normal : normals)
        for (int axis = 0; axis < 3; ++axis)
            normal[axis] = -normal[axis];
    FillStream(mesh, "position", vertices);
    FillStream(mesh, "normal", normals);
    FillIndices(mesh, triangles);
    return mesh.Update();
}

bool BuildTwoTriangles(CMesh& mesh)
{
    std::vector<SFloat4> positions(6);
    for (SFloat4& position : positions)
    {
        // Drawn z first, then y, then x.
        position[2] = ProgramRandom().RangeLowFirst(-1.0f, 1.0f);
        position[1] = ProgramRandom().RangeLowFirst(-1.0f, 1.0f);
        position[0] = ProgramRandom().RangeLowFirst(-1.0f, 1.0f);
        position[3] = 0.0f;
    }
    FillStream(mesh, "position", positions);
    FillStream(mesh, "normal",
               std::vector<SFloat4>{
                   {0, 0, 1, 0}, {0, 0, 1, 0}, {0, 0, 1, 0}, {0, 1, 0, 0}, {0, 1, 0, 0}, {0, 1, 0, 0}});
    FillIndices(mesh, {0, 1, 2, 0, 1, 3});
    mesh.Transform(MatrixRotationX(0.001f) * MatrixRotationY(0.001f));
    return mesh.Update();
}

namespace
{
bool BuildShape(CMesh& mesh, const SImportedMesh& shape)
{
    if (!ConvertImportedGeometry(shape, mesh))
        return false;
    mesh.SetPrimitiveType(CMesh::kTriangleList);
    return true;
}
}

bool BuildBox(CMesh& mesh)
{
    return BuildShape(mesh, MakeBoxShape(1.0f, 1.0f, 1.0f)) && mesh.Update();
}

bool BuildTorus(CMesh& mesh, uint32_t rings, uint32_t sides, float innerRadius, float outerRadius)
{
    if (!BuildShape(mesh, MakeTorusShape(rings, sides, innerRadius, outerRadius)))
        return false;
    for (const char* name : {"position", "normal"})
    {
        CMeshDataBuffer* stream = mesh.GetBuffer(name, 0);
        for (uint32_t i = 0; i < stream->GetCount(); ++i)
            for (float& component : *stream->Element<SFloat4>(i))
                component = -component;
    }
    return mesh.Update();
}

bool BuildTeapot(CMesh& mesh)
{
    return BuildShape(mesh, MakeTeapotShape()) && mesh.Update();
}
