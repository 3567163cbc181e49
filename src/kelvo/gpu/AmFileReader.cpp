#include "kelvo/gpu/AmFileReader.h"

#include "kelvo/gpu/Mesh.h"

namespace
{
bool ReadSurfaces(CByteReader& reader, CMesh& mesh)
{
    uint32_t count = 0;
    if (!reader.ReadUInt32(count))
        return false;
    for (uint32_t i = 0; i < count; ++i)
    {
        SMeshSurface surface;
        if (!reader.ReadUInt32(surface.m_FirstPrimitive) ||
            !reader.ReadUInt32(surface.m_PrimitiveCount) ||
            !reader.ReadUInt32(surface.m_FirstVertex) || !reader.ReadUInt32(surface.m_VertexCount))
            return false;
        mesh.GetSurfaces().push_back(surface);
    }
    return true;
}

bool ReadStream(CByteReader& reader, CMesh& mesh)
{
    std::string name;
    uint32_t stride = 0, count = 0;
    if (!reader.ReadString(name) || !reader.ReadUInt32(stride) || !reader.ReadUInt32(count) ||
        stride == 0)
        return false;
    // Only the whole elements the file still holds are taken.
    const uint64_t available = reader.GetRemaining() / stride;
    const bool complete = count <= available;
    const auto taken = static_cast<uint32_t>(complete ? count : available);
    CMeshDataBuffer* stream = mesh.GetBuffer(name, stride);
    if (!stream->Reset(taken, stride))
        return false;
    reader.ReadBytes(stream->GetData(), static_cast<std::size_t>(taken) * stride);
    return complete;
}

bool ReadStreams(CByteReader& reader, CMesh& mesh)
{
    uint32_t count = 0;
    if (!reader.ReadUInt32(count))
        return false;
    for (uint32_t i = 0; i < count; ++i)
        if (!ReadStream(reader, mesh))
            return false;
    return true;
}

bool ReadMaterials(CByteReader& reader, IAmMaterialReader& materials)
{
    uint32_t count = 0;
    if (!reader.ReadUInt32(count))
        return false;
    // A material is made only while the file holds bytes for it.
    for (uint32_t i = 0; i < count; ++i)
        if (reader.GetRemaining() == 0 || !materials.ReadMaterial(i, reader))
            return false;
    return true;
}
}

bool ReadAmFile(CByteReader& reader, CMesh& mesh, IAmMaterialReader& materials)
{
    return ReadSurfaces(reader, mesh) && ReadStreams(reader, mesh) && ReadMaterials(reader, materials);
}
