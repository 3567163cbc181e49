// The overlay meshes' streams, found without creating missing ones.
#pragma once

#include "kelvo/gpu/Mesh.h"

#include <cstdint>
#include <string>

// The stream of that name when the mesh has it with that element size, else null.
inline CMeshDataBuffer* FindMeshStream(CMesh& mesh, const std::string& name, uint32_t stride)
{
    const CMeshDataBuffer* found = mesh.FindBuffer(name);
    if (found == nullptr || found->GetStride() != stride)
        return nullptr;
    return mesh.GetBuffer(name, stride);
}
