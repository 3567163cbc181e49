// Triangle meshes for the trace tests, and random segments and triangle soups.
#pragma once

#include <random>
#include <vector>

#include "kelvo/gpu/TraceGeometry.h"

inline float Uniform(std::mt19937& random, float low, float high)
{
    return std::uniform_real_distribution<float>(low, high)(random);
}

// A random point of the cube [-extent, extent] (w = 1), or a direction in it (w = 0).
inline SVector4 RandomPoint(std::mt19937& random, float extent, float w = 1.0f)
{
    return {Uniform(random, -extent, extent), Uniform(random, -extent, extent),
            Uniform(random, -extent, extent), w};
}

// A random segment between two points of the cube [-extent, extent].
inline SRay RandomSegment(std::mt19937& random, float extent)
{
    SRay ray;
    ray.origin = RandomPoint(random, extent);
    ray.direction = RandomPoint(random, extent) - ray.origin;
    ray.direction.w = 0.0f;
    ray.length = Length(XYZ(ray.direction));
    return ray;
}

// Triangles given as plain arrays, as a mesh's streams hold them.
struct SMeshData
{
    std::vector<SVector4> positions;
    std::vector<uint32_t> indices;

    STraceSource Source() const
    {
        STraceSource source;
        source.positions = positions.data();
        source.vertexCount = static_cast<uint32_t>(positions.size());
        source.indices = indices.data();
        source.indexCount = static_cast<uint32_t>(indices.size());
        source.indexSize = 4;
        if (!positions.empty())
        {
            source.bounds = {positions[0], positions[0]};
            for (const SVector4& p : positions)
                ExtendBox(source.bounds, p);
        }
        return source;
    }
};

// count triangles of their own corners, each corner within spread of a centre in the cube
// [-extent, extent].
inline SMeshData RandomTriangles(std::mt19937& random, uint32_t count, float extent, float spread)
{
    SMeshData mesh;
    for (uint32_t i = 0; i < count; ++i)
    {
        const SVector4 centre = RandomPoint(random, extent);
        for (int corner = 0; corner < 3; ++corner)
        {
            mesh.positions.push_back(centre + RandomPoint(random, spread, 0.0f));
            mesh.indices.push_back(static_cast<uint32_t>(mesh.positions.size() - 1));
        }
    }
    return mesh;
}
