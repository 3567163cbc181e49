// Walking one ray through the ball hierarchy: eight child boxes at a time, nearest child first,
// and the balls of a leaf at once. Written once over an eight-lane float type (TLanes), so the
// AVX2 and the SSE builds run the same steps; each build instantiates it with a type of its
// own. The ball test repeats IntersectBall's operations in every lane, so a distance found
// here is the reference's to the bit. Nothing here calls a shared inline function: each build
// keeps its own instructions to itself.
#pragma once

#include "quellbeam/cpu/BallBvh.h"
#include "quellbeam/kernel/BallTest.h"

namespace quellbeam
{
template <class TLanes>
struct TBvhWalk
{
    // Nearest ball below hit.t (kAnyHit: any ball below hit.t), as TraceGrid answers.
    template <bool kAnyHit>
    static bool Trace(const SBvhView& bvh, SVec3 origin, SVec3 direction, SRayHit& hit)
    {
        if (bvh.nodeCount == 0)
            return false;
        const float d[3] = {direction.x, direction.y, direction.z};
        const float dd = direction.x * direction.x + direction.y * direction.y + direction.z * direction.z;
        // Box tests: a zero direction component becomes a tiny one, which keeps every product finite.
        float inverse[3];
        int nearOffset[3], farOffset[3];
        for (int axis = 0; axis < 3; ++axis)
        {
            const float safe = d[axis] >= 0.0f ? (d[axis] > 1e-30f ? d[axis] : 1e-30f)
                                               : (d[axis] < -1e-30f ? d[axis] : -1e-30f);
            inverse[axis] = 1.0f / safe;
            // lower[axis] at axis * 8, upper[axis] at 24 + axis * 8: the near plane faces the ray.
            nearOffset[axis] = (safe > 0.0f ? 0 : 24) + axis * 8;
            farOffset[axis] = (safe > 0.0f ? 24 : 0) + axis * 8;
        }
        const TLanes ox = TLanes::Set(origin.x), oy = TLanes::Set(origin.y), oz = TLanes::Set(origin.z);
        const TLanes ix = TLanes::Set(inverse[0]), iy = TLanes::Set(inverse[1]), iz = TLanes::Set(inverse[2]);
        const TLanes dx = TLanes::Set(direction.x), dy = TLanes::Set(direction.y), dz = TLanes::Set(direction.z);
        const TLanes zero = TLanes::Set(0.0f);

        uint32_t stackChild[kBvhStackEntries];
        float stackT[kBvhStackEntries];
        uint32_t top = 0;
        uint32_t current = 0;
        bool found = false;
        for (;;)
        {
            if ((current & kBvhLeafFlag) != 0)
            {
                if (TestLeaf<kAnyHit>(bvh, current, ox, oy, oz, dx, dy, dz, dd, hit))
                {
                    found = true;
                    if (kAnyHit)
                        return true;
                }
            }
            else
            {
                const SBvhNode& node = bvh.nodes[current];
                const float* boxes = &node.lower[0][0];
                const TLanes tNear = Max(Max((TLanes::Load(boxes + nearOffset[0]) - ox) * ix,
                                             (TLanes::Load(boxes + nearOffset[1]) - oy) * iy),
                                         Max((TLanes::Load(boxes + nearOffset[2]) - oz) * iz, zero));
                const TLanes tFar = Min(Min((TLanes::Load(boxes + farOffset[0]) - ox) * ix,
                                            (TLanes::Load(boxes + farOffset[1]) - oy) * iy),
                                        Min((TLanes::Load(boxes + farOffset[2]) - oz) * iz, TLanes::Set(hit.t)));
                unsigned mask = static_cast<unsigned>(TLanes::LessEqual(tNear, tFar));
                if (mask != 0)
                {
                    float t[kBvhWidth];
                    tNear.Store(t);
                    if ((mask & (mask - 1)) == 0)
                    {
                        current = node.child[__builtin_ctz(mask)];
                        continue;
                    }
                    current = Push<kAnyHit>(node, mask, t, stackChild, stackT, top);
                    continue;
                }
            }
            // Next child on the stack that may still hold a nearer ball.
            for (;;)
            {
                if (top == 0)
                    return found;
                --top;
                if (stackT[top] <= hit.t)
                {
                    current = stackChild[top];
                    break;
                }
            }
        }
    }

private:
    // Pushes the children in mask and returns the one to visit now: the nearest, with the rest
    // stacked nearest on top (any-hit walks take them in order).
    template <bool kAnyHit>
    static uint32_t Push(const SBvhNode& node, unsigned mask, const float* t, uint32_t* stackChild, float* stackT,
                         uint32_t& top)
    {
        uint32_t child[kBvhWidth];
        float near[kBvhWidth];
        uint32_t count = 0;
        for (; mask != 0; mask &= mask - 1)
        {
            const int lane = __builtin_ctz(mask);
            uint32_t slot = count++;
            if (!kAnyHit)
                for (; slot > 0 && near[slot - 1] < t[lane]; --slot)
                {
                    child[slot] = child[slot - 1];
                    near[slot] = near[slot - 1];
                }
            child[slot] = node.child[lane];
            near[slot] = t[lane];
        }
        // Sorted farthest first: all but the last go on the stack.
        for (uint32_t i = 0; i + 1 < count; ++i)
        {
            stackChild[top] = child[i];
            stackT[top] = near[i];
            ++top;
        }
        return child[count - 1];
    }

