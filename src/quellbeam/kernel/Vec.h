// Small vector types of the kernel code (CUDA's float3/float4 are not available in C++).
#pragma once

#include "quellbeam/kernel/HostDevice.h"

namespace quellbeam
{
struct SVec3
{
    float x, y, z;
};

struct SVec4
{
    float x, y, z, w;
};

QB_INLINE SVec3 Vec3(float x, float y, float z)
{
    return SVec3{x, y, z};
}
QB_INLINE SVec3 operator+(SVec3 a, SVec3 b)
{
    return SVec3{a.x + b.x, a.y + b.y, a.z + b.z};
}
QB_INLINE SVec3 operator-(SVec3 a, SVec3 b)
{
    return SVec3{a.x - b.x, a.y - b.y, a.z - b.z};
}
QB_INLINE SVec3 operator*(SVec3 a, float s)
{
    return SVec3{a.x * s, a.y * s, a.z * s};
}
QB_INLINE float Dot(SVec3 a, SVec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
QB_INLINE SVec3 Normalise(SVec3 a)
{
    return a * (1.0f / sqrtf(Dot(a, a)));
}
QB_INLINE SVec3 Xyz(SVec4 a)
{
    return SVec3{a.x, a.y, a.z};
}
QB_INLINE SVec3 Xyz(const float* a)
{
    return SVec3{a[0], a[1], a[2]};
}

QB_INLINE SVec4 operator+(SVec4 a, SVec4 b)
{
    return SVec4{a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w};
}
QB_INLINE SVec4 operator*(SVec4 a, float s)
{
    return SVec4{a.x * s, a.y * s, a.z * s, a.w * s};
}
QB_INLINE SVec4 Vec4(const float* a)
{
    return SVec4{a[0], a[1], a[2], a[3]};
}
}
