#include "kelvo/gpu/xfile/ImportedMeshBytes.h"

#include "kelvo/gpu/ByteReader.h"

#include <cstring>

namespace
{
constexpr char kTag[4] = {'X', 'M', 'B', '1'};
// A vertex attribute is at most a 4 x 4 float matrix.
constexpr uint32_t kMaxStride = 64;
constexpr std::size_t kMaterialFloats = 17;

class CByteWriter
{
public:
    void UInt32(uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            m_Bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
    void Float(float value)
    {
        uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof(bits));
        UInt32(bits);
    }
    void Bytes(const void* data, std::size_t count)
    {
        const auto* bytes = static_cast<const uint8_t*>(data);
        m_Bytes.insert(m_Bytes.end(), bytes, bytes + count);
    }
    void String(const std::string& text)
    {
        UInt32(static_cast<uint32_t>(text.size()));
        Bytes(text.data(), text.size());
    }
    std::vector<uint8_t> Take() { return std::move(m_Bytes); }

private:
    std::vector<uint8_t> m_Bytes;
};

// The material's floats in their stored order.
float* MaterialFloat(SMaterialDescription& material, std::size_t index)
{
    float* groups[] = {material.m_Diffuse, material.m_Ambient, material.m_Specular, material.m_Emissive};
    return index < 16 ? groups[index / 4] + index % 4 : &material.m_Power;
}

bool Fail(std::string& outError, const std::string& problem)
{
    outError = problem;
    return false;
}

bool DecodeStreams(CByteReader& reader, uint32_t vertexCount, SImportedMesh& mesh, std::string& outError)
{
    uint32_t count = 0;
    if (!reader.ReadUInt32(count))
        return Fail(outError, "the stream count is missing");
    for (uint32_t i = 0; i < count; ++i)
    {
        SImportedStream stream;
        if (!reader.ReadString(stream.m_Name) || !reader.ReadUInt32(stream.m_SourceBytes) ||
            !reader.ReadUInt32(stream.m_Stride))
            return Fail(outError, "stream " + std::to_string(i) + " is cut short");
        // Every attribute is made of 32-bit values (floats, packed colours).
        if (stream.m_SourceBytes == 0 || stream.m_SourceBytes > stream.m_Stride ||
            stream.m_Stride > kMaxStride || stream.m_SourceBytes % 4 != 0 || stream.m_Stride % 4 != 0)
            return Fail(outError, "stream \"" + stream.m_Name + "\" has a bad element size");
        const std::size_t bytes = static_cast<std::size_t>(vertexCount) * stream.m_SourceBytes;
        if (bytes > reader.GetRemaining())
            return Fail(outError, "stream \"" + stream.m_Name + "\" is cut short");
        stream.m_Data.resize(bytes);
        reader.ReadBytes(stream.m_Data.data(), bytes);
        mesh.m_Streams.push_back(std::move(stream));
    }
    return true;
}

bool DecodeIndices(CByteReader& reader, uint32_t vertexCount, SImportedMesh& mesh, std::string& outError)
{
    uint32_t count = 0;
    if (!reader.ReadUInt32(count) || static_cast<std::size_t>(count) * 4 > reader.GetRemaining())
        return Fail(outError, "the indices are cut short");
    if (count % 3 != 0)
        return Fail(outError, "the index count is not a whole number of triangles");
    mesh.m_Indices.resize(count);
    for (uint32_t& index : mesh.m_Indices)
    {
        reader.ReadUInt32(index);
        if (index >= vertexCount)
            return Fail(outError, "index " + std::to_string(index) + " names no vertex");
    }
    return true;
}

bool DecodeSubsets(CByteReader& reader, SImportedMesh& mesh, std::string& outError)
{
    uint32_t count = 0;
    if (!reader.ReadUInt32(count))
        return Fail(outError, "the subset count is missing");
    const uint64_t primitives = mesh.m_Indices.size() / 3;
    for (uint32_t i = 0; i < count; ++i)
    {
        SImportedSubset subset;
        SMeshSurface& surface = subset.m_Surface;
        bool read = reader.ReadUInt32(surface.m_FirstPrimitive) &&
                    reader.ReadUInt32(surface.m_PrimitiveCount) && reader.ReadUInt32(surface.m_FirstVertex) &&
                    reader.ReadUInt32(surface.m_VertexCount);
        for (std::size_t f = 0; read && f < kMaterialFloats; ++f)
            read = reader.ReadBytes(MaterialFloat(subset.m_Material, f), sizeof(float));
        if (!read || !reader.ReadString(subset.m_Material.m_TextureFile))
            return Fail(outError, "subset " + std::to_string(i) + " is cut short");
        if (uint64_t{surface.m_FirstPrimitive} + surface.m_PrimitiveCount > primitives ||
            uint64_t{surface.m_FirstVertex} + surface.m_VertexCount > mesh.m_VertexCount)
            return Fail(outError, "subset " + std::to_string(i) + " lies outside the mesh");
        mesh.m_Subsets.push_back(std::move(subset));
    }
    return true;
}
}

std::vector<uint8_t> EncodeImportedMesh(const SImportedMesh& mesh)
{
    CByteWriter writer;
    writer.Bytes(kTag, sizeof(kTag));
    writer.UInt32(mesh.m_VertexCount);
    writer.UInt32(static_cast<uint32_t>(mesh.m_Streams.size()));
    for (const SImportedStream& stream : mesh.m_Streams)
    {
        writer.String(stream.m_Name);
        writer.UInt32(stream.m_SourceBytes);
        writer.UInt32(stream.m_Stride);
        writer.Bytes(stream.m_Data.data(), stream.m_Data.size());
    }
    writer.UInt32(static_cast<uint32_t>(mesh.m_Indices.size()));
    for (uint32_t index : mesh.m_Indices)
        writer.UInt32(index);
    writer.UInt32(static_cast<uint32_t>(mesh.m_Subsets.size()));
    for (const SImportedSubset& subset : mesh.m_Subsets)
    {
        const SMeshSurface& surface = subset.m_Surface;
        for (uint32_t value : {surface.m_FirstPrimitive, surface.m_PrimitiveCount, surface.m_FirstVertex,
                               surface.m_VertexCount})
            writer.UInt32(value);
        SMaterialDescription material = subset.m_Material;
        for (std::size_t f = 0; f < kMaterialFloats; ++f)
            writer.Float(*MaterialFloat(material, f));
        writer.String(material.m_TextureFile);
    }
    return writer.Take();
}

bool DecodeImportedMesh(const uint8_t* data, std::size_t size, SImportedMesh& outMesh, std::string& outError)
{
    CByteReader reader(data, size);
    char tag[sizeof(kTag)] = {};
    SImportedMesh mesh;
    if (!reader.ReadBytes(tag, sizeof(tag)) || std::memcmp(tag, kTag, sizeof(kTag)) != 0 ||
        !reader.ReadUInt32(mesh.m_VertexCount))
        return Fail(outError, "not a mesh from the .x reader");
    if (!DecodeStreams(reader, mesh.m_VertexCount, mesh, outError) ||
        !DecodeIndices(reader, mesh.m_VertexCount, mesh, outError) || !DecodeSubsets(reader, mesh, outError))
        return false;
    if (reader.GetRemaining() != 0)
        return Fail(outError, "unexpected bytes after the mesh");
    outMesh = std::move(mesh);
    return true;
}
