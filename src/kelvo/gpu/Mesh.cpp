#include "kelvo/gpu/Mesh.h"

#include "kelvo/gpu/GPUResourceManager.h"
#include "kelvo/gpu/GPUResult.h"

#include <algorithm>
#include <cmath>

CMesh::CMesh(CGPUResourceManager* resources)
    : m_Resources(resources)
{
}

CMesh::~CMesh()
{
    CMesh::Release();
}

bool CMesh::Update()
{
    if (!UpdateBoundingBox())
        return false;
    MarkTraceGeometryStale();
    return true;
}

bool CMesh::Release()
{
    DestroyStreams();
    ReleaseMaterials();
    m_Surfaces.clear();
    return true;
}

uint32_t CMesh::Load(const std::string&)
{
    return kGPUResultNotSupported;
}

uint32_t CMesh::UploadBuffers()
{
    return kGPUResultNotSupported;
}

CMeshDataBuffer* CMesh::GetBuffer(const std::string& name, uint32_t stride)
{
    for (CMeshDataBuffer* stream : m_Streams)
        if (stream->GetName() == name)
            return stream;
    if (stride == 0)
        return nullptr;
    m_Streams.push_back(new CMeshDataBuffer(name, stride));
    return m_Streams.back();
}

const CMeshDataBuffer* CMesh::FindBuffer(const std::string& name) const
{
    for (const CMeshDataBuffer* stream : m_Streams)
        if (stream->GetName() == name)
            return stream;
    return nullptr;
}

CMeshDataBuffer* CMesh::AddStream(const std::string& name, uint32_t stride)
{
    m_StreamNames.push_back(name);
    return GetBuffer(name, stride);
}

uint32_t CMesh::GetIndicesPerPrimitive() const
{
    switch (m_PrimitiveType)
    {
    case kLineList: return 2;
    case kPointList: return 1;
    default: return 3;
    }
}

bool CMesh::UpdateBoundingBox()
{
    const CMeshDataBuffer* positions = FindBuffer("position");
    if (positions == nullptr)
        return false;
    if (positions->GetCount() == 0 || positions->GetStride() < 3 * sizeof(float))
    {
        std::fill(std::begin(m_BoundsMin), std::end(m_BoundsMin), 0.0f);
        std::fill(std::begin(m_BoundsMax), std::end(m_BoundsMax), 0.0f);
        return true;
    }
    const float* first = positions->Element<float>(0);
    for (int axis = 0; axis < 3; ++axis)
        m_BoundsMin[axis] = m_BoundsMax[axis] = first[axis];
    m_BoundsMin[3] = m_BoundsMax[3] = 1.0f;
    for (uint32_t i = 1; i < positions->GetCount(); ++i)
    {
        const float* position = positions->Element<float>(i);
        for (int axis = 0; axis < 3; ++axis)
        {
            m_BoundsMin[axis] = std::min(m_BoundsMin[axis], position[axis]);
            m_BoundsMax[axis] = std::max(m_BoundsMax[axis], position[axis]);
        }
    }
    return true;
}

void CMesh::GetBoundingBox(float outMin[4], float outMax[4]) const
{
    std::copy(std::begin(m_BoundsMin), std::end(m_BoundsMin), outMin);
    std::copy(std::begin(m_BoundsMax), std::end(m_BoundsMax), outMax);
}

void CMesh::Transform(const SMatrix4& matrix)
{
    CMeshDataBuffer* positions = GetBuffer("position", 0);
    if (positions != nullptr && positions->GetStride() >= 4 * sizeof(float))
        for (uint32_t i = 0; i < positions->GetCount(); ++i)
        {
            float* position = positions->Element<float>(i);
            position[3] = 1.0f;
            float moved[4];
            matrix.TransformRow(position, moved);
            std::copy(moved, moved + 3, position);
        }

    CMeshDataBuffer* normals = GetBuffer("normal", 0);
    if (normals == nullptr || normals->GetStride() < 4 * sizeof(float))
        return;
    // Normals turn with the matrix but do not move.
    SMatrix4 rotation = matrix;
    rotation.m[12] = rotation.m[13] = rotation.m[14] = 0.0f;
    for (uint32_t i = 0; i < normals->GetCount(); ++i)
    {
        float* normal = normals->Element<float>(i);
        normal[3] = 1.0f;
        float turned[4];
        rotation.TransformRow(normal, turned);
        const float length =
            std::sqrt(turned[0] * turned[0] + turned[1] * turned[1] + turned[2] * turned[2]);
        const float scale = length < 0.000001f ? 1.0f : 1.0f / length;
        for (int axis = 0; axis < 3; ++axis)
            normal[axis] = turned[axis] * scale;
    }
}

bool CMesh::Trace(const SRay&, float&) const
{
    return false;
}

void CMesh::BuildVertexLayout(std::vector<SMeshVertexElement>& outElements,
                              std::vector<std::string>& outNames) const
{
    outElements.clear();
    outNames.clear();
    for (const CMeshDataBuffer* stream : m_Streams)
    {
        SMeshVertexElement element;
        const auto streamNumber = static_cast<uint32_t>(outElements.size());
        if (!StreamVertexElement(stream->GetName(), stream->GetStride(), streamNumber, element))
            continue;
        outElements.push_back(element);
        outNames.push_back(stream->GetName());
    }
}

void CMesh::CopyStreamsFrom(const CMesh& source)
{
    DestroyStreams();
    for (const CMeshDataBuffer* stream : source.m_Streams)
        m_Streams.push_back(new CMeshDataBuffer(*stream));
    m_StreamNames = source.m_StreamNames;
    m_PrimitiveType = source.m_PrimitiveType;
}

void CMesh::DestroyStreams()
{
    for (CMeshDataBuffer* stream : m_Streams)
        delete stream;
    m_Streams.clear();
}

void CMesh::ReleaseMaterials()
{
    if (m_Resources != nullptr)
        for (const GPUObjectHandle& handle : m_MaterialHandles)
            m_Resources->ReleaseResource(&handle);
    m_MaterialHandles.clear();
}
