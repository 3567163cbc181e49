#include "kelvo/gpu/BuiltInMeshes.h"
#include "kelvo/gpu/GPUResourceManager.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/Mesh.h"
#include "kelvo/gpu/MeshAssetCorrections.h"
#include "kelvo/gpu/ResourceManager.h"

#include "AmWriter.h"
#include "support/CaptureStderr.h"
#include "FakeResources.h"
#include "MeshTestHelpers.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace
{
// A mesh of count one-triangle surfaces, triangle t using vertices 3t..3t+2, with a material
// per surface and the per-triangle "materials" stream.
void FillSurfaces(CMesh& mesh, CTestResourceManager& resources, uint32_t count)
{
    CMeshDataBuffer* indices = mesh.GetBuffer("indices", 4);
    CMeshDataBuffer* materials = mesh.GetBuffer("materials", 4);
    indices->Resize(count * 3);
    materials->Resize(count);
    for (uint32_t t = 0; t < count; ++t)
    {
        mesh.GetSurfaces().push_back({t, 1, 3 * t, 3});
        mesh.GetMaterialHandles().push_back(resources.AddMaterial("surface_" + std::to_string(t)));
        for (uint32_t k = 0; k < 3; ++k)
            *indices->Element<uint32_t>(3 * t + k) = 3 * t + k;
        *materials->Element<uint32_t>(t) = mesh.GetMaterialHandles().back().m_Id;
    }
}

class MeshLoadTest : public ::testing::Test
{
protected:
    void SetUp() override { std::filesystem::create_directories(m_Folder); }

    void Register(const std::string& name, const CAmWriter& writer)
    {
        ASSERT_TRUE(writer.SaveTo((m_Folder / name).string()));
        CResourceManager::Instance().ScanDirectory(m_Folder.string());
    }

    const std::filesystem::path m_Folder =
        std::filesystem::path(MakeScratchFolder("brovell_meshload")) / "meshes";
};
}

TEST_F(MeshLoadTest, ExtensionChoosesTheLoader)
{
    CMesh mesh(nullptr);
    EXPECT_EQ(mesh.Load("ship.obj"), kGPUResultNotSupported);
    EXPECT_EQ(mesh.Load("ship"), kGPUResultNotSupported);
    EXPECT_EQ(mesh.Load("ship.x.bak"), kGPUResultNotSupported);
    EXPECT_EQ(mesh.Load("ship.Am"), kGPUResultNotSupported);
    // Both cases of the two kinds take their path: here no ".x" loader, no such ".am" file.
    EXPECT_EQ(mesh.Load("ship.x"), kGPUResultMeshLoad);
    EXPECT_EQ(mesh.Load("ship.X"), kGPUResultMeshLoad);
    EXPECT_EQ(mesh.Load("unregistered_ship.am"), kGPUResultNotFound);
    EXPECT_EQ(mesh.Load("unregistered_ship.AM"), kGPUResultNotFound);
}

TEST_F(MeshLoadTest, AmFileFillsTheMeshAndNamesItAfterItsPath)
{
    CMesh source(nullptr);
    ASSERT_TRUE(BuildBall(source, 1));
    source.GetSurfaces() = {{0, 32, 0, 30}};
    CAmWriter writer;
    writer.WriteMesh(source, {});
    Register("rock_load_test.AM", writer);

    CMesh mesh(nullptr);
    mesh.SetPrimitiveType(CMesh::kPointList);
    // The base class reads the file, then cannot upload it.
    EXPECT_EQ(mesh.Load("rock_load_test.AM"), kGPUResultNotSupported);
    EXPECT_EQ(mesh.GetName(), (m_Folder / "rock_load_test").string());
    EXPECT_EQ(mesh.GetPrimitiveType(), CMesh::kTriangleList);
    EXPECT_EQ(mesh.GetSurfaces(), source.GetSurfaces());
    EXPECT_EQ(mesh.GetStreams().size(), source.GetStreams().size());
    EXPECT_EQ(BoundingBox(mesh), (std::pair<SFloat4, SFloat4>{{-1, -1, -1, 1}, {1, 1, 1, 1}}));
}

