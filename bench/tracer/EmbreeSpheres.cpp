#include "EmbreeSpheres.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace bench
{
using quellbeam::SVec3;
using quellbeam::SVec4;

CEmbreeSpheres::CEmbreeSpheres(const SVec4* spheres, uint32_t count, uint32_t threads)
{
    const std::string config = "threads=" + std::to_string(threads);
    m_Device = rtcNewDevice(config.c_str());
    if (m_Device == nullptr)
    {
        std::fprintf(stderr, "Embree: no device (%d)\n", static_cast<int>(rtcGetDeviceError(nullptr)));
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    m_Scene = rtcNewScene(m_Device);
    RTCGeometry geometry = rtcNewGeometry(m_Device, RTC_GEOMETRY_TYPE_SPHERE_POINT);
    auto* vertices = static_cast<SVec4*>(rtcSetNewGeometryBuffer(geometry, RTC_BUFFER_TYPE_VERTEX, 0,
                                                                 RTC_FORMAT_FLOAT4, sizeof(SVec4), count));
    for (uint32_t i = 0; i < count; ++i)
        vertices[i] = spheres[i];
    rtcCommitGeometry(geometry);
    rtcAttachGeometry(m_Scene, geometry);
    rtcReleaseGeometry(geometry);
    rtcCommitScene(m_Scene);
    m_BuildMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

CEmbreeSpheres::~CEmbreeSpheres()
{
    if (m_Scene != nullptr)
        rtcReleaseScene(m_Scene);
    if (m_Device != nullptr)
        rtcReleaseDevice(m_Device);
}

namespace
{
RTCRay MakeRay(SVec3 origin, SVec3 direction, float tNear, float tFar)
{
    RTCRay ray = {};
    ray.org_x = origin.x;
    ray.org_y = origin.y;
    ray.org_z = origin.z;
    ray.dir_x = direction.x;
    ray.dir_y = direction.y;
    ray.dir_z = direction.z;
    ray.tnear = tNear;
    ray.tfar = tFar;
    ray.mask = 0xFFFFFFFFu;
    return ray;
}
}

uint32_t CEmbreeSpheres::Intersect(SVec3 origin, SVec3 direction, float tNear, float tFar) const
{
    RTCIntersectContext context;
    rtcInitIntersectContext(&context);
    RTCRayHit query = {};
    query.ray = MakeRay(origin, direction, tNear, tFar);
    query.hit.geomID = RTC_INVALID_GEOMETRY_ID;
    rtcIntersect1(m_Scene, &context, &query);
    return query.hit.geomID == RTC_INVALID_GEOMETRY_ID ? 0xFFFFFFFFu : query.hit.primID;
}

bool CEmbreeSpheres::Occluded(SVec3 origin, SVec3 direction, float tNear, float tFar) const
{
    RTCIntersectContext context;
    rtcInitIntersectContext(&context);
    RTCRay ray = MakeRay(origin, direction, tNear, tFar);
    rtcOccluded1(m_Scene, &context, &ray);
    return ray.tfar < 0.0f; // Embree marks an occluded ray with tfar = -inf
}

namespace
{
// The rays of a packet; lanes at and beyond count are switched off.
void FillPacket(RTCRay8& rays, int valid[8], const SVec3* origins, const SVec3* directions, int count,
                float tNear, float tFar)
{
    for (int lane = 0; lane < 8; ++lane)
    {
        const bool used = lane < count;
        valid[lane] = used ? -1 : 0;
        const SVec3 o = used ? origins[lane] : SVec3{0, 0, 0};
        const SVec3 d = used ? directions[lane] : SVec3{0, 0, 1};
        rays.org_x[lane] = o.x;
        rays.org_y[lane] = o.y;
        rays.org_z[lane] = o.z;
        rays.dir_x[lane] = d.x;
        rays.dir_y[lane] = d.y;
        rays.dir_z[lane] = d.z;
        rays.tnear[lane] = tNear;
        rays.tfar[lane] = tFar;
        rays.time[lane] = 0.0f;
        rays.mask[lane] = 0xFFFFFFFFu;
        rays.id[lane] = static_cast<unsigned>(lane);
        rays.flags[lane] = 0;
    }
}
}

void CEmbreeSpheres::Intersect8(const SVec3* origins, const SVec3* directions, int count, float tNear,
                                float tFar, uint32_t* answers) const
{
    RTCIntersectContext context;
    rtcInitIntersectContext(&context);
    alignas(32) RTCRayHit8 query;
    alignas(32) int valid[8];
    FillPacket(query.ray, valid, origins, directions, count, tNear, tFar);
    for (int lane = 0; lane < 8; ++lane)
        query.hit.geomID[lane] = RTC_INVALID_GEOMETRY_ID;
    rtcIntersect8(valid, m_Scene, &context, &query);
    for (int lane = 0; lane < count; ++lane)
        answers[lane] =
            query.hit.geomID[lane] == RTC_INVALID_GEOMETRY_ID ? 0xFFFFFFFFu : query.hit.primID[lane];
}

void CEmbreeSpheres::Occluded8(const SVec3* origins, const SVec3* directions, int count, float tNear,
                               float tFar, uint32_t* answers) const
{
    RTCIntersectContext context;
    rtcInitIntersectContext(&context);
    alignas(32) RTCRay8 rays;
    alignas(32) int valid[8];
    FillPacket(rays, valid, origins, directions, count, tNear, tFar);
    rtcOccluded8(valid, m_Scene, &context, &rays);
    for (int lane = 0; lane < count; ++lane)
        answers[lane] = rays.tfar[lane] < 0.0f ? 1u : 0u;
}
}
