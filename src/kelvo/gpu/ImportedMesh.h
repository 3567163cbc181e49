// A mesh as a file loader or a shape builder hands it over: per-vertex attributes as separate
// packed arrays in the order they become streams, 32-bit triangle indices, and the subsets
// with the material each one names. ConvertImportedGeometry turns it into mesh streams.
#pragma once

#include "kelvo/gpu/MaterialDescription.h"
#include "kelvo/gpu/MeshSurface.h"

#include <cstdint>
#include <string>
#include <vector>

class CMesh;

struct SImportedStream
{
    std::string m_Name;
    // Bytes per vertex in m_Data, and the element size of the mesh stream (not smaller).
    uint32_t m_SourceBytes = 0;
    uint32_t m_Stride = 0;
    std::vector<uint8_t> m_Data;
};

struct SImportedSubset
{
    SMeshSurface m_Surface;
    SMaterialDescription m_Material;
};

struct SImportedMesh
{
    uint32_t m_VertexCount = 0;
    std::vector<SImportedStream> m_Streams;
    std::vector<uint32_t> m_Indices;
    std::vector<SImportedSubset> m_Subsets;

    // Appends a stream of count floats per vertex from values (vertex count x count floats),
    // widened to stride bytes with zeros.
    void AddFloatStream(const std::string& name, uint32_t count, uint32_t stride, const float* values);
};

// Releases the mesh's streams, materials and surfaces, then fills the streams in the order
// given (each widened to its stride with zeros) and "indices" with 32-bit indices. Logs the
// face count. Surfaces and materials are the caller's. False when a stream cannot be filled.
bool ConvertImportedGeometry(const SImportedMesh& imported, CMesh& mesh);

// The whole imported mesh: its geometry as above, each subset a surface drawn with the
// mesh's own material for the subset's index, made from its description, and the
// "materials" stream holding each triangle's material id. 16 when the geometry cannot be
// filled, 54 when that stream cannot be had; the materials need the mesh's resource manager.
uint32_t FillMeshFromImport(const SImportedMesh& imported, CMesh& mesh);
