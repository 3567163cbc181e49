// Small helpers for mesh tests: four-float elements and filling streams from lists.
#pragma once

#include "kelvo/gpu/Mesh.h"

#include <array>
#include <cmath>
#include <initializer_list>

using SFloat4 = std::array<float, 4>;

inline void FillFloat4(CMesh& mesh, const char* name, std::initializer_list<SFloat4> values)
{
    CMeshDataBuffer* stream = mesh.GetBuffer(name, 16);
    stream->Resize(static_cast<uint32_t>(values.size()));
    uint32_t i = 0;
    for (const SFloat4& value : values)
        *stream->Element<SFloat4>(i++) = value;
}

inline const SFloat4& Float4At(const CMesh& mesh, const char* name, uint32_t i)
{
    return *mesh.FindBuffer(name)->Element<SFloat4>(i);
}

inline SFloat4 Cross(const SFloat4& a, const SFloat4& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0], 0};
}

inline SFloat4 Minus(const SFloat4& a, const SFloat4& b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2], 0};
}

inline float Dot3(const SFloat4& a, const SFloat4& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

inline float Length3(const SFloat4& a)
{
    return std::sqrt(Dot3(a, a));
}
