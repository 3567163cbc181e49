#include "kelvo/world/RenderableLogic.h"

#include <set>
#include <vector>

#include "FakeGPUImplementation.h"
#include "WorldTestHelpers.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/world/ParticlesGroupObject.h"
#include "kelvo/world/PrimitiveObject.h"
#include "kelvo/world/Surface.h"
#include "platform/window/WindowMessage.h"

namespace
{
CRenderableLogic* RenderableOf(const CGameObject& object)
{
    return static_cast<CRenderableLogic*>(object.FindLogic(CRenderableLogic::StaticTypeId()));
}

// A mesh of three subsets (two triangles each, at primitives 0, 10 and 20) with a material
// of its own for each.
CRecordingMesh* MakeThreeSubsetMesh(CFakeGPUImplementation& gpu)
{
    CRecordingMesh* mesh = MakeSquare(gpu, "subsets");
    for (uint32_t i = 0; i < 3; ++i)
    {
        const std::string name = "subset_material_" + std::to_string(i);
        gpu.MakeMaterial(name);
        GPUObjectHandle handle;
        gpu.FindMaterial(name, handle); // the mesh's reference
        mesh->GetMaterialHandles().push_back(handle);
        mesh->GetSurfaces().push_back({i * 10, 2, 0, 4});
    }
    return mesh;
}

// The fake GPU outlives what each test makes with it: objects and surfaces are the body's.
class Renderable : public ::testing::Test
{
protected:
    void SetUp() override { SScriptedInput::Reset(); }
    CFakeGPUImplementation m_Gpu;
};
}

TEST_F(Renderable, SurfacesFallBackToAmbientGreen)
{
    const GPUObjectHandle fallback = m_Gpu.MakeMaterial("ambient_green");
    const GPUObjectHandle red = m_Gpu.MakeMaterial("red");
    MakeSquare(m_Gpu, "plain");
    CRecordingMesh* subsets = MakeThreeSubsetMesh(m_Gpu);
    CSurface missing("no_such_mesh.am", "");
    EXPECT_EQ(missing.GetMesh(), nullptr);
    EXPECT_EQ(missing.GetMaterials(), std::vector<GPUObjectHandle>{fallback});
    SBox box;
    EXPECT_FALSE(missing.GetBox(box.min, box.max));
    CSurface withoutMaterials("plain", "");
    EXPECT_EQ(withoutMaterials.GetMaterials(), std::vector<GPUObjectHandle>{fallback});
    CSurface named("plain", "red");
    EXPECT_EQ(named.GetMaterials(), std::vector<GPUObjectHandle>{red});
    // A mesh with materials of its own lends them.
    CSurface own("subsets", "");
    EXPECT_EQ(own.GetMaterials(), subsets->GetMaterialHandles());

    // An object whose only surface has no mesh keeps the box it had.
    CTestObject object;
    C3DObjectLogic* transform = object.AddLogic<C3DObjectLogic>();
    transform->SetLocalBox({-3, -3, -3, 1}, {3, 3, 3, 1});
    object.AddLogic<CRenderableLogic>()->ShowSurface("no_such_mesh.am", "red");
    EXPECT_EQ(transform->GetTransformState().localBox.max.x, 3.0f);
    // A second surface with a mesh sets it.
    object.AddLogic<CRenderableLogic>()->ShowSurface("plain", "red");
    EXPECT_EQ(transform->GetTransformState().localBox.max.x, 1.0f);
    EXPECT_EQ(transform->GetTransformState().localBox.max.z, 0.0f);
}

TEST_F(Renderable, RenderWritesTheObjectsMatricesAndDrawsVisibleSurfaces)
{
    m_Gpu.MakeMaterial("red");
    CRecordingMesh* square = MakeSquare(m_Gpu, "square");
    CTestObject object;
    const SMatrix local = MatrixRotationY(0.5f) * MatrixTranslation(1, 2, 3);
    Place(object, local);
    CRenderableLogic* renderable = object.AddLogic<CRenderableLogic>();
    CSurface* first = renderable->ShowSurface("square", "red");
    renderable->ShowSurface("square", "red");

    const SMatrix projectionView = MatrixTranslation(0, 0, -10) * MatrixScaling(2, 2, 1);
    GetVariable("r_projection_view", 64)->SetMatrix(projectionView);
    first->SetVisible(false);
    renderable->Render();

    // Normals turn with the object but do not move.
    SMatrix written;
    ASSERT_TRUE(GetVariable("r_world_normal", 64)->GetMatrix(written));
    ExpectMatrixNear(written, MatrixRotationY(0.5f));
    ASSERT_TRUE(GetVariable("r_projection_view_world", 64)->GetMatrix(written));
    ExpectMatrixNear(written, local * projectionView);
    // The invisible first surface is skipped; the second draws the whole mesh once.
    EXPECT_EQ(square->m_DrawnRanges, std::vector<uint32_t>{0});
}

