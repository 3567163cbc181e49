// Where a world object is: its local matrix, its coarse position, its world matrix and its
// box, with the box corners kept in local and camera space.
#pragma once

#include "kelvo/core/Math.h"
#include "kelvo/world/CoarsePosition.h"

struct alignas(16) STransformState
{
    STransformState();

    // Recomputes the 8 local corners from the local box: corner i takes x from the maximum
    // when bit 0 of i is set, y for bit 1, z for bit 2, otherwise from the minimum.
    void UpdateCorners();

    SMatrix local;
    SCoarsePosition coarse;
    SMatrix world;
    SBox localBox;
    SVector4 corners[8];
    // Written by the space's visibility query.
    SVector4 cameraCorners[8];
    SBox worldBox;
};
