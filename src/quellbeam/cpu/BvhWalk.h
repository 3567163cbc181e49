// Walking one ray through the ball hierarchy: eight child boxes at a time, nearest child first,
// and the balls of a leaf at once. Written once over an eight-lane float type (TLanes), so the
// AVX2 and the SSE builds run the same steps; each build instantiates it with a type of its
// own. The ball test repeats IntersectBall's operations in every lane (never fused), so a
// distance found here is the reference's to the bit; box tests only choose what to visit, and
// boxes carry a margin far above their rounding. Nothing here calls a shared inline function: each build
// keeps its own instructions to itself.
#pragma once

#include "quellbeam/cpu/BallBvh.h"
#include "quellbeam/cpu/BvhTrace.h"
#include "quellbeam/kernel/BallTest.h"

namespace quellbeam
{
template <class TLanes>
struct TBvhWalk
{
    // The four walks of this build as the shading code's ball query.
    static SBvhTraceFunctions Functions(const char* name)
    {
        return {&Trace<false>, &Trace<true>, &TracePacket<false>, &TracePacket<true>, name};
    }

    // Nearest ball below hit.t (kAnyHit: any ball below hit.t), as TraceGrid answers.
    template <bool kAnyHit>
    static bool Trace(const SBvhView& bvh, SVec3 origin, SVec3 direction, SRayHit& hit)
    {
        if (bvh.nodeCount == 0)
            return false;
        const float d[3] = {direction.x, direction.y, direction.z};
        const float dd = direction.x * direction.x + direction.y * direction.y + direction.z * direction.z;
        const float inverseDD = 1.0f / dd;
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
        // Box planes are crossed at plane * inverse - origin * inverse (one fused step where there is FMA).
        const TLanes oix = ox * ix, oiy = oy * iy, oiz = oz * iz;
        const TLanes dx = TLanes::Set(direction.x), dy = TLanes::Set(direction.y),
                     dz = TLanes::Set(direction.z);
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
                if (TestLeaf<kAnyHit>(bvh, current, ox, oy, oz, dx, dy, dz, dd, inverseDD, hit))
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
                const TLanes tNear = Max(Max(MulSub(TLanes::Load(boxes + nearOffset[0]), ix, oix),
                                             MulSub(TLanes::Load(boxes + nearOffset[1]), iy, oiy)),
                                         Max(MulSub(TLanes::Load(boxes + nearOffset[2]), iz, oiz), zero));
                const TLanes tFar =
                    Min(Min(MulSub(TLanes::Load(boxes + farOffset[0]), ix, oix),
                            MulSub(TLanes::Load(boxes + farOffset[1]), iy, oiy)),
                        Min(MulSub(TLanes::Load(boxes + farOffset[2]), iz, oiz), TLanes::Set(hit.t)));
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
    // What all rays of a packet have in common: each axis' origins and inverse directions lie in
    // [lower, upper], and the directions share their sign on every axis (coherent) so that a box's
    // near and far planes are the same for all of them.
    struct SPacketBounds
    {
        bool coherent;
        int nearOffset[3];
        int farOffset[3];
        TLanes originLower[3], originUpper[3], inverseLower[3], inverseUpper[3];
    };

    static SPacketBounds MakePacketBounds(const SRayPacket& rays, const float (&inverse)[3][kBvhWidth],
                                          unsigned active)
    {
        SPacketBounds bounds;
        bounds.coherent = true;
        const float* o[3] = {rays.ox, rays.oy, rays.oz};
        for (int axis = 0; axis < 3; ++axis)
        {
            const int first = __builtin_ctz(active);
            float oLo = o[axis][first], oHi = oLo, iLo = inverse[axis][first], iHi = iLo;
            for (unsigned rest = active; rest != 0; rest &= rest - 1)
            {
                const int lane = __builtin_ctz(rest);
                oLo = o[axis][lane] < oLo ? o[axis][lane] : oLo;
                oHi = o[axis][lane] > oHi ? o[axis][lane] : oHi;
                iLo = inverse[axis][lane] < iLo ? inverse[axis][lane] : iLo;
                iHi = inverse[axis][lane] > iHi ? inverse[axis][lane] : iHi;
            }
            bounds.coherent = bounds.coherent && (iLo > 0.0f || iHi < 0.0f);
            bounds.nearOffset[axis] = (iLo > 0.0f ? 0 : 24) + axis * 8;
            bounds.farOffset[axis] = (iLo > 0.0f ? 24 : 0) + axis * 8;
            bounds.originLower[axis] = TLanes::Set(oLo);
            bounds.originUpper[axis] = TLanes::Set(oHi);
            bounds.inverseLower[axis] = TLanes::Set(iLo);
            bounds.inverseUpper[axis] = TLanes::Set(iHi);
        }
        return bounds;
    }

    // The children that some ray of a coherent packet may enter before bestMax, all eight at once
    // by interval arithmetic over the packet's bounds: a child left out is missed by every ray.
    static unsigned CullChildren(const SBvhNode& node, const SPacketBounds& bounds, float bestMax)
    {
        const float* boxes = &node.lower[0][0];
        TLanes enter = TLanes::Set(0.0f), leave = TLanes::Set(bestMax);
        for (int axis = 0; axis < 3; ++axis)
        {
            const TLanes iLo = bounds.inverseLower[axis], iHi = bounds.inverseUpper[axis];
            const TLanes nearPlane = TLanes::Load(boxes + bounds.nearOffset[axis]);
            const TLanes farPlane = TLanes::Load(boxes + bounds.farOffset[axis]);
            const TLanes n0 = nearPlane - bounds.originUpper[axis], n1 = nearPlane - bounds.originLower[axis];
            const TLanes f0 = farPlane - bounds.originUpper[axis], f1 = farPlane - bounds.originLower[axis];
            enter = Max(enter, Min(Min(n0 * iLo, n0 * iHi), Min(n1 * iLo, n1 * iHi)));
            leave = Min(leave, Max(Max(f0 * iLo, f0 * iHi), Max(f1 * iLo, f1 * iHi)));
        }
        return static_cast<unsigned>(TLanes::LessEqual(enter, leave));
    }

    // Pushes the children in mask and returns the one to visit now: the nearest, with the rest
    // stacked nearest on top (any-hit walks take them in order).
    template <bool kAnyHit>
    static uint32_t Push(const SBvhNode& node, unsigned mask, const float* t, uint32_t* stackChild,
                         float* stackT, uint32_t& top)
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
    static bool TestLeaf(const SBvhView& bvh, uint32_t leaf, TLanes ox, TLanes oy, TLanes oz, TLanes dx,
                         TLanes dy, TLanes dz, float dd, float inverseDD, SRayHit& hit)
    {
        const uint32_t first = (leaf & ~kBvhLeafFlag) >> 3;
        const unsigned used = (2u << (leaf & 7)) - 1;
        const TLanes vx = TLanes::Load(bvh.x + first) - ox;
        const TLanes vy = TLanes::Load(bvh.y + first) - oy;
        const TLanes vz = TLanes::Load(bvh.z + first) - oz;
        const TLanes r = TLanes::Load(bvh.radius + first);
        const TLanes zero = TLanes::Set(0.0f);
        const TLanes b = vx * dx + vy * dy + vz * dz;
        const TLanes inverse = TLanes::Set(inverseDD);
        const TLanes k = b * inverse;
        const TLanes px = vx - dx * k, py = vy - dy * k, pz = vz - dz * k;
        const TLanes disc = TLanes::Set(dd) * (r * r - (px * px + py * py + pz * pz));
        unsigned valid = used & static_cast<unsigned>(TLanes::Less(zero, b) & TLanes::LessEqual(zero, disc));
        if (valid == 0)
            return false;
        const TLanes t = (b - Sqrt(disc)) * inverse;
        valid &= static_cast<unsigned>(TLanes::Less(TLanes::Set(kHitEpsilon), t) &
                                       TLanes::Less(t, TLanes::Set(hit.t)));
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
        // Ties go to the ball first in the leaf, as in the packet walk.
        for (; valid != 0; valid &= valid - 1)
        {
            const int lane = __builtin_ctz(valid);
            if (lanes[lane] < hit.t)
            {
                hit.t = lanes[lane];
                hit.ball = bvh.ball[first + lane];
            }
        }
        return true;
    }

public:
    // Eight rays at once, one per lane: the lanes set in `active`, each bounded by its hits[i].t.
    // Each child box and each ball is tested against all eight rays together; children are
    // taken nearest first for the packet. Returns the lanes that found a ball.
    template <bool kAnyHit>
    static unsigned TracePacket(const SBvhView& bvh, const SRayPacket& rays, unsigned active, SRayHit* hits)
    {
        if (bvh.nodeCount == 0 || active == 0)
            return 0;
        const TLanes ox = TLanes::Load(rays.ox), oy = TLanes::Load(rays.oy), oz = TLanes::Load(rays.oz);
        const TLanes dx = TLanes::Load(rays.dx), dy = TLanes::Load(rays.dy), dz = TLanes::Load(rays.dz);
        float inverse[3][kBvhWidth], best[kBvhWidth];
        const float* d[3] = {rays.dx, rays.dy, rays.dz};
        for (int axis = 0; axis < 3; ++axis)
            for (uint32_t lane = 0; lane < kBvhWidth; ++lane)
            {
                const float v = d[axis][lane];
                inverse[axis][lane] =
                    1.0f / (v >= 0.0f ? (v > 1e-30f ? v : 1e-30f) : (v < -1e-30f ? v : -1e-30f));
            }
        // Lanes that are not traced (or whose any-hit search is over) get a bound below every
        // distance, so that no box or ball test counts for them.
        const float kNever = -__builtin_huge_valf();
        for (uint32_t lane = 0; lane < kBvhWidth; ++lane)
            best[lane] = ((active >> lane) & 1) != 0 ? hits[lane].t : kNever;
        const TLanes ix = TLanes::Load(inverse[0]), iy = TLanes::Load(inverse[1]),
                     iz = TLanes::Load(inverse[2]);
        const TLanes oix = ox * ix, oiy = oy * iy, oiz = oz * iz;
        const TLanes dd = dx * dx + dy * dy + dz * dz;
        const SPacketBounds bounds = MakePacketBounds(rays, inverse, active);
        const TLanes inverseDD = TLanes::Set(1.0f) / dd;
        const TLanes zero = TLanes::Set(0.0f);
        TLanes bestLanes = TLanes::Load(best);
        float bestMax = TLanes::MaxOf(bestLanes);
        const TLanes none = TLanes::Set(__builtin_huge_valf());

        uint32_t stackChild[kBvhStackEntries];
        float stackT[kBvhStackEntries];
        uint32_t top = 0;
        uint32_t current = 0;
        unsigned found = 0;
        for (;;)
        {
            if ((current & kBvhLeafFlag) != 0)
            {
                const uint32_t first = (current & ~kBvhLeafFlag) >> 3;
                const uint32_t count = (current & 7) + 1;
                bool improved = false;
                for (uint32_t i = first; i < first + count; ++i)
                {
                    const TLanes vx = TLanes::Set(bvh.x[i]) - ox;
                    const TLanes vy = TLanes::Set(bvh.y[i]) - oy;
                    const TLanes vz = TLanes::Set(bvh.z[i]) - oz;
                    const TLanes r = TLanes::Set(bvh.radius[i]);
                    const TLanes b = vx * dx + vy * dy + vz * dz;
                    const TLanes k = b * inverseDD;
                    const TLanes px = vx - dx * k, py = vy - dy * k, pz = vz - dz * k;
                    const TLanes disc = dd * (r * r - (px * px + py * py + pz * pz));
                    unsigned valid =
                        active & static_cast<unsigned>(TLanes::Less(zero, b) & TLanes::LessEqual(zero, disc));
                    if (valid == 0)
                        continue;
                    const TLanes t = (b - Sqrt(disc)) * inverseDD;
                    valid &= static_cast<unsigned>(TLanes::Less(TLanes::Set(kHitEpsilon), t) &
                                                   TLanes::Less(t, bestLanes));
                    if (valid == 0)
                        continue;
                    float lanes[kBvhWidth];
                    t.Store(lanes);
                    found |= valid;
                    for (; valid != 0; valid &= valid - 1)
                    {
                        const int lane = __builtin_ctz(valid);
                        best[lane] = kAnyHit ? kNever : lanes[lane];
                        hits[lane].t = lanes[lane];
                        hits[lane].ball = bvh.ball[i];
                        if (kAnyHit)
                            active &= ~(1u << lane);
                    }
                    if (kAnyHit && active == 0)
                        return found;
                    bestLanes = TLanes::Load(best);
                    improved = true;
                }
                if (improved)
                    bestMax = TLanes::MaxOf(bestLanes);
            }
            else
            {
                const SBvhNode& node = bvh.nodes[current];
                uint32_t child[kBvhWidth];
                float near[kBvhWidth];
                uint32_t count = 0;
                const unsigned candidates = bounds.coherent ? CullChildren(node, bounds, bestMax) : 0xFFu;
                for (uint32_t c = 0; c < kBvhWidth && node.child[c] != kBvhNoChild; ++c)
                {
                    if (((candidates >> c) & 1) == 0)
                        continue;
                    const TLanes x0 = MulSub(TLanes::Set(node.lower[0][c]), ix, oix);
                    const TLanes x1 = MulSub(TLanes::Set(node.upper[0][c]), ix, oix);
                    const TLanes y0 = MulSub(TLanes::Set(node.lower[1][c]), iy, oiy);
                    const TLanes y1 = MulSub(TLanes::Set(node.upper[1][c]), iy, oiy);
                    const TLanes z0 = MulSub(TLanes::Set(node.lower[2][c]), iz, oiz);
                    const TLanes z1 = MulSub(TLanes::Set(node.upper[2][c]), iz, oiz);
                    const TLanes tNear = Max(Max(Min(x0, x1), Min(y0, y1)), Max(Min(z0, z1), zero));
                    const TLanes tFar = Min(Min(Max(x0, x1), Max(y0, y1)), Min(Max(z0, z1), bestLanes));
                    // The nearest entry among the rays that enter the box.
                    const float nearest = TLanes::MinOf(SelectLessEqual(tNear, tFar, tNear, none));
                    if (!(nearest < none.First()))
                        continue;
                    // Sorted farthest first.
                    uint32_t slot = count++;
                    for (; slot > 0 && near[slot - 1] < nearest; --slot)
                    {
                        child[slot] = child[slot - 1];
                        near[slot] = near[slot - 1];
                    }
                    child[slot] = node.child[c];
                    near[slot] = nearest;
                }
                if (count != 0)
                {
                    for (uint32_t i = 0; i + 1 < count; ++i)
                    {
                        stackChild[top] = child[i];
                        stackT[top] = near[i];
                        ++top;
                    }
                    current = child[count - 1];
                    continue;
                }
            }
            for (;;)
            {
                if (top == 0)
                    return found;
                --top;
                if (stackT[top] <= bestMax)
                {
                    current = stackChild[top];
                    break;
                }
            }
        }
    }
};
}
