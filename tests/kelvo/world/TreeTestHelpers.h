// Box payloads for the spatial tree tests, with an exact ray-box distance to compare with
// a loop over all boxes.
#pragma once

#include <algorithm>
#include <random>

#include "kelvo/core/AabbTree.h"

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
