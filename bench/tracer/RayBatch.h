// Rays recorded from one traced frame, and running a batch of them through a tracer on the
// CPU backend's worker pool.
#pragma once

#include "quellbeam/cpu/WorkerPool.h"
#include "quellbeam/kernel/Vec.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace bench
{
struct SRayList
{
    std::vector<quellbeam::SVec3> origins;
    std::vector<quellbeam::SVec3> directions;

    void Add(quellbeam::SVec3 origin, quellbeam::SVec3 direction)
    {
        origins.push_back(origin);
        directions.push_back(direction);
    }
    size_t Size() const { return origins.size(); }
};

// A ray log for the shading code that keeps every ray: nearest-hit rays (camera and mirror
// rays) and shadow rays.
struct SRayRecorder
{
    SRayList nearest;
    SRayList shadow;
    uint64_t primary = 0;

    void Primary(quellbeam::SVec3 origin, quellbeam::SVec3 direction)
    {
        ++primary;
        nearest.Add(origin, direction);
    }
    void Shadow(quellbeam::SVec3 origin, quellbeam::SVec3 direction) { shadow.Add(origin, direction); }
    void Bounce(quellbeam::SVec3 origin, quellbeam::SVec3 direction) { nearest.Add(origin, direction); }
};

// Answers ray i of a list with a ball index (or 0xFFFFFFFF).
using RayQuery = std::function<uint32_t(size_t ray)>;

// Runs every ray of a list through the query on all workers; returns the seconds taken and
// fills one answer per ray.
double RunBatch(quellbeam::CWorkerPool& workers, size_t rays, const RayQuery& query, std::vector<uint32_t>& answers);
}
