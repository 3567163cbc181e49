#include "kelvo/gpu/Mesh.h"

#include "kelvo/gpu/GPUResourceManager.h"
#include "kelvo/gpu/GPUResult.h"

#include "kelvo/gpu/AmFileReader.h"
#include "kelvo/gpu/BuiltInMeshes.h"
#include "kelvo/gpu/MeshAssetCorrections.h"
#include "kelvo/gpu/ResourceManager.h"
#include "platform/window/Window.h"
#include "platform/window/WindowMessage.h"
#include "platform/Log.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace
{
// Removes count elements from first on, moving the rest down; out-of-range parts are clipped.
void CutElements(CMeshDataBuffer& stream, uint32_t first, uint32_t count)
{
    if (first >= stream.GetCount())
        return;
    count = std::min(count, stream.GetCount() - first);
    const uint32_t stride = stream.GetStride();
    uint8_t* data = stream.GetData();
    std::memmove(data + static_cast<std::size_t>(first) * stride,
                 data + static_cast<std::size_t>(first + count) * stride,
                 static_cast<std::size_t>(stream.GetCount() - first - count) * stride);
    stream.Resize(stream.GetCount() - count);
}
}

CMesh::CMesh(CGPUResourceManager* resources)
    : m_Resources(resources)
    , m_Identity(NextProcessId())
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

uint32_t CMesh::Load(const std::string& fileName)
{
    const std::size_t dot = fileName.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : fileName.substr(dot + 1);
    uint32_t result;
    if (extension == "x" || extension == "X")
    {
        result = LoadXFile(fileName);
        if (result == kGPUResultOk)
            ApplyAssetCorrection(*this, fileName);
    }
    else if (extension == "am" || extension == "AM")
        result = LoadAmFile(fileName, *this);
    else
        return kGPUResultNotSupported;
    if (result != kGPUResultOk)
        return result;

    const std::string path = CResourceManager::Instance().GetPath(fileName);
    m_Name = path.substr(0, path.find('.'));
    UpdateBoundingBox();
    CreateVertexDeclaration();
    return UploadBuffers();
}

uint32_t CMesh::CreateVertexDeclaration()
{
    BuildVertexLayout(m_Elements, m_StreamNames);
    return kGPUResultOk;
}

uint32_t CMesh::UploadBuffers()
{
    return kGPUResultNotSupported;
}

bool CMesh::CreateBox(float, float, float)
{
    return BuildBox(*this);
}

bool CMesh::CreateTorus(uint32_t rings, uint32_t sides, float innerRadius, float outerRadius)
{
    return BuildTorus(*this, rings, sides, innerRadius, outerRadius);
}

uint32_t CMesh::Render(uint32_t, uint32_t, uint32_t, uint32_t)
{
    return kGPUResultNotSupported;
}

