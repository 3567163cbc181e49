#include "kelvo/gpu/gl/MeshGL.h"

#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/ImportedMesh.h"
#include "kelvo/gpu/ResourceManager.h"
#include "kelvo/gpu/gl/GLDevice.h"
#include "kelvo/gpu/gl/MeshBufferGL.h"
#include "kelvo/gpu/xfile/XFileImporter.h"
#include "platform/Log.h"

#include <algorithm>

namespace
{
EVertexElementType DeviceType(EMeshElementType type)
{
    switch (type)
    {
    case EMeshElementType::Float1:
        return EVertexElementType::Float1;
    case EMeshElementType::Float2:
        return EVertexElementType::Float2;
    case EMeshElementType::Float3:
        return EVertexElementType::Float3;
    case EMeshElementType::Float4:
        return EVertexElementType::Float4;
    case EMeshElementType::Color:
        return EVertexElementType::Color;
    case EMeshElementType::UByte4:
        return EVertexElementType::UByte4;
    }
    return EVertexElementType::Float4;
}

// Transformed positions feed the position input: the shaders decide what they mean.
EVertexSemantic DeviceSemantic(EMeshElementUsage usage)
{
    switch (usage)
    {
    case EMeshElementUsage::TransformedPosition:
    case EMeshElementUsage::Position:
        return EVertexSemantic::Position;
    case EMeshElementUsage::Normal:
        return EVertexSemantic::Normal;
    case EMeshElementUsage::Color:
        return EVertexSemantic::Color;
    case EMeshElementUsage::TexCoord:
        return EVertexSemantic::TexCoord;
    case EMeshElementUsage::PointSize:
        return EVertexSemantic::PointSize;
    case EMeshElementUsage::BlendWeight:
        return EVertexSemantic::BlendWeight;
    case EMeshElementUsage::BlendIndices:
        return EVertexSemantic::BlendIndices;
    }
    return EVertexSemantic::Position;
}

CGLDevice::EPrimitive DevicePrimitive(uint32_t type)
{
    switch (type)
    {
    case CMesh::kLineList:
        return CGLDevice::EPrimitive::LineList;
    case CMesh::kPointList:
        return CGLDevice::EPrimitive::PointList;
    default:
        return CGLDevice::EPrimitive::TriangleList;
    }
}

const CGLBuffer* BufferOf(const CMeshDataBuffer* stream, IMeshDeviceBuffer::EKind kind)
{
    if (stream == nullptr)
        return nullptr;
    auto* buffer = static_cast<CMeshBufferGL*>(stream->GetDeviceBuffer(kind));
    return buffer != nullptr ? &buffer->GetBuffer() : nullptr;
}
}

CMeshGL::CMeshGL(CGLDevice* device, CGPUResourceManager* resources)
    : CMesh(resources)
    , m_Device(device)
{
}

bool CMeshGL::Update()
{
    if (!UpdateBoundingBox() || CreateVertexDeclaration() != kGPUResultOk || UploadBuffers() != kGPUResultOk)
        return false;
    MarkTraceGeometryStale();
    return true;
}

IGPUResource* CMeshGL::Clone() const
{
    auto* copy = new CMeshGL(m_Device, GetResources());
    copy->CopyStreamsFrom(*this);
    copy->Update();
    return copy;
}

uint32_t CMeshGL::CreateVertexDeclaration()
{
    m_Declaration.clear();
    CMesh::CreateVertexDeclaration();
    for (const SMeshVertexElement& element : GetVertexElements())
    {
        SVertexElement deviceElement;
        deviceElement.m_Stream = element.m_Stream;
        deviceElement.m_Type = DeviceType(element.m_Type);
        deviceElement.m_Semantic = DeviceSemantic(element.m_Usage);
        deviceElement.m_SemanticIndex = element.m_UsageIndex;
        uint32_t location = 0;
        if (deviceElement.m_Stream >= kVertexStreamCount ||
            !VertexAttributeLocation(deviceElement.m_Semantic, deviceElement.m_SemanticIndex, location))
        {
            DebugLog("[CMeshGL::CreateVertexDeclaration] Failed to create vertex declaration!\n");
            m_Declaration.clear();
            return kGPUResultVertexDeclaration;
        }
        m_Declaration.push_back(deviceElement);
    }
    return kGPUResultOk;
}

uint32_t CMeshGL::UploadBuffers()
{
    for (const std::string& name : StreamNames())
        if (const uint32_t result = UploadVertexStream(name); result != kGPUResultOk)
            return result;
    return UploadIndexStream();
}

