#include "kelvo/gpu/xfile/XFileImporter.h"
#include "kelvo/gpu/xfile/ImportedMeshBytes.h"

#include "../CubeXFile.h"
#include "BinaryXWriter.h"
#include "support/TestFiles.h"

#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <array>
#include <cstring>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace
{
using SFloat3 = std::array<float, 3>;

// The cube file's corners and quads.
constexpr SFloat3 kCubeCorners[8] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                                     {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
constexpr uint32_t kCubeFaces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                       {2, 3, 7, 6}, {0, 4, 7, 3}, {1, 2, 6, 5}};

// One quad with texture coordinates, normals and vertex colours (in that order in the file),
// placed by a frame's transform (row-vector convention: translation in the fourth row), no
// materials.
constexpr const char* kQuadFile = R"(xof 0303txt 0032
Frame Root {
 FrameTransformMatrix { 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 5.0,0.0,0.0,1.0;; }
 Mesh Quad {
  4;
  0.0;0.0;2.0;, 1.0;0.0;2.0;, 1.0;1.0;3.0;, 0.0;1.0;3.0;;
  1;
  4;0,1,2,3;;
  MeshTextureCoords { 4; 0.0;0.0;, 1.0;0.0;, 1.0;0.25;, 0.0;0.25;; }
  MeshNormals { 1; 0.0;-0.707107;0.707107;; 1; 4;0,0,0,0;; }
  MeshVertexColors { 4; 0;1.0;0.0;0.0;1.0;;, 1;0.0;1.0;0.0;0.5;;, 2;0.0;0.0;1.0;0.0;;, 3;1.0;1.0;1.0;1.0;;; }
 }
}
)";

class XFileImporterTest : public ::testing::Test
{
protected:
    std::string Write(const std::string& name, const std::string& text)
    {
        WriteFile(m_Folder / name, text);
        return (m_Folder / name).string();
    }

    const std::filesystem::path m_Folder = MakeScratchFolder("brovell_xfile");
};

const SImportedStream* FindStream(const SImportedMesh& mesh, const std::string& name)
{
    for (const SImportedStream& stream : mesh.m_Streams)
        if (stream.m_Name == name)
            return &stream;
    return nullptr;
}

// A material's fields in order, so that whole materials compare at once.
auto Fields(const SMaterialDescription& m)
{
    return std::tuple(std::to_array(m.m_Diffuse), std::to_array(m.m_Ambient), std::to_array(m.m_Specular),
                      std::to_array(m.m_Emissive), m.m_Power, m.m_TextureFile);
}

std::vector<std::string> StreamNames(const SImportedMesh& mesh)
{
    std::vector<std::string> names;
    for (const SImportedStream& stream : mesh.m_Streams)
        names.push_back(stream.m_Name);
    return names;
}

SFloat3 Float3At(const SImportedStream& stream, uint32_t vertex)
{
    SFloat3 value;
    std::memcpy(value.data(), stream.m_Data.data() + vertex * stream.m_SourceBytes, 12);
    return value;
}

// Each quad of the file becomes triangles (0, 1, 2) and (0, 2, 3) of its corners in the
// file's order, so positions, winding and handedness are the file's.
void ExpectCubeFace(const SImportedMesh& mesh, uint32_t firstTriangle, uint32_t face)
{
    const SImportedStream& positions = *FindStream(mesh, "position");
    const uint32_t corners[6] = {0, 1, 2, 0, 2, 3};
    for (uint32_t k = 0; k < 6; ++k)
    {
        const uint32_t vertex = mesh.m_Indices[firstTriangle * 3 + k];
        ASSERT_LT(vertex, mesh.m_VertexCount);
        EXPECT_EQ(Float3At(positions, vertex), kCubeCorners[kCubeFaces[face][corners[k]]])
            << "face " << face << " corner " << k;
    }
}
}