uint32_t CMesh::RenderSurface(uint32_t index)
{
    if (index >= m_Surfaces.size())
        return kGPUResultSurfaceIndex;
    if (!m_DebugDisplay.BeforeSurface(*this, index))
        return kGPUResultOk;
    const SMeshSurface& surface = m_Surfaces[index];
    return Render(surface.m_FirstVertex, surface.m_VertexCount, surface.m_FirstPrimitive,
                  surface.m_PrimitiveCount);
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
    case kLineList:
        return 2;
    case kPointList:
        return 1;
    default:
        return 3;
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

void CMesh::Transform(const SMatrix& matrix)
{
    CMeshDataBuffer* positions = GetBuffer("position", 0);
    if (positions != nullptr && positions->GetStride() >= 4 * sizeof(float))
        for (uint32_t i = 0; i < positions->GetCount(); ++i)
        {
            auto* position = positions->Element<SVector4>(i);
            const SVector4 moved = ::Transform({position->x, position->y, position->z, 1.0f}, matrix);
            *position = {moved.x, moved.y, moved.z, 1.0f};
        }

    CMeshDataBuffer* normals = GetBuffer("normal", 0);
    if (normals == nullptr || normals->GetStride() < 4 * sizeof(float))
        return;
    // Normals turn with the matrix but do not move.
    SMatrix rotation = matrix;
    rotation.m[12] = rotation.m[13] = rotation.m[14] = 0.0f;
    for (uint32_t i = 0; i < normals->GetCount(); ++i)
    {
        auto* normal = normals->Element<SVector4>(i);
        const SVector4 turned = ::Transform({normal->x, normal->y, normal->z, 1.0f}, rotation);
        const float length = Length(XYZ(turned));
        const float scale = length < 0.000001f ? 1.0f : 1.0f / length;
        *normal = {turned.x * scale, turned.y * scale, turned.z * scale, 1.0f};
    }
}

bool CMesh::RemoveSurface(uint32_t index)
{
    if (index >= m_Surfaces.size())
        return false;
    const uint32_t first = m_Surfaces[index].m_FirstPrimitive;
    const uint32_t count = m_Surfaces[index].m_PrimitiveCount;
    m_Surfaces.erase(m_Surfaces.begin() + index);
    if (index < m_MaterialHandles.size())
    {
        if (m_Resources != nullptr)
            m_Resources->ReleaseResource(&m_MaterialHandles[index]);
        m_MaterialHandles.erase(m_MaterialHandles.begin() + index);
    }
    for (std::size_t later = index; later < m_Surfaces.size(); ++later)
        m_Surfaces[later].m_FirstPrimitive -= count;

    CMeshDataBuffer* indices = GetBuffer("indices", 0);
    if (indices != nullptr && indices->GetStride() != sizeof(uint32_t))
        DebugLog("unsupported");
    else if (indices != nullptr)
        CutElements(*indices, 3 * first, 3 * count);
    // The per-triangle material ids stay beside their triangles.
    if (CMeshDataBuffer* materials = GetBuffer("materials", 0))
        CutElements(*materials, first, count);
    return true;
}

bool CMesh::Trace(const SRay& ray, STraceMeshHit& hit) const
{
    m_TraceGeometry.EnsureBuilt(GetTraceSource());
    STraceMeshHit found;
    if (!m_TraceGeometry.Trace(ray, found) || found.distance > hit.distance)
        return false;
    hit = found;
    return true;
}

STraceSource CMesh::GetTraceSource() const
{
    STraceSource source;
    source.bounds = {{m_BoundsMin[0], m_BoundsMin[1], m_BoundsMin[2], m_BoundsMin[3]},
                     {m_BoundsMax[0], m_BoundsMax[1], m_BoundsMax[2], m_BoundsMax[3]}};
    const CMeshDataBuffer* positions = FindBuffer("position");
    const CMeshDataBuffer* indices = FindBuffer("indices");
    // Only 16-byte positions and 16- or 32-bit indices of triangles can be read as such.
    if (m_PrimitiveType != kTriangleList || !positions || positions->GetStride() != sizeof(SVector4) ||
        !indices || (indices->GetStride() != 4 && indices->GetStride() != 2))
        return source;
    source.positions = positions->Element<SVector4>(0);
    source.vertexCount = positions->GetCount();
    source.indices = indices->GetData();
    source.indexCount = indices->GetCount();
    source.indexSize = indices->GetStride();
    return source;
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

uint32_t CMesh::LoadXFile(const std::string&)
{
    return kGPUResultMeshLoad;
}

CMaterial* CMesh::AddOwnMaterial(uint32_t index)
{
    if (m_Resources == nullptr)
        return nullptr;
    const std::string name = OwnMaterialName(index);
    CMaterial* material = m_Resources->GetOrCreateMaterial(name);
    const GPUObjectHandle* found = m_Resources->FindByName(name, kGPUObjectMaterial);
    if (material == nullptr || found == nullptr)
        return nullptr;
    // The first reference stays with the mesh; the look-up's goes back.
    const GPUObjectHandle handle = *found;
    m_Resources->ReleaseResource(&handle);
    m_MaterialHandles.push_back(handle);
    return material;
}

std::string CMesh::OwnMaterialName(uint32_t index) const
{
    char name[64];
    std::snprintf(name, sizeof(name), "mesh_%08x_mat_%i", m_Identity, static_cast<int>(index));
    return name;
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
