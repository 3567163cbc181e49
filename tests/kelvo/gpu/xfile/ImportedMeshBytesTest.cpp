#include "kelvo/gpu/xfile/ImportedMeshBytes.h"

#include <gtest/gtest.h>

namespace
{
// Two triangles over four vertices, one subset with a textured material.
SImportedMesh Quad()
{
    SImportedMesh mesh;
    mesh.m_VertexCount = 4;
    const float positions[12] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
    mesh.AddFloatStream("position", 3, 16, positions);
    mesh.m_Indices = {0, 1, 2, 0, 2, 3};
    SImportedSubset subset;
    subset.m_Surface = {0, 2, 0, 4};
    subset.m_Material.m_Diffuse[1] = 0.5f;
    subset.m_Material.m_Power = 8.0f;
    subset.m_Material.m_TextureFile = "bricks.jpg";
    mesh.m_Subsets.push_back(subset);
    return mesh;
}

bool Decodes(const std::vector<uint8_t>& bytes, std::size_t size, SImportedMesh& outMesh)
{
    std::string error;
    const bool decoded = DecodeImportedMesh(bytes.data(), size, outMesh, error);
    EXPECT_EQ(decoded, error.empty()) << error;
    return decoded;
}
}

TEST(ImportedMeshBytesTest, TheMeshComesBackWholeAndEveryCutIsRefused)
{
    const std::vector<uint8_t> bytes = EncodeImportedMesh(Quad());
    SImportedMesh decoded;
    ASSERT_TRUE(Decodes(bytes, bytes.size(), decoded));
    EXPECT_EQ(EncodeImportedMesh(decoded), bytes);
    EXPECT_EQ(decoded.m_Subsets[0].m_Material.m_TextureFile, "bricks.jpg");
    EXPECT_EQ(decoded.m_Subsets[0].m_Material.m_Power, 8.0f);
    for (std::size_t size = 0; size < bytes.size(); ++size)
        EXPECT_FALSE(Decodes(bytes, size, decoded)) << size;
    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(Decodes(longer, longer.size(), decoded));
}

TEST(ImportedMeshBytesTest, IndicesAndSubsetsOutsideTheMeshAreRefused)
{
    SImportedMesh badIndex = Quad();
    badIndex.m_Indices[4] = 4;
    SImportedMesh badSubset = Quad();
    badSubset.m_Subsets[0].m_Surface.m_FirstPrimitive = 1;
    SImportedMesh narrowStride = Quad();
    narrowStride.m_Streams[0].m_Stride = 8;
    for (const SImportedMesh& mesh : {badIndex, badSubset, narrowStride})
    {
        SImportedMesh decoded;
        const std::vector<uint8_t> bytes = EncodeImportedMesh(mesh);
        EXPECT_FALSE(Decodes(bytes, bytes.size(), decoded));
    }
}