TEST_F(XFileImporterTest, CubeWithThreeMaterialsGivesThreeSubsetsInFileOrder)
{
    SImportedMesh mesh;
    std::string error;
    ASSERT_TRUE(ImportXFile(Write("cube.x", kCubeXFile), mesh, error)) << error;
    EXPECT_EQ(StreamNames(mesh), (std::vector<std::string>{"position"}));
    EXPECT_EQ(mesh.m_Indices.size(), 36u);
    ASSERT_EQ(mesh.m_Subsets.size(), 3u);
    for (uint32_t s = 0; s < 3; ++s)
    {
        const SMeshSurface& surface = mesh.m_Subsets[s].m_Surface;
        EXPECT_EQ(surface.m_FirstPrimitive, 4 * s);
        EXPECT_EQ(surface.m_PrimitiveCount, 4u);
        // Triangles index only their own subset's vertices.
        for (uint32_t i = surface.m_FirstPrimitive * 3; i < (surface.m_FirstPrimitive + 4) * 3; ++i)
        {
            EXPECT_GE(mesh.m_Indices[i], surface.m_FirstVertex);
            EXPECT_LT(mesh.m_Indices[i], surface.m_FirstVertex + surface.m_VertexCount);
        }
        ExpectCubeFace(mesh, 4 * s, 2 * s);
        ExpectCubeFace(mesh, 4 * s + 2, 2 * s + 1);
    }
    EXPECT_EQ(mesh.m_Subsets[2].m_Surface.m_FirstVertex + mesh.m_Subsets[2].m_Surface.m_VertexCount,
              mesh.m_VertexCount);

    // The file gives no ambient colour, and specular and emissive colours without alpha.
    const SMaterialDescription materials[3] = {
        {{1, 0, 0, 0.5f}, {}, {0.25f, 0.25f, 0.25f, 1}, {0.1f, 0, 0, 1}, 12, "bricks.jpg"},
        {{0, 1, 0, 1}, {}, {0, 0, 0, 1}, {0, 0, 0, 1}, 4, ""},
        {{0, 0, 1, 1}, {}, {0, 0, 0, 1}, {0, 0.2f, 0, 1}, 8, "sky.png"}};
    for (uint32_t s = 0; s < 3; ++s)
        EXPECT_EQ(Fields(mesh.m_Subsets[s].m_Material), Fields(materials[s])) << s;
}

// Vertex colours become packed diffuse after the normals, whatever the file's order.
TEST_F(XFileImporterTest, NormalsColoursTexCoordsAndFrameTransformAreKeptAsTheFileHasThem)
{
    SImportedMesh mesh;
    std::string error;
    ASSERT_TRUE(ImportXFile(Write("quad.x", kQuadFile), mesh, error)) << error;
    EXPECT_EQ(StreamNames(mesh), (std::vector<std::string>{"position", "normal", "diffuse", "tex0"}));
    EXPECT_TRUE(mesh.m_Subsets.empty());
    ASSERT_EQ(mesh.m_VertexCount, 4u);
    ASSERT_EQ(mesh.m_Indices, (std::vector<uint32_t>{0, 1, 2, 0, 2, 3}));

    const SImportedStream& positions = *FindStream(mesh, "position");
    EXPECT_EQ(positions.m_Stride, 16u);
    EXPECT_EQ(Float3At(positions, 0), (SFloat3{5, 0, 2}));
    EXPECT_EQ(Float3At(positions, 2), (SFloat3{6, 1, 3}));
    const SImportedStream& normals = *FindStream(mesh, "normal");
    for (uint32_t v = 0; v < 4; ++v)
    {
        const SFloat3 normal = Float3At(normals, v);
        EXPECT_NEAR(normal[0], 0.0f, 1e-6f);
        EXPECT_NEAR(normal[1], -0.707107f, 1e-5f);
        EXPECT_NEAR(normal[2], 0.707107f, 1e-5f);
    }
    const SImportedStream& tex = *FindStream(mesh, "tex0");
    ASSERT_EQ(tex.m_SourceBytes, 8u);
    EXPECT_EQ(tex.m_Stride, 8u);
    std::vector<float> uv(8);
    std::memcpy(uv.data(), tex.m_Data.data(), 32);
    EXPECT_EQ(uv, (std::vector<float>{0, 0, 1, 0, 1, 0.25f, 0, 0.25f}));
    const SImportedStream& colours = *FindStream(mesh, "diffuse");
    ASSERT_EQ(colours.m_Stride, 4u);
    std::vector<uint32_t> packed(4);
    std::memcpy(packed.data(), colours.m_Data.data(), 16);
    EXPECT_EQ(packed, (std::vector<uint32_t>{0xffff0000u, 0x8000ff00u, 0x000000ffu, 0xffffffffu}));
}

