// The CPU backend's way through the shading code: eight neighbouring pixels of a row at once.
// Each trace of the shading (camera rays, shadow rays, each round of mirror rays) runs as one
// packet of up to eight rays through the ball hierarchy; between the traces every pixel takes
// the same shading steps as TraceCameraRay, so the colours are the same.
#pragma once

#include "quellbeam/cpu/BvhTrace.h"
#include "quellbeam/kernel/Shading.h"

namespace quellbeam
{
namespace packet_detail
{
inline void SetLane(SRayPacket& packet, uint32_t lane, SVec3 origin, SVec3 direction)
{
    packet.ox[lane] = origin.x;
    packet.oy[lane] = origin.y;
    packet.oz[lane] = origin.z;
    packet.dx[lane] = direction.x;
    packet.dy[lane] = direction.y;
    packet.dz[lane] = direction.z;
}

// Lanes outside `lanes` repeat a used lane's ray, so that every lane holds finite numbers.
inline void FillUnused(SRayPacket& packet, unsigned lanes)
{
    const uint32_t source = static_cast<uint32_t>(__builtin_ctz(lanes));
    for (uint32_t lane = 0; lane < kBvhWidth; ++lane)
        if (((lanes >> lane) & 1) == 0)
            SetLane(packet, lane, Vec3(packet.ox[source], packet.oy[source], packet.oz[source]),
                    Vec3(packet.dx[source], packet.dy[source], packet.dz[source]));
}

// Nearest surfaces of the lanes' rays (origins[lane], directions[lane]) in one packet.
inline void FindSurfaces(const SSceneView& scene, const SKernelConstants& constants, const SBvhQuery& balls,
                         unsigned lanes, const SVec3* origins, const SVec3* directions, SSurface* surfaces)
{
    SRayPacket packet;
    SRayHit hits[kBvhWidth];
    float tFloor[kBvhWidth] = {};
    for (unsigned rest = lanes; rest != 0; rest &= rest - 1)
    {
        const uint32_t lane = static_cast<uint32_t>(__builtin_ctz(rest));
        SetLane(packet, lane, origins[lane], directions[lane]);
        hits[lane].t = SurfaceSearchBound(constants, origins[lane], directions[lane], tFloor[lane]);
    }
    FillUnused(packet, lanes);
    const unsigned found = balls.TracePacket<false>(packet, lanes, hits);
    for (unsigned rest = lanes; rest != 0; rest &= rest - 1)
    {
        const uint32_t lane = static_cast<uint32_t>(__builtin_ctz(rest));
        surfaces[lane] = SurfaceOfSearch(scene, constants, origins[lane], directions[lane],
                                         ((found >> lane) & 1) != 0, hits[lane], tFloor[lane]);
    }
}
}

// Colours of the camera rays origin + t directions[lane] for the lanes in `lanes`.
template <class TRayLog>
inline void TraceCameraPacket(const SSceneView& scene, const SKernelConstants& constants,
                              const SBvhQuery& balls, SVec3 origin, const SVec3* directions, unsigned lanes,
                              SVec4* colours, TRayLog& rays)
{
    using namespace packet_detail;
    SVec3 origins[kBvhWidth] = {}, next[kBvhWidth] = {};
    SSurface surfaces[kBvhWidth];
    SCameraShading shading[kBvhWidth];
    for (unsigned rest = lanes; rest != 0; rest &= rest - 1)
    {
        const uint32_t lane = static_cast<uint32_t>(__builtin_ctz(rest));
        origins[lane] = origin;
        rays.Primary(origin, directions[lane]);
    }
    FindSurfaces(scene, constants, balls, lanes, origins, directions, surfaces);
    unsigned live = 0, shadowed = 0;
    for (unsigned rest = lanes; rest != 0; rest &= rest - 1)
    {
        const uint32_t lane = static_cast<uint32_t>(__builtin_ctz(rest));
        if (!BeginShading(constants, surfaces[lane], origin, directions[lane], shading[lane]))
        {
            colours[lane] = shading[lane].colour;
            continue;
        }
        live |= 1u << lane;
        shadowed |= shading[lane].shadowTest ? 1u << lane : 0u;
    }

    if (shadowed != 0)
    {
        SRayPacket packet;
        SRayHit hits[kBvhWidth];
        const SVec3 light = Xyz(constants.lightPos);
        for (unsigned rest = shadowed; rest != 0; rest &= rest - 1)
        {
            const uint32_t lane = static_cast<uint32_t>(__builtin_ctz(rest));
            rays.Shadow(shading[lane].shadowOrigin, light - shading[lane].shadowOrigin);
            SetLane(packet, lane, shading[lane].shadowOrigin, light - shading[lane].shadowOrigin);
            hits[lane].t = kShadowReach;
        }
        FillUnused(packet, shadowed);
        const unsigned blocked = balls.TracePacket<true>(packet, shadowed, hits);
        for (unsigned rest = blocked; rest != 0; rest &= rest - 1)
            ApplyShadow(shading[__builtin_ctz(rest)]);
    }

    for (;;)
    {
        unsigned bouncing = 0;
        for (unsigned rest = live; rest != 0; rest &= rest - 1)
        {
            const uint32_t lane = static_cast<uint32_t>(__builtin_ctz(rest));
            if (!WantsBounce(shading[lane]))
                continue;
            bouncing |= 1u << lane;
            origins[lane] = shading[lane].rayOrigin;
            next[lane] = shading[lane].rayDirection;
            rays.Bounce(origins[lane], next[lane]);
        }
        if (bouncing == 0)
            break;
        FindSurfaces(scene, constants, balls, bouncing, origins, next, surfaces);
        for (unsigned rest = bouncing; rest != 0; rest &= rest - 1)
        {
            const uint32_t lane = static_cast<uint32_t>(__builtin_ctz(rest));
            AddBounce(constants, surfaces[lane], shading[lane]);
        }
    }
    for (unsigned rest = live; rest != 0; rest &= rest - 1)
    {
        const uint32_t lane = static_cast<uint32_t>(__builtin_ctz(rest));
        colours[lane] = FinishShading(scene, constants, shading[lane]);
    }
}

// TraceRect's pixels [x0, x1) x [y0, y1), eight pixels of a row at a time.
template <class TRayLog>
inline void TracePacketRect(const SSceneView& scene, const SKernelConstants& constants,
                            const SBvhQuery& balls, uint32_t x0, uint32_t x1, uint32_t y0, uint32_t y1,
                            float inverseWidth, float inverseHeight, SVec4* output, uint32_t pitch,
                            TRayLog& rays)
{
    const SVec3 origin = Xyz(constants.view[0]);
    for (uint32_t y = y0; y < y1; ++y)
        for (uint32_t x = x0; x < x1; x += kBvhWidth)
        {
            const uint32_t count = x1 - x < kBvhWidth ? x1 - x : kBvhWidth;
            SVec3 directions[kBvhWidth] = {};
            SVec4 colours[kBvhWidth];
            for (uint32_t lane = 0; lane < count; ++lane)
                directions[lane] = CameraRayDirection(constants, static_cast<float>(x + lane),
                                                      static_cast<float>(y), inverseWidth, inverseHeight);
            TraceCameraPacket(scene, constants, balls, origin, directions, (1u << count) - 1, colours, rays);
            for (uint32_t lane = 0; lane < count; ++lane)
                output[y * pitch + x + lane] = colours[lane];
        }
}
}
