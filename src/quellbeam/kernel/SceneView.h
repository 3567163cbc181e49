// What the kernels read of a frame's scene: sphere and material elements, the tree descriptor,
// tree memory and the floor texture. Plain pointers, valid for one traced frame.
#pragma once

#include "quellbeam/kernel/Vec.h"

namespace quellbeam
{
struct SSceneView
{
    // Spheres 0..n-1 (centre, radius), then two elements per material: (r, g, b, exponent),
    // (reflectance, diffuse, unread, unread); material i starts at element n + 2i.
    const SVec4* data;
    uint32_t count;
    // 1553-word descriptor and the ball lists it points into.
    const uint32_t* tree;
    const uint32_t* memory;
    // Floor texture, packed 0xAARRGGBB texels, row 0 at the top (null when none is bound).
    const uint32_t* floorTexels;
    uint32_t floorWidth;
    uint32_t floorHeight;

    // Reads of the frame's unchanging data: through the read-only data cache on the device.
    QB_HOST_DEVICE SVec4 Element(uint32_t i) const
    {
#if defined(__CUDA_ARCH__)
        const float4 v = __ldg(reinterpret_cast<const float4*>(data) + i);
        return SVec4{v.x, v.y, v.z, v.w};
#else
        return data[i];
#endif
    }
    QB_HOST_DEVICE uint32_t MemoryWord(uint32_t i) const
    {
        return LoadReadOnly(memory + i);
    }
    QB_HOST_DEVICE uint32_t FloorTexel(uint32_t i) const
    {
        return LoadReadOnly(floorTexels + i);
    }
};

// Rays traced per kind, summed by the backends for statistics. The shading code reports each
// ray it is about to trace to a log of this shape (a benchmark's log records the rays instead).
struct SRayCounts
{
    uint64_t primary;
    uint64_t shadow;
    uint64_t bounce;

    QB_HOST_DEVICE void Primary(SVec3, SVec3) { ++primary; }
    QB_HOST_DEVICE void Shadow(SVec3, SVec3) { ++shadow; }
    QB_HOST_DEVICE void Bounce(SVec3, SVec3) { ++bounce; }
};
}