TEST_F(Renderable, HoldingSpaceDrawsOneSubsetAtATimeAndReachesEach)
{
    CRecordingMesh* mesh = MakeThreeSubsetMesh(m_Gpu);
    CSurface surface("subsets", "");
    surface.SetInputQueries(SScriptedInput::Queries());
    // Without the space bar every subset draws with its own material.
    surface.Draw();
    EXPECT_EQ(mesh->m_DrawnRanges, (std::vector<uint32_t>{0, 10, 20}));

    mesh->m_DrawnRanges.clear();
    SScriptedInput::s_Held[platform::VK_SPACE] = true;
    for (int draw = 0; draw < 260; ++draw)
        surface.Draw();
    // Held past every subset's turn: one subset per draw, never one the mesh lacks.
    const std::vector<uint32_t>& drawn = mesh->m_DrawnRanges;
    ASSERT_EQ(drawn.size(), 260u);
    EXPECT_EQ(std::set<uint32_t>(drawn.begin(), drawn.end()), (std::set<uint32_t>{0, 10, 20}));
}

TEST_F(Renderable, TraceSurfacesReportsTheNearestTraceableSurface)
{
    MakeSquare(m_Gpu, "far", -1.0f);
    MakeSquare(m_Gpu, "near", 1.0f);
    MakeSquare(m_Gpu, "middle", 0.0f);
    // The nearest surface is listed between a farther one before and after it.
    CTestObject object;
    CRenderableLogic* renderable = object.AddLogic<CRenderableLogic>();
    for (const char* mesh : {"far", "near", "middle"})
        renderable->ShowSurface(mesh, "");
    const SRay down{{0.5f, 0.5f, 5, 1}, {0, 0, -10, 0}, 10.0f};
    kelvo::trace_hit_t hit;
    hit.distance = 1000000.0f;
    ASSERT_TRUE(renderable->TraceSurfaces(down, hit));
    EXPECT_EQ(hit.surface, 1u);
    EXPECT_FLOAT_EQ(hit.distance, 4.0f);
    EXPECT_EQ(hit.triangle, 1u);

    // An untraceable surface is skipped.
    renderable->GetSurface(1)->SetTraceable(false);
    hit.distance = 1000000.0f;
    ASSERT_TRUE(renderable->TraceSurfaces(down, hit));
    EXPECT_EQ(hit.surface, 2u);
    EXPECT_FLOAT_EQ(hit.distance, 5.0f);
    // A hit farther than the given distance is not taken.
    hit.distance = 4.5f;
    EXPECT_FALSE(renderable->TraceSurfaces(down, hit));
}

TEST_F(Renderable, ParticleGroupsOwnAPointMeshRewrittenEveryFrame)
{
    const GPUObjectHandle red = m_Gpu.MakeMaterial("red");
    COwning<CParticlesGroupObject> first("red");
    COwning<CParticlesGroupObject> second("red");
    auto* mesh = static_cast<CRecordingMesh*>(first.GetMesh());
    ASSERT_NE(mesh, nullptr);
    ASSERT_NE(second.GetMesh(), nullptr);
    EXPECT_NE(second.GetMesh(), mesh);
    EXPECT_EQ(mesh->GetPrimitiveType(), CMesh::kPointList);
    EXPECT_EQ(RenderableOf(first)->GetSurface(0)->GetMesh(), mesh);
    EXPECT_EQ(RenderableOf(first)->GetSurface(0)->GetMaterials(), std::vector<GPUObjectHandle>{red});

    // Positions 32 bytes apart, each followed by another vector that is skipped.
    const float source[3][8] = {{1, 2, 3, 1, 9, 9, 9, 9}, {4, 5, 6, 1, 9, 9, 9, 9}, {7, 8, 9, 1, 9, 9, 9, 9}};
    const int uploads = mesh->m_Uploads;
    first.SetPositions(source, 3, 32);
    const CMeshDataBuffer* positions = mesh->FindBuffer("position");
    ASSERT_EQ(positions->GetCount(), 3u);
    EXPECT_EQ(positions->Element<SVector4>(2)->y, 8.0f);
    EXPECT_EQ(positions->Element<SVector4>(1)->w, 1.0f);
    EXPECT_EQ(mesh->m_Uploads, uploads + 1);
    first.SetPositions(source, 1, 32);
    EXPECT_EQ(positions->GetCount(), 1u);
}

TEST_F(Renderable, MeshTraceFollowsTheMeshAfterItsUpdate)
{
    CRecordingMesh* square = MakeSquare(m_Gpu, "square");
    const SRay down{{0.5f, 0.5f, 5, 1}, {0, 0, -10, 0}, 10.0f};
    STraceMeshHit hit;
    hit.distance = 5.0f; // as near as the hit: taken
    ASSERT_TRUE(square->Trace(down, hit));
    EXPECT_FLOAT_EQ(hit.distance, 5.0f);
    hit.distance = 4.0f;
    EXPECT_FALSE(square->Trace(down, hit));

    // Moved by a transform: the next trace sees the new place.
    square->Transform(MatrixTranslation(0, 0, 2));
    square->Update();
    hit.distance = 1000000.0f;
    ASSERT_TRUE(square->Trace(down, hit));
    EXPECT_FLOAT_EQ(hit.distance, 3.0f);
    EXPECT_EQ(square->GetTraceGeometry().GetBuildCount(), 2u);

    // A point list is never hit.
    square->SetPrimitiveType(CMesh::kPointList);
    square->Update();
    hit.distance = 1000000.0f;
    EXPECT_FALSE(square->Trace(down, hit));
}
