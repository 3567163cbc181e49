// One triangle of a mesh's trace geometry, with the frame in which it is the unit triangle.
#pragma once

#include <cstdint>

#include "kelvo/core/Math.h"

struct alignas(16) STraceGeometryTriangle
{
    // The three vertex positions, inside the mesh's "position" stream.
    const SVector4* vertices[3] = {};
    uint32_t index = 0;
    // World to (a, b, c): the triangle is a, b >= 0, a + b <= 1 on the plane c = 0.
    SMatrix inverseFrame;
    // Rows: edge p1 - p0, edge p2 - p0, their cross product, and p0 as the translation.
    SMatrix frame;
    // The transposed inverse frame with its fourth column cleared, for normals.
    SMatrix normalFrame;
};

// The result of a trace through one mesh.
struct STraceMeshHit
{
    // Null when nothing was hit.
    const STraceGeometryTriangle* triangle = nullptr;
    float distance = 0.0f;
};