TEST(MeshAssetCorrections, BugattiVeyronLosesTenSurfacesWithTheirTriangles)
{
    const int liveBefore = CFakeResource::s_LiveCount;
    CTestResourceManager resources;
    {
        CMesh mesh(&resources);
        FillFloat4(mesh, "position", {{1, 2, 3, 0}});
        FillSurfaces(mesh, resources, 48);
        const std::vector<GPUObjectHandle> handles = mesh.GetMaterialHandles();
        ApplyAssetCorrection(mesh, "BugattiVeyron.x");

        EXPECT_EQ(Float4At(mesh, "position", 0), (SFloat4{1, 2, 3, 1}));
        const std::vector<uint32_t> kept = {2,  3,  4,  5,  6,  9,  10, 11, 12, 13, 14, 15, 16,
                                            18, 20, 21, 22, 23, 24, 25, 26, 27, 29, 30, 31, 32,
                                            33, 34, 35, 36, 37, 38, 40, 41, 42, 43, 44, 47};
        ASSERT_EQ(mesh.GetSurfaces().size(), kept.size());
        ASSERT_EQ(mesh.FindBuffer("indices")->GetCount(), kept.size() * 3);
        EXPECT_EQ(CFakeResource::s_LiveCount, liveBefore + static_cast<int>(kept.size()));
        for (uint32_t s = 0; s < kept.size(); ++s)
        {
            const SMeshSurface& surface = mesh.GetSurfaces()[s];
            EXPECT_EQ(surface.m_FirstPrimitive, s);
            EXPECT_EQ(surface.m_FirstVertex, 3 * kept[s]);
            EXPECT_EQ(mesh.GetMaterialHandles()[s], handles[kept[s]]);
            EXPECT_EQ(*mesh.FindBuffer("indices")->Element<uint32_t>(3 * s + 2), 3 * kept[s] + 2);
            EXPECT_EQ(*mesh.FindBuffer("materials")->Element<uint32_t>(s), handles[kept[s]].m_Id);
        }
    }
    EXPECT_EQ(CFakeResource::s_LiveCount, liveBefore);
}

TEST(MeshAssetCorrections, MissingSurfacesAreSkippedAndSixteenBitIndicesKept)
{
    CTestResourceManager resources;
    CMesh mesh(&resources);
    FillSurfaces(mesh, resources, 3);
    ApplyAssetCorrection(mesh, "BugattiVeyron.x");
    ASSERT_EQ(mesh.GetSurfaces().size(), 1u);
    EXPECT_EQ(mesh.GetSurfaces()[0], (SMeshSurface{0, 1, 6, 3}));
    EXPECT_EQ(*mesh.FindBuffer("indices")->Element<uint32_t>(0), 6u);

    CMesh narrow(&resources);
    FillSurfaces(narrow, resources, 2);
    narrow.GetBuffer("indices", 0)->Reset(6, 2);
    const std::string log = CaptureStderr([&] { EXPECT_TRUE(narrow.RemoveSurface(0)); });
    EXPECT_EQ(log, "unsupported");
    EXPECT_EQ(narrow.FindBuffer("indices")->GetCount(), 6u);
    EXPECT_EQ(narrow.GetSurfaces().size(), 1u);
    EXPECT_FALSE(narrow.RemoveSurface(1));
}

TEST(MeshAssetCorrections, CarAndStatueAreTurnedScaledAndMovedByTheirExactNames)
{
    struct SCase
    {
        const char* m_File;
        SFloat4 m_Before, m_After;
    };
    for (const SCase& c :
         {SCase{"McLarenF1.x", {1, 0, 0, 0}, {8, 0, -13, 0}},
          SCase{"Hebe.x", {0, 1, 0, 0}, {10, 0, -0.1f, 0}}, SCase{"hebe.x", {0, 1, 0, 0}, {0, 1, 0, 0}}})
    {
        CMesh mesh(nullptr);
        FillFloat4(mesh, "position", {c.m_Before});
        ApplyAssetCorrection(mesh, c.m_File);
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(Float4At(mesh, "position", 0)[axis], c.m_After[axis], 1e-5f) << c.m_File;
    }
}
