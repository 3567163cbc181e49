// The same spheres in an Embree 3 scene (built-in sphere points), for nearest-hit and
// occlusion queries on single rays and on packets of eight.
#pragma once

#include "quellbeam/kernel/Vec.h"

#include <embree3/rtcore.h>

#include <cstdint>

namespace bench
{
class CEmbreeSpheres
{
public:
    // Builds the scene; threads is Embree's own thread count for the build.
    CEmbreeSpheres(const quellbeam::SVec4* spheres, uint32_t count, uint32_t threads);
    ~CEmbreeSpheres();
    CEmbreeSpheres(const CEmbreeSpheres&) = delete;
    CEmbreeSpheres& operator=(const CEmbreeSpheres&) = delete;

    bool IsValid() const { return m_Scene != nullptr; }
    double GetBuildMs() const { return m_BuildMs; }
    // Index of the nearest sphere hit beyond tNear, or 0xFFFFFFFF.
    uint32_t Intersect(quellbeam::SVec3 origin, quellbeam::SVec3 direction, float tNear, float tFar) const;
    bool Occluded(quellbeam::SVec3 origin, quellbeam::SVec3 direction, float tNear, float tFar) const;
    // The same for up to eight rays in one packet: answers[i] for ray i of [0, count).
    void Intersect8(const quellbeam::SVec3* origins, const quellbeam::SVec3* directions, int count,
                    float tNear, float tFar, uint32_t* answers) const;
    void Occluded8(const quellbeam::SVec3* origins, const quellbeam::SVec3* directions, int count,
                   float tNear, float tFar, uint32_t* answers) const;

private:
    RTCDevice m_Device = nullptr;
    RTCScene m_Scene = nullptr;
    double m_BuildMs = 0.0;
};
}