uint32_t CMeshGL::UploadVertexStream(const std::string& name)
{
    CMeshDataBuffer* stream = GetBuffer(name, 0);
    if (stream == nullptr)
        return kGPUResultStreamMissing;
    stream->SetDeviceBuffer(nullptr);
    if (stream->GetByteCount() == 0)
        return kGPUResultOk;
    auto* buffer = new CMeshBufferGL();
    GLenum error = GL_NO_ERROR;
    if (!buffer->GetBuffer().Create(CGLBuffer::EKind::Vertex, stream->GetByteCount(), stream->GetData(),
                                    error))
    {
        delete buffer;
        return kGPUResultVertexBufferCreation;
    }
    stream->SetDeviceBuffer(buffer);
    return kGPUResultOk;
}

uint32_t CMeshGL::UploadIndexStream()
{
    CMeshDataBuffer* stream = GetBuffer("indices", 0);
    if (stream == nullptr)
        return kGPUResultStreamMissing;
    stream->SetDeviceBuffer(nullptr);
    if (stream->GetByteCount() == 0)
        return kGPUResultOk;
    auto* buffer = new CMeshBufferGL();
    const CGLBuffer::EKind kind =
        stream->GetStride() == 4 ? CGLBuffer::EKind::Index32 : CGLBuffer::EKind::Index16;
    GLenum error = GL_NO_ERROR;
    if (!buffer->GetBuffer().Create(kind, stream->GetByteCount(), stream->GetData(), error))
    {
        delete buffer;
        return kGPUResultIndexBufferCreation;
    }
    stream->SetDeviceBuffer(buffer);
    return kGPUResultOk;
}

uint32_t CMeshGL::Render(uint32_t firstVertex, uint32_t vertexCount, uint32_t firstPrimitive,
                         uint32_t primitiveCount)
{
    uint32_t boundVertexCount = 0;
    for (uint32_t i = 0; i < StreamNames().size(); ++i)
    {
        const std::string& name = StreamNames()[i];
        const CMeshDataBuffer* stream = FindBuffer(name);
        const CGLBuffer* buffer = BufferOf(stream, IMeshDeviceBuffer::EKind::Vertex);
        if (buffer == nullptr)
        {
            UnbindStreams(i);
            return kGPUResultRenderStream;
        }
        if (i == 0)
            boundVertexCount = stream->GetCount();
        else if (stream->GetCount() != boundVertexCount)
        {
            DebugLog("[CMeshGL::Render] Different vertex count in buffers!\n");
            if (stream->GetCount() != 0)
                boundVertexCount = std::min(boundVertexCount, stream->GetCount());
        }
        if (!m_Device->SetStreamSource(i, buffer, 0, stream->GetStride()))
        {
            UnbindStreams(i);
            DebugLog("[CMeshGL::Render] Failed to set stream source for '%s' buffer!\n", name.c_str());
            return kGPUResultSetStreamSource;
        }
    }
    return DrawBound(firstVertex, vertexCount, firstPrimitive, primitiveCount, boundVertexCount);
}

uint32_t CMeshGL::DrawBound(uint32_t firstVertex, uint32_t vertexCount, uint32_t firstPrimitive,
                            uint32_t primitiveCount, uint32_t boundVertexCount)
{
    const CMeshDataBuffer* indices = FindBuffer("indices");
    const CGLBuffer* indexBuffer = BufferOf(indices, IMeshDeviceBuffer::EKind::Index);
    m_Device->SetVertexDeclaration(m_Declaration);
    const CGLDevice::EPrimitive primitive = DevicePrimitive(GetPrimitiveType());
    const bool all = firstVertex == 0 && vertexCount == 0;
    if (indexBuffer == nullptr)
    {
        if (GetPrimitiveType() != kPointList)
            DebugLog("[CMeshGL::Render] Missing index buffer!\n");
        else
            m_Device->DrawPrimitive(primitive, firstVertex, all ? boundVertexCount : vertexCount);
        return kGPUResultOk;
    }
    m_Device->SetIndices(indexBuffer);
    const uint32_t perPrimitive = GetIndicesPerPrimitive();
    if ((all ? boundVertexCount : vertexCount) == 0 || indices->GetCount() == 0)
        return kGPUResultOk;
    if (firstPrimitive == 0 && primitiveCount == 0)
        primitiveCount = indices->GetCount() / perPrimitive;
    m_Device->DrawIndexedPrimitive(primitive, 0, firstPrimitive * perPrimitive, primitiveCount);
    return kGPUResultOk;
}

uint32_t CMeshGL::LoadXFile(const std::string& fileName)
{
    const std::string path = CResourceManager::Instance().GetPath(fileName);
    if (path.empty())
        return kGPUResultNotFound;
    SImportedMesh imported;
    std::string error;
    if (!ImportXFile(path, imported, error))
    {
        DebugLog("[CMeshGL::LoadXFile] %s\n", error.c_str());
        return kGPUResultMeshLoad;
    }
    const uint32_t result = FillMeshFromImport(imported, *this);
    SetPrimitiveType(kTriangleList);
    return result;
}

void CMeshGL::UnbindStreams(uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i)
        m_Device->SetStreamSource(i, nullptr, 0, 0);
}
