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

// A ray log for the shading code that keeps every ray by kind, each kind in pixel order:
// camera rays and mirror rays (nearest hits), shadow rays (any hit).
struct SRayRecorder
{
    SRayList primary;
    SRayList bounce;
    SRayList shadow;

    void Primary(quellbeam::SVec3 origin, quellbeam::SVec3 direction) { primary.Add(origin, direction); }
    void Shadow(quellbeam::SVec3 origin, quellbeam::SVec3 direction) { shadow.Add(origin, direction); }
    void Bounce(quellbeam::SVec3 origin, quellbeam::SVec3 direction) { bounce.Add(origin, direction); }
};

// Answers rays [first, end) of a list, one ball index (or 0xFFFFFFFF) or 0/1 per ray.
using RayQuery = std::function<void(size_t first, size_t end, uint32_t* answers)>;

// Runs every ray of a list through the query on all workers, in runs of 4096 consecutive rays
// (whole packets of eight); returns the seconds taken, fills one answer per ray and sets
// cpuSeconds to the processor time the workers spent (steadier than wall time on a loaded machine).
double RunBatch(quellbeam::CWorkerPool& workers, size_t rays, const RayQuery& query,
                std::vector<uint32_t>& answers, double* cpuSeconds);
}
