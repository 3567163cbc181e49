// Walking a ray through the two-level grid: clip it to the cube, step through the top cells in
// order, descend into occupied ones and step through their sub-cells, testing each occupied
// sub-cell's ball list. The walk stops once the nearest hit lies before the current cell's far
// boundary, since no later cell can hold a nearer one.
#pragma once

#include "quellbeam/kernel/BallTest.h"
#include "quellbeam/kernel/KernelConstants.h"
#include "quellbeam/kernel/SceneView.h"
#include "quellbeam/kernel/TreeLayout.h"

namespace quellbeam
{
inline constexpr int kMaxTraversalSteps = 1200;
inline constexpr float kNeverReached = 3.0e38f;

// One level's cell walk (Amanatides-Woo): current cell, direction of travel, the ray parameter
// of the next boundary and the parameter distance between boundaries, per axis.
struct SGridWalk
{
    int cell[3];
    int step[3];
    float tNext[3];
    float tDelta[3];
};

// Starts a walk at parameter t in a grid of (last + 1)^3 cells of the given edge at corner.
QB_INLINE void StartWalk(SGridWalk& walk, SVec3 origin, SVec3 direction, SVec3 corner, float edge, int last, float t)
{
    const SVec3 point = origin + direction * t;
    for (int axis = 0; axis < 3; ++axis)
    {
        const float o = Component(origin, axis);
        const float d = Component(direction, axis);
        const float c = Component(corner, axis);
        const int cell = ClampCell((int)floorf((Component(point, axis) - c) / edge), last);
        walk.cell[axis] = cell;
        if (d > 0.0f)
        {
            walk.step[axis] = 1;
            walk.tNext[axis] = (c + (float)(cell + 1) * edge - o) / d;
            walk.tDelta[axis] = edge / d;
        }
        else if (d < 0.0f)
        {
            walk.step[axis] = -1;
            walk.tNext[axis] = (c + (float)cell * edge - o) / d;
            walk.tDelta[axis] = -edge / d;
        }
        else
        {
            // Parallel to this axis: never steps along it.
            walk.step[axis] = 0;
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
QB_INLINE bool StepWalk(SGridWalk& walk, int axis, int last)
{
    walk.cell[axis] += walk.step[axis];
    if (walk.cell[axis] < 0 || walk.cell[axis] > last)
        return false;
    walk.tNext[axis] += walk.tDelta[axis];
    return true;
}

// Tests the balls of one list; an any-hit query returns at the first hit.
template <bool kAnyHit>
QB_INLINE bool TestBallList(const SSceneView& scene, uint32_t chunk, SVec3 origin, SVec3 direction, float dd,
                            SRayHit& hit)
{
    bool found = false;
    for (uint32_t depth = 0; depth < kMaxListChunks; ++depth)
    {
        for (uint32_t slot = 0; slot < kChunkLinkSlot; ++slot)
        {
            const uint32_t ball = scene.memory[chunk + slot];
            if (ball == kListEnd)
                return found;
            if (IntersectBall(scene.data[ball], origin, direction, dd, hit.t))
            {
                hit.ball = ball;
                found = true;
                if (kAnyHit)
                    return true;
            }
        }
        chunk = scene.memory[chunk + kChunkLinkSlot];
        if (chunk == kListEnd)
            break;
    }
    return found;
}

// Walks the sub-cells of top cell `cell` between parameters tStart and tEnd.
template <bool kAnyHit>
QB_INLINE bool TraceNode(const SSceneView& scene, uint32_t cell, SVec3 corner, float subEdge, SVec3 origin,
                         SVec3 direction, float dd, float tStart, float tEnd, SRayHit& hit, int& steps)
{
    const int last = (int)kSubCellsPerAxis - 1;
    const uint32_t node = scene.tree[kTreeNodeWords + cell];
    SGridWalk walk;
    StartWalk(walk, origin, direction, corner, subEdge, last, tStart);
    bool found = false;
    for (; steps < kMaxTraversalSteps; ++steps)
    {
        const int axis = NextAxis(walk);
        const float tExit = walk.tNext[axis];
        const uint32_t subCell = SubCellIndex(walk.cell[0], walk.cell[1], walk.cell[2]);
        if (IsSubCellOccupied(scene.tree, cell, subCell) &&
            TestBallList<kAnyHit>(scene, SubCellListStart(node, subCell), origin, direction, dd, hit))
        {
            found = true;
            if (kAnyHit)
                return true;
        }
        if ((found && hit.t <= tExit) || tExit >= tEnd || !StepWalk(walk, axis, last))
            return found;
    }
    return found;
}

// Nearest ball hit along origin + t direction with t below hit.t (updated with the ball found).
// kAnyHit: any hit below hit.t ends the search (shadow rays).
template <bool kAnyHit>
QB_INLINE bool TraceGrid(const SSceneView& scene, const SKernelConstants& constants, SVec3 origin, SVec3 direction,
                         SRayHit& hit)
{
    const float minBB = constants.minBB;
    const float maxBB = constants.maxBB;
    // Clip to the cube (slab test), never behind the origin.
    float tEnter = 0.0f;
    float tLeave = hit.t;
    for (int axis = 0; axis < 3; ++axis)
    {
        const float o = Component(origin, axis);
        const float d = Component(direction, axis);
        if (d != 0.0f)
        {
            const float inverse = 1.0f / d;
            float t0 = (minBB - o) * inverse;
            float t1 = (maxBB - o) * inverse;
            if (t0 > t1)
            {
                const float swap = t0;
                t0 = t1;
                t1 = swap;
            }
            tEnter = t0 > tEnter ? t0 : tEnter;
            tLeave = t1 < tLeave ? t1 : tLeave;
        }
        else if (o < minBB || o > maxBB)
            return false;
    }
    if (tEnter > tLeave)
        return false;

    const float dd = Dot(direction, direction);
    const float topEdge = (maxBB - minBB) / (float)kTopCellsPerAxis;
    const float subEdge = topEdge / (float)kSubCellsPerAxis;
    const int last = (int)kTopCellsPerAxis - 1;
    SGridWalk walk;
    StartWalk(walk, origin, direction, Vec3(minBB, minBB, minBB), topEdge, last, tEnter);
    float tCell = tEnter;
    bool found = false;
    for (int steps = 0; steps < kMaxTraversalSteps; ++steps)
    {
        const int axis = NextAxis(walk);
        const float tExit = walk.tNext[axis];
        const uint32_t cell = TopCellIndex(walk.cell[0], walk.cell[1], walk.cell[2]);
        if (IsTopCellOccupied(scene.tree, cell))
        {
            const SVec3 corner = Vec3(minBB + (float)walk.cell[0] * topEdge, minBB + (float)walk.cell[1] * topEdge,
                                      minBB + (float)walk.cell[2] * topEdge);
            if (TraceNode<kAnyHit>(scene, cell, corner, subEdge, origin, direction, dd, tCell, tExit, hit, steps))
            {
                found = true;
                if (kAnyHit)
                    return true;
            }
        }
        if ((found && hit.t <= tExit) || tExit > tLeave || !StepWalk(walk, axis, last))
            return found;
        tCell = tExit;
    }
    return found;
}
}
