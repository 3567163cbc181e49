// Box payloads for the spatial tree tests, with an exact ray-box distance to compare with
// a loop over all boxes; triangle meshes for the trace tests, and random segments and soups.
#pragma once

#include <algorithm>
#include <random>
#include <vector>

#include "kelvo/core/AabbTree.h"
#include "kelvo/gpu/TraceGeometry.h"

struct SBoxPayload
{
    SBox box;
    int id = 0;
};

struct SBoxHit
{
    float distance = 0.0f;
    const SBoxPayload* payload = nullptr;
};

using CBoxTree = kelvo::aabb_tree_t<SBoxPayload, 6, SBoxHit>;

inline SBox MakeBox(float x0, float y0, float z0, float x1, float y1, float z1)
{
    return {{x0, y0, z0, 1.0f}, {x1, y1, z1, 1.0f}};
}

// Distance along the segment to where it enters the box (0 from inside); false on a miss.
inline bool SegmentEntersBox(const SRay& ray, const SBoxPayload& payload, SBoxHit& hit)
{
    const float o[3] = {ray.origin.x, ray.origin.y, ray.origin.z};
    const float d[3] = {ray.direction.x, ray.direction.y, ray.direction.z};
    const float lo[3] = {payload.box.min.x, payload.box.min.y, payload.box.min.z};
    const float hi[3] = {payload.box.max.x, payload.box.max.y, payload.box.max.z};
    float enter = 0.0f, exit = 1.0f;
    for (int axis = 0; axis < 3; ++axis)
    {
        if (d[axis] == 0.0f)
        {
            if (o[axis] < lo[axis] || o[axis] > hi[axis])
                return false;
            continue;
        }
        float a = (lo[axis] - o[axis]) / d[axis], b = (hi[axis] - o[axis]) / d[axis];
        if (a > b)
            std::swap(a, b);
        enter = std::max(enter, a);
        exit = std::min(exit, b);
    }
    if (enter > exit)
        return false;
    hit.distance = enter * ray.length;
    hit.payload = &payload;
    return true;
}

inline float Uniform(std::mt19937& random, float low, float high)
{
    return std::uniform_real_distribution<float>(low, high)(random);
}

// A random segment between two points of the cube [-extent, extent].
inline SRay RandomSegment(std::mt19937& random, float extent)
{
    SRay ray;
    ray.origin = {Uniform(random, -extent, extent), Uniform(random, -extent, extent),
                  Uniform(random, -extent, extent), 1};
    const SVector4 end{Uniform(random, -extent, extent), Uniform(random, -extent, extent),
                       Uniform(random, -extent, extent), 1};
    ray.direction = end - ray.origin;
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
        const SVector4 centre{Uniform(random, -extent, extent), Uniform(random, -extent, extent),
                              Uniform(random, -extent, extent), 1};
        for (int corner = 0; corner < 3; ++corner)
        {
            mesh.positions.push_back(centre + SVector4{Uniform(random, -spread, spread),
                                                       Uniform(random, -spread, spread),
                                                       Uniform(random, -spread, spread), 0});
            mesh.indices.push_back(static_cast<uint32_t>(mesh.positions.size() - 1));
        }
    }
    return mesh;
}