    // The balls of one leaf against the ray; updates hit with the nearest (ties: lowest index).
    template <bool kAnyHit>
    static bool TestLeaf(const SBvhView& bvh, uint32_t leaf, TLanes ox, TLanes oy, TLanes oz, TLanes dx, TLanes dy,
                         TLanes dz, float dd, SRayHit& hit)
    {
        const uint32_t first = (leaf & ~kBvhLeafFlag) >> 3;
        const unsigned used = (2u << (leaf & 7)) - 1;
        const TLanes vx = TLanes::Load(bvh.x + first) - ox;
        const TLanes vy = TLanes::Load(bvh.y + first) - oy;
        const TLanes vz = TLanes::Load(bvh.z + first) - oz;
        const TLanes r = TLanes::Load(bvh.radius + first);
        const TLanes zero = TLanes::Set(0.0f);
        const TLanes b = vx * dx + vy * dy + vz * dz;
        const TLanes vv = vx * vx + vy * vy + vz * vz;
        const TLanes disc = TLanes::Set(4.0f) * b * b - TLanes::Set(4.0f * dd) * (vv - r * r);
        unsigned valid = used & static_cast<unsigned>(TLanes::Less(zero, b) & TLanes::LessEqual(zero, disc));
        if (valid == 0)
            return false;
        const TLanes t = (TLanes::Set(2.0f) * b - Sqrt(disc)) / TLanes::Set(2.0f * dd);
        valid &= static_cast<unsigned>(TLanes::Less(TLanes::Set(kHitEpsilon), t) & TLanes::Less(t, TLanes::Set(hit.t)));
        if (valid == 0)
            return false;
        if (kAnyHit)
        {
            const int lane = __builtin_ctz(valid);
            float lanes[kBvhWidth];
            t.Store(lanes);
            hit.t = lanes[lane];
            hit.ball = bvh.ball[first + lane];
            return true;
        }
        float lanes[kBvhWidth];
        t.Store(lanes);
        for (; valid != 0; valid &= valid - 1)
        {
            const int lane = __builtin_ctz(valid);
            const uint32_t ball = bvh.ball[first + lane];
            if (lanes[lane] < hit.t || (lanes[lane] == hit.t && ball < hit.ball))
            {
                hit.t = lanes[lane];
                hit.ball = ball;
            }
        }
        return true;
    }
};
}
