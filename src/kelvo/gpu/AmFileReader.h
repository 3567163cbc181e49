// Reads the ".am" mesh layout (all integers unsigned 32-bit little-endian; strings as in
// CByteReader) into a mesh:
//   surface count, surface records (first primitive, primitive count, first vertex,
//   vertex count);
//   stream count, streams (name, stride, element count, element count x stride bytes);
//   material count, material records (MaterialRecord.h).
// Reading stops at the first thing the bytes do not hold (a short file, a count or length
// beyond what is left, a malformed string); what was read before stays, and a stream cut
// short keeps its whole elements. Nothing is allocated beyond the file's size.
#pragma once

#include "kelvo/gpu/ByteReader.h"

#include <cstdint>
#include <string>

class CMesh;

// Makes and fills material index of the mesh from the record at the reader's position.
class IAmMaterialReader
{
public:
    virtual ~IAmMaterialReader() = default;
    // False when the material cannot be made or read; reading then ends.
    virtual bool ReadMaterial(uint32_t index, CByteReader& reader) = 0;
};

// True when the whole layout was read; false when reading stopped early.
bool ReadAmFile(CByteReader& reader, CMesh& mesh, IAmMaterialReader& materials);

// Reads the registered file into mesh as a triangle list, its materials becoming the mesh's
// own, and bounds it: 12 for a file not registered or not readable, else 0 with whatever the
// file holds.
uint32_t LoadAmFile(const std::string& fileName, CMesh& mesh);
