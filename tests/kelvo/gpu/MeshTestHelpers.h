// Small helpers for mesh tests: four-float elements, filling streams from lists, bounding boxes.
#pragma once

#include "kelvo/core/Math.h"
#include "kelvo/gpu/Mesh.h"

#include <array>
#include <initializer_list>
#include <utility>

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

// The first three floats of element i, for the vector arithmetic of the engine's math.
inline SVector3 Xyz(const CMesh& mesh, const char* name, uint32_t i)
{
    const SFloat4& value = Float4At(mesh, name, i);
    return {value[0], value[1], value[2]};
}

// The mesh's bounding box as its low and high corners.
inline std::pair<SFloat4, SFloat4> BoundingBox(const CMesh& mesh)
{
    std::pair<SFloat4, SFloat4> box;
    mesh.GetBoundingBox(box.first.data(), box.second.data());
    return box;
}
