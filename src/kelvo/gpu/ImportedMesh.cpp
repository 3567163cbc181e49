#include "kelvo/gpu/ImportedMesh.h"

#include "kelvo/gpu/GPUResourceManager.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/Mesh.h"
#include "platform/Log.h"

#include <cstring>

void SImportedMesh::AddFloatStream(const std::string& name, uint32_t count, uint32_t stride,
                                   const float* values)
{
    SImportedStream stream;
    stream.m_Name = name;
    stream.m_SourceBytes = count * sizeof(float);
    stream.m_Stride = stride;
    stream.m_Data.resize(static_cast<std::size_t>(m_VertexCount) * stream.m_SourceBytes);
    if (!stream.m_Data.empty())
        std::memcpy(stream.m_Data.data(), values, stream.m_Data.size());
    m_Streams.push_back(std::move(stream));
}

bool ConvertImportedGeometry(const SImportedMesh& imported, CMesh& mesh)
{
    mesh.Release();
    const auto faceCount = static_cast<uint32_t>(imported.m_Indices.size() / 3);
    DebugLog("[FillMeshFromImport] FACES: %i\n", faceCount);
    for (const SImportedStream& source : imported.m_Streams)
    {
        const std::size_t needed = static_cast<std::size_t>(imported.m_VertexCount) * source.m_SourceBytes;
        CMeshDataBuffer* stream = mesh.GetBuffer(source.m_Name, source.m_Stride);
        if (stream == nullptr || source.m_Data.size() < needed || stream->GetStride() != source.m_Stride ||
            !stream->CopyStrided(source.m_Data.data(), 0, source.m_SourceBytes, source.m_SourceBytes,
                                 imported.m_VertexCount))
            return false;
    }
    CMeshDataBuffer* indices = mesh.GetBuffer("indices", sizeof(uint32_t));
    return indices->CopyStrided(imported.m_Indices.data(), 0, sizeof(uint32_t), sizeof(uint32_t),
                                static_cast<uint32_t>(imported.m_Indices.size()));
}

uint32_t FillMeshFromImport(const SImportedMesh& imported, CMesh& mesh)
{
    if (!ConvertImportedGeometry(imported, mesh))
        return kGPUResultMeshLoad;
    CGPUResourceManager* resources = mesh.GetResources();
    if (imported.m_Subsets.empty() || resources == nullptr)
        return kGPUResultOk;
    CMeshDataBuffer* materials = mesh.GetBuffer("materials", sizeof(uint32_t));
    const auto triangles = static_cast<uint32_t>(imported.m_Indices.size() / 3);
    if (materials == nullptr || !materials->Reset(triangles, sizeof(uint32_t)))
        return kGPUResultMaterialStream;
    materials->Zero();
    for (uint32_t i = 0; i < imported.m_Subsets.size(); ++i)
    {
        const SImportedSubset& subset = imported.m_Subsets[i];
        GPUObjectHandle handle;
        resources->CreateMaterialFromDescription(mesh.OwnMaterialName(i), subset.m_Material, handle);
        mesh.GetMaterialHandles().push_back(handle);
        const SMeshSurface& surface = subset.m_Surface;
        for (uint32_t t = surface.m_FirstPrimitive;
             t < surface.m_FirstPrimitive + surface.m_PrimitiveCount && t < triangles; ++t)
            *materials->Element<uint32_t>(t) = handle.m_Id;
        mesh.GetSurfaces().push_back(surface);
    }
    return kGPUResultOk;
}
