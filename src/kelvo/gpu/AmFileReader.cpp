#include "kelvo/gpu/AmFileReader.h"

#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/Material.h"
#include "kelvo/gpu/Mesh.h"
#include "kelvo/gpu/ResourceManager.h"
#include "platform/Log.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace
{
// Each material record fills a new material of the mesh's own.
class CMeshMaterialReader : public IAmMaterialReader
{
public:
    explicit CMeshMaterialReader(CMesh& mesh)
        : m_Mesh(mesh)
    {
    }
    bool ReadMaterial(uint32_t index, CByteReader& reader) override
    {
        CMaterial* material = m_Mesh.AddOwnMaterial(index);
        return material != nullptr && material->ReadFromFile(reader);
    }

private:
    CMesh& m_Mesh;
};

bool ReadSurfaces(CByteReader& reader, CMesh& mesh)
{
    uint32_t count = 0;
    if (!reader.ReadUInt32(count))
        return false;
    for (uint32_t i = 0; i < count; ++i)
    {
        SMeshSurface surface;
        if (!reader.ReadUInt32(surface.m_FirstPrimitive) || !reader.ReadUInt32(surface.m_PrimitiveCount) ||
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
    if (!reader.ReadString(name) || !reader.ReadUInt32(stride) || !reader.ReadUInt32(count))
        return false;
    // Elements are whole 32-bit values (16-bit indices aside), so every float in a stream is
    // aligned for the readers that take them as floats.
    if (stride == 0 || (stride % 4 != 0 && stride != 2))
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

uint32_t LoadAmFile(const std::string& fileName, CMesh& mesh)
{
    const std::string path = CResourceManager::Instance().GetPath(fileName);
    if (path.empty())
        return kGPUResultNotFound;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return kGPUResultNotFound;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    CByteReader reader(bytes.data(), bytes.size());
    CMeshMaterialReader materials(mesh);
    if (!ReadAmFile(reader, mesh, materials))
        DebugLog("[LoadAmFile] %s: the file ends early or is not an .am mesh; what was read before is kept\n",
                 fileName.c_str());
    mesh.UpdateBoundingBox();
    mesh.SetPrimitiveType(CMesh::kTriangleList);
    return kGPUResultOk;
}
