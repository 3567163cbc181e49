// Walking a ray through the two-level grid: clip it to the cube, step through the top cells in
// order, descend into occupied ones and step through their sub-cells, testing each occupied
// sub-cell's ball list. The walk stops once the nearest hit lies before the current cell's far
// boundary, since no later cell can hold a nearer one.
#pragma once

#include "quellbeam/kernel/BallTest.h"
#include "quellbeam/kernel/KernelConstants.h"
#include "quellbeam/kernel/SceneView.h"
#include "quellbeam/kernel/TreeLayout.h"

#if !defined(__CUDACC__) && defined(__SSE2__)
#include "quellbeam/kernel/BallListSse.h"
#define QB_BALL_LIST_SSE 1
#endif

namespace quellbeam
{
inline constexpr int kMaxTraversalSteps = 1200;
inline constexpr float kNeverReached = 3.0e38f;

// A ray prepared for walking: per-axis origin, direction, inverse direction and step sign.
struct SGridRay
{
    SVec3 origin;
    SVec3 direction;
    float dd; // direction . direction and its inverse, shared by the ball tests
    float inverseDD;
    float o[3];
    float d[3];
    float inverse[3];
    int step[3];
};

QB_INLINE SGridRay MakeGridRay(SVec3 origin, SVec3 direction)
{
    SGridRay ray;
    ray.origin = origin;
    ray.direction = direction;
    ray.dd = Dot(direction, direction);
    ray.inverseDD = 1.0f / ray.dd;
    const float o[3] = {origin.x, origin.y, origin.z};
    const float d[3] = {direction.x, direction.y, direction.z};
    for (int axis = 0; axis < 3; ++axis)
    {
        ray.o[axis] = o[axis];
        ray.d[axis] = d[axis];
        ray.inverse[axis] = d[axis] != 0.0f ? 1.0f / d[axis] : 0.0f;
        ray.step[axis] = d[axis] > 0.0f ? 1 : (d[axis] < 0.0f ? -1 : 0);
    }
    return ray;
}

// One level's cell walk (Amanatides-Woo): current cell, the ray parameter of the next boundary
// and the parameter distance between boundaries, per axis.
struct SGridWalk
{
    int cell[3];
    float tNext[3];
    float tDelta[3];
};

// Starts a walk at parameter t in a grid of (last + 1)^3 cells of the given edge at corner.
QB_INLINE void StartWalk(SGridWalk& walk, const SGridRay& ray, const float* corner, float edge,
                         float cellsPerUnit, int last, float t)
{
    for (int axis = 0; axis < 3; ++axis)
    {
        const float c = corner[axis];
        const float point = ray.o[axis] + ray.d[axis] * t;
        const int cell = ClampCell((int)floorf((point - c) * cellsPerUnit), last);
        walk.cell[axis] = cell;
        if (ray.step[axis] > 0)
        {
            walk.tNext[axis] = (c + (float)(cell + 1) * edge - ray.o[axis]) * ray.inverse[axis];
            walk.tDelta[axis] = edge * ray.inverse[axis];
        }
        else if (ray.step[axis] < 0)
        {
            walk.tNext[axis] = (c + (float)cell * edge - ray.o[axis]) * ray.inverse[axis];
            walk.tDelta[axis] = -edge * ray.inverse[axis];
        }
        else
        {
            // Parallel to this axis: never steps along it.
            walk.tNext[axis] = kNeverReached;
            walk.tDelta[axis] = kNeverReached;
        }
    }
}

QB_INLINE int NextAxis(const SGridWalk& walk)
{
    if (walk.tNext[0] < walk.tNext[1])
        return walk.tNext[0] < walk.tNext[2] ? 0 : 2;
    return walk.tNext[1] < walk.tNext[2] ? 1 : 2;
}

// Moves to the next cell along axis; false when the walk leaves the grid.
QB_INLINE bool StepWalk(SGridWalk& walk, const SGridRay& ray, int axis, int last)
{
    walk.cell[axis] += ray.step[axis];
    if (walk.cell[axis] < 0 || walk.cell[axis] > last)
        return false;
    walk.tNext[axis] += walk.tDelta[axis];
    return true;
}

// The balls a ray has tested lately, by index modulo its size: a ball listed in several cells
// along the ray is tested once (a second test could not change the result).
struct SMailbox
{
    uint32_t slot[16];
};

QB_INLINE void ClearMailbox(SMailbox& mailbox)
{
    for (int i = 0; i < 16; ++i)
        mailbox.slot[i] = kListEnd;
}

QB_INLINE bool TestOneBall(const SSceneView& scene, uint32_t ball, const SGridRay& ray, SRayHit& hit)
{
    if (!IntersectBall(scene.Element(ball), ray.origin, ray.direction, ray.dd, ray.inverseDD, hit.t))
        return false;
    hit.ball = ball;
    return true;
}

// Tests the balls of one list in order, skipping those in the mailbox; an any-hit query returns
// at the first hit. The host tests them four at a time (same results), the device one by one.
template <bool kAnyHit>
QB_INLINE bool TestBallList(const SSceneView& scene, uint32_t chunk, const SGridRay& ray, SMailbox& mailbox,
                            SRayHit& hit)
{
    bool found = false;
#if QB_BALL_LIST_SSE
    SBallGroup group;
    group.count = 0;
#endif
    for (uint32_t depth = 0; depth < kMaxListChunks; ++depth)
    {
        uint32_t slot = 0;
        for (; slot < kChunkLinkSlot; ++slot)
        {
            const uint32_t ball = scene.MemoryWord(chunk + slot);
            if (ball == kListEnd)
                break;
            uint32_t& seen = mailbox.slot[ball & 15];
            if (seen == ball)
                continue;
            seen = ball;
#if QB_BALL_LIST_SSE
            // Host: four balls at a time.
            group.balls[group.count++] = ball;
            const bool hitNow = group.count == 4 && TestBallGroup<kAnyHit>(scene, group, ray.o, ray.d, ray.dd,
                                                                           ray.inverseDD, hit);
#else
            const bool hitNow = TestOneBall(scene, ball, ray, hit);
#endif
            if (hitNow)
            {
                found = true;
                if (kAnyHit)
                    return true;
            }
        }
        if (slot < kChunkLinkSlot)
            break;
        chunk = scene.MemoryWord(chunk + kChunkLinkSlot);
        if (chunk == kListEnd)
            break;
    }
#if QB_BALL_LIST_SSE
    if (TestBallGroup<kAnyHit>(scene, group, ray.o, ray.d, ray.dd, ray.inverseDD, hit))
        found = true;
#endif
    return found;
}

// Walks the sub-cells of top cell `cell` (corner, sub-cell edge) between parameters tStart and tEnd.
template <bool kAnyHit>
QB_INLINE bool TraceNode(const SSceneView& scene, uint32_t cell, const float* corner, float subEdge,
                         float subCellsPerUnit, const SGridRay& ray, float tStart, float tEnd,
                         SMailbox& mailbox, SRayHit& hit, int& steps)
{
    const int last = (int)kSubCellsPerAxis - 1;
    const uint32_t node = scene.tree[kTreeNodeWords + cell];
    const uint32_t masks[2] = {scene.tree[kTreeSubMaskWords + 2 * cell],
                               scene.tree[kTreeSubMaskWords + 2 * cell + 1]};
    SGridWalk walk;
    StartWalk(walk, ray, corner, subEdge, subCellsPerUnit, last, tStart);
    bool found = false;
    for (; steps < kMaxTraversalSteps; ++steps)
    {
        const int axis = NextAxis(walk);
        const float tExit = walk.tNext[axis];
        const uint32_t subCell = SubCellIndex(walk.cell[0], walk.cell[1], walk.cell[2]);
        if (((masks[subCell >> 5] >> (subCell & 31)) & 1u) != 0 &&
            TestBallList<kAnyHit>(scene, SubCellListStart(node, subCell), ray, mailbox, hit))
        {
            found = true;
            if (kAnyHit)
                return true;
        }
        if ((found && hit.t <= tExit) || tExit >= tEnd || !StepWalk(walk, ray, axis, last))
            return found;
    }
    return found;
}

// Nearest ball hit along origin + t direction with t below hit.t (updated with the ball found).
// kAnyHit: any hit below hit.t ends the search (shadow rays).
template <bool kAnyHit>
QB_INLINE bool TraceGrid(const SSceneView& scene, const SKernelConstants& constants, SVec3 origin,
                         SVec3 direction, SRayHit& hit)
{
    const float minBB = constants.minBB;
    const float maxBB = constants.maxBB;
    if (!(maxBB > minBB))
        return false;
    const SGridRay ray = MakeGridRay(origin, direction);
    // Clip to the cube (slab test), never behind the origin.
    float tEnter = 0.0f;
    float tLeave = hit.t;
    for (int axis = 0; axis < 3; ++axis)
    {
        if (ray.step[axis] != 0)
        {
            float t0 = (minBB - ray.o[axis]) * ray.inverse[axis];
            float t1 = (maxBB - ray.o[axis]) * ray.inverse[axis];
            if (t0 > t1)
            {
                const float swap = t0;
                t0 = t1;
                t1 = swap;
            }
            tEnter = t0 > tEnter ? t0 : tEnter;
            tLeave = t1 < tLeave ? t1 : tLeave;
        }
        else if (ray.o[axis] < minBB || ray.o[axis] > maxBB)
            return false;
    }
    if (tEnter > tLeave)
        return false;

    const float topEdge = (maxBB - minBB) / (float)kTopCellsPerAxis;
    const float subEdge = topEdge / (float)kSubCellsPerAxis;
    const float cellsPerUnit = 1.0f / topEdge;
    const float subCellsPerUnit = 1.0f / subEdge;
    const int last = (int)kTopCellsPerAxis - 1;
    const float origin3[3] = {minBB, minBB, minBB};
    SGridWalk walk;
    StartWalk(walk, ray, origin3, topEdge, cellsPerUnit, last, tEnter);
    SMailbox mailbox;
    ClearMailbox(mailbox);
    float tCell = tEnter;
    bool found = false;
    for (int steps = 0; steps < kMaxTraversalSteps; ++steps)
    {
        const int axis = NextAxis(walk);
        const float tExit = walk.tNext[axis];
        const uint32_t cell = TopCellIndex(walk.cell[0], walk.cell[1], walk.cell[2]);
        if (IsTopCellOccupied(scene.tree, cell))
        {
            const float corner[3] = {minBB + (float)walk.cell[0] * topEdge,
                                     minBB + (float)walk.cell[1] * topEdge,
                                     minBB + (float)walk.cell[2] * topEdge};
            if (TraceNode<kAnyHit>(scene, cell, corner, subEdge, subCellsPerUnit, ray, tCell, tExit, mailbox,
                                   hit, steps))
            {
                found = true;
                if (kAnyHit)
                    return true;
            }
        }
        if ((found && hit.t <= tExit) || tExit > tLeave || !StepWalk(walk, ray, axis, last))
            return found;
        tCell = tExit;
    }
    return found;
}

// The grid as the shading code's ball query (the CPU backend brings a query of its own).
struct SGridQuery
{
    const SSceneView& scene;
    const SKernelConstants& constants;

    template <bool kAnyHit>
    QB_HOST_DEVICE bool Trace(SVec3 origin, SVec3 direction, SRayHit& hit) const
    {
        return TraceGrid<kAnyHit>(scene, constants, origin, direction, hit);
    }
};
}
