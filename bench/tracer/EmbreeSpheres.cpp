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
    return ray.tfar < 0.0f;  // Embree marks an occluded ray with tfar = -inf
}
}
