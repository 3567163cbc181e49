// Writes meshes in the ".am" layout that the mesh loader reads (kelvo/gpu/AmFileReader.h):
// surfaces, streams and material records, little-endian, strings as length and bytes. The
// sections are written in order; the low-level writes let tests build broken files too.
#pragma once

#include "kelvo/gpu/MaterialRecord.h"
#include "kelvo/gpu/MeshSurface.h"

#include <cstdint>
#include <string>
#include <vector>

class CMesh;
class CMeshDataBuffer;

class CAmWriter
{
public:
    // Surface count and records.
    void WriteSurfaces(const std::vector<SMeshSurface>& surfaces);
    // Stream count and each stream's name, stride, count and data.
    void WriteStreams(const std::vector<CMeshDataBuffer*>& streams);
    // Material count and records.
    void WriteMaterials(const std::vector<SMaterialRecord>& materials);
    // The mesh's surfaces and streams, then the materials.
    void WriteMesh(const CMesh& mesh, const std::vector<SMaterialRecord>& materials);

    void WriteUInt32(uint32_t value);
    void WriteBytes(const void* data, std::size_t count);
    void WriteString(const std::string& text);

    const std::vector<uint8_t>& GetBytes() const { return m_Bytes; }
    // False when the file cannot be written whole.
    bool SaveTo(const std::string& path) const;

private:
    void WriteMaterial(const SMaterialRecord& material);

    std::vector<uint8_t> m_Bytes;
};