// Broken files, and files that crash Assimp itself (kept in crashers/), give an error that
// names the file; the reader process takes the crash.
TEST_F(XFileImporterTest, InvalidFilesAreRefusedWithTheirName)
{
    std::vector<std::string> paths = {Write("broken.x", "xof 0303txt 0032\nMesh { 3; 0.0;0.0;"),
                                      Write("garbage.x", "not a mesh at all"),
                                      (m_Folder / "absent.x").string()};
    for (const auto& entry : std::filesystem::directory_iterator(BROVELL_XFILE_CRASHERS_DIR))
        paths.push_back(entry.path().string());
    ASSERT_GT(paths.size(), 3u);
    for (const std::string& path : paths)
    {
        SImportedMesh mesh;
        std::string error;
        EXPECT_FALSE(ImportXFile(path, mesh, error)) << path;
        EXPECT_NE(error.find(path), std::string::npos) << error;
    }
}

TEST_F(XFileImporterTest, FileWrittenByAnotherToolLoadsTheSameTriangles)
{
    // Assimp's own writer stores each subset as a mesh of its own and writes no materials.
    const std::string source = Write("cube.x", kCubeXFile);
    const std::string exported = (m_Folder / "exported.x").string();
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(source, 0);
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(Assimp::Exporter().Export(scene, "x", exported), AI_SUCCESS);

    SImportedMesh original, mesh;
    std::string error;
    ASSERT_TRUE(ImportXFile(source, original, error)) << error;
    ASSERT_TRUE(ImportXFile(exported, mesh, error)) << error;
    EXPECT_TRUE(mesh.m_Subsets.empty());
    ASSERT_EQ(mesh.m_Indices.size(), original.m_Indices.size());
    // The same triangles with the same corners, in the same handedness and winding.
    const SImportedStream& positions = *FindStream(mesh, "position");
    const SImportedStream& originalPositions = *FindStream(original, "position");
    for (std::size_t i = 0; i < mesh.m_Indices.size(); ++i)
        EXPECT_EQ(Float3At(positions, mesh.m_Indices[i]), Float3At(originalPositions, original.m_Indices[i]))
            << i;
}

namespace
{
// A quad with texture coordinates and one unnamed material, in binary tokens.
CBinaryXWriter BinaryQuad()
{
    CBinaryXWriter x;
    x.Name("Mesh");
    x.Name("Quad");
    x.OpenBrace();
    x.Integers({4});
    x.Floats({0, 0, 2, 1, 0, 2, 1, 1, 3, 0, 1, 3});
    x.Integers({1, 4, 0, 1, 2, 3});
    x.Name("MeshTextureCoords");
    x.OpenBrace();
    x.Integers({4});
    x.Floats({0, 0, 1, 0, 1, 0.25f, 0, 0.25f});
    x.CloseBrace();
    x.Name("MeshMaterialList");
    x.OpenBrace();
    x.Integers({1, 1, 0});
    x.Name("Material");
    x.OpenBrace();
    x.Floats({0.5f, 0.25f, 1, 1, 16, 0, 0, 0, 0, 0, 0});
    x.CloseBrace();
    x.CloseBrace();
    x.CloseBrace();
    return x;
}

// The same quad in the text format.
constexpr const char* kTextQuad = R"(xof 0303txt 0032
Mesh Quad {
 4; 0.0;0.0;2.0;, 1.0;0.0;2.0;, 1.0;1.0;3.0;, 0.0;1.0;3.0;;
 1; 4;0,1,2,3;;
 MeshTextureCoords { 4; 0.0;0.0;, 1.0;0.0;, 1.0;0.25;, 0.0;0.25;; }
 MeshMaterialList { 1; 1; 0;; Material { 0.5;0.25;1.0;1.0;; 16.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; } }
}
)";
}

TEST_F(XFileImporterTest, BinaryAndCompressedFilesLoadLikeText)
{
    SImportedMesh text, binary, compressed;
    std::string error;
    ASSERT_TRUE(ImportXFile(Write("quad_txt.x", kTextQuad), text, error)) << error;
    ASSERT_EQ(text.m_Subsets.size(), 1u);
    EXPECT_EQ(text.m_Subsets[0].m_Material.m_Power, 16.0f);
    ASSERT_TRUE(ImportXFile(Write("quad_bin.x", BinaryQuad().BinaryFile()), binary, error)) << error;
    EXPECT_EQ(EncodeImportedMesh(binary), EncodeImportedMesh(text));
    ASSERT_TRUE(ImportXFile(Write("quad_zip.x", BinaryQuad().CompressedFile()), compressed, error)) << error;
    EXPECT_EQ(EncodeImportedMesh(compressed), EncodeImportedMesh(text));

    // A compressed file cut inside its block is refused.
    const std::string cut = BinaryQuad().CompressedFile();
    EXPECT_FALSE(ImportXFile(Write("cut_zip.x", cut.substr(0, cut.size() - 20)), compressed, error));
}
