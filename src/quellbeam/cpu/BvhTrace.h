// The ball hierarchy's walk as the shading code's ball query. The walk is built twice, with
// AVX2 for processors that have it and with SSE for the others, and chosen once at first use.
#pragma once

#include "quellbeam/cpu/BallBvh.h"
#include "quellbeam/kernel/BallTest.h"

namespace quellbeam
{
using BvhTraceFunction = bool (*)(const SBvhView& bvh, SVec3 origin, SVec3 direction, SRayHit& hit);
// Eight rays: the lanes in `active`, each bounded by hits[lane].t; returns the lanes that hit.
using BvhPacketFunction = unsigned (*)(const SBvhView& bvh, const SRayPacket& rays, unsigned active,
                                       SRayHit* hits);

struct SBvhTraceFunctions
{
    BvhTraceFunction nearest;
    BvhTraceFunction anyHit;
    BvhPacketFunction nearest8;
    BvhPacketFunction anyHit8;
    const char* name; // "AVX2" or "SSE"
};

SBvhTraceFunctions GetBvhTraceAvx2();
SBvhTraceFunctions GetBvhTraceSse();
// The processor runs the AVX2 build (AVX2 and FMA).
bool HasAvx2();
// The fastest build this processor runs.
const SBvhTraceFunctions& GetBvhTrace();

struct SBvhQuery
{
    SBvhView bvh;
    SBvhTraceFunctions walk;

    template <bool kAnyHit>
    bool Trace(SVec3 origin, SVec3 direction, SRayHit& hit) const
    {
        return (kAnyHit ? walk.anyHit : walk.nearest)(bvh, origin, direction, hit);
    }
    template <bool kAnyHit>
    unsigned TracePacket(const SRayPacket& rays, unsigned active, SRayHit* hits) const
    {
        return (kAnyHit ? walk.anyHit8 : walk.nearest8)(bvh, rays, active, hits);
    }
};
}
