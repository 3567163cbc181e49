#include "AmWriter.h"

#include "kelvo/gpu/Mesh.h"

#include <fstream>

void CAmWriter::WriteSurfaces(const std::vector<SMeshSurface>& surfaces)
{
    WriteUInt32(static_cast<uint32_t>(surfaces.size()));
    for (const SMeshSurface& surface : surfaces)
    {
        WriteUInt32(surface.m_FirstPrimitive);
        WriteUInt32(surface.m_PrimitiveCount);
        WriteUInt32(surface.m_FirstVertex);
        WriteUInt32(surface.m_VertexCount);
    }
}

void CAmWriter::WriteStreams(const std::vector<CMeshDataBuffer*>& streams)
{
    WriteUInt32(static_cast<uint32_t>(streams.size()));
    for (const CMeshDataBuffer* stream : streams)
    {
        WriteString(stream->GetName());
        WriteUInt32(stream->GetStride());
        WriteUInt32(stream->GetCount());
        WriteBytes(stream->GetData(), stream->GetByteCount());
    }
}

void CAmWriter::WriteMaterials(const std::vector<SMaterialRecord>& materials)
{
    WriteUInt32(static_cast<uint32_t>(materials.size()));
    for (const SMaterialRecord& material : materials)
        WriteMaterial(material);
}

void CAmWriter::WriteMesh(const CMesh& mesh, const std::vector<SMaterialRecord>& materials)
{
    WriteSurfaces(mesh.GetSurfaces());
    WriteStreams(mesh.GetStreams());
    WriteMaterials(materials);
}

void CAmWriter::WriteUInt32(uint32_t value)
{
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    WriteBytes(bytes, sizeof(bytes));
}

void CAmWriter::WriteBytes(const void* data, std::size_t count)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (count != 0)
        m_Bytes.insert(m_Bytes.end(), bytes, bytes + count);
}

void CAmWriter::WriteString(const std::string& text)
{
    WriteUInt32(static_cast<uint32_t>(text.size()));
    WriteBytes(text.data(), text.size());
}

bool CAmWriter::SaveTo(const std::string& path) const
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(m_Bytes.data()), static_cast<std::streamsize>(m_Bytes.size()));
    return static_cast<bool>(file);
}

void CAmWriter::WriteMaterial(const SMaterialRecord& material)
{
    WriteString(material.m_Effect);
    WriteString(material.m_Technique);
    WriteUInt32(static_cast<uint32_t>(material.m_PixelTextures.size()));
    WriteUInt32(static_cast<uint32_t>(material.m_VertexTextures.size()));
    for (const std::string& name : material.m_PixelTextures)
        WriteString(name);
    for (const std::string& name : material.m_VertexTextures)
        WriteString(name);
    WriteUInt32(static_cast<uint32_t>(material.m_Variables.size()));
    for (const SMaterialVariable& variable : material.m_Variables)
    {
        WriteString(variable.m_Name);
        WriteUInt32(static_cast<uint32_t>(variable.m_Value.size()));
        WriteBytes(variable.m_Value.data(), variable.m_Value.size());
    }
}
