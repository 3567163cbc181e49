#include "GLBackendFixture.h"
#include "../CubeXFile.h"
#include "../MeshTestHelpers.h"

#include "support/CaptureStderr.h"
#include "support/TestFiles.h"
#include "AmWriter.h"
#include "kelvo/core/Math.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/Material.h"
#include "kelvo/gpu/ResourceManager.h"
#include "kelvo/gpu/TechniqueSelection.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/gpu/gl/EffectGL.h"
#include "kelvo/gpu/gl/GLEffect.h"
#include "kelvo/gpu/gl/MeshGL.h"
#include "kelvo/gpu/gl/TextureGL.h"

#include <array>
#include <cstdio>
#include <filesystem>

namespace
{
// Points at clip (x, y) straight from "position", drawn white.
constexpr const char* kPointsEffect = R"(
vertex_shader vs { void main() { gl_Position = vec4(in_position.xy, 0.0, 1.0); } }
pixel_shader ps { layout(location = 0) out vec4 o; void main() { o = vec4(1.0); } }
technique t { pass P0 { VertexShader = vs; PixelShader = ps; } }
)";

class MeshGLTest : public GLBackendTestBase
{
protected:
    std::vector<uint32_t> Pixels(CTextureGL* target, uint32_t width, uint32_t height)
    {
        std::vector<uint32_t> texels;
        EXPECT_EQ(target->ReadPixels(0, 0, 0, width, height, texels), 0u);
        return texels;
    }

    // Renders mesh with white points on a width x height target cleared black; what the
    // render logged, and the target's texels.
    std::pair<std::string, std::vector<uint32_t>> RenderWhite(CMeshGL& mesh, uint32_t width, uint32_t height)
    {
        CGLEffect effect(m_Backend->GetDevice());
        std::string error;
        EXPECT_TRUE(effect.Compile(kPointsEffect, "points.e", error)) << error;
        CTextureGL* target = UseTarget(width, height, 1, 0xff000000u);
        EXPECT_TRUE(effect.BeginPass(0, 0));
        const std::string log = CaptureStderr([&] { EXPECT_EQ(mesh.Render(), kGPUResultOk); });
        effect.EndPass();
        if (target == nullptr)
            return {log, {}};
        return {log, Pixels(target, width, height)};
    }

    // A point list of count points across a count x 1 target, one per pixel.
    void FillPointRow(CMesh& mesh, uint32_t positions, uint32_t normals)
    {
        mesh.SetPrimitiveType(CMesh::kPointList);
        CMeshDataBuffer* position = mesh.GetBuffer("position", 16);
        position->Resize(positions);
        for (uint32_t i = 0; i < positions; ++i)
            *position->Element<SFloat4>(i) = {(2.0f * i + 1.0f) / 10.0f - 1.0f, 0, 0, 0};
        mesh.GetBuffer("normal", 16)->Resize(normals);
        mesh.GetBuffer("normal", 16)->Zero();
        // Points need no indices, but the stream must be there (empty gives no buffer).
        mesh.GetBuffer("indices", 4);
    }

    // A new mesh, released (its creation's reference and the look-up's) when the test ends.
    CMeshGL* NewMesh(const std::string& name)
    {
        auto* mesh = static_cast<CMeshGL*>(m_Backend->CreateMesh(name));
        m_Held.push_back(*m_Backend->FindByName(name, kGPUObjectMesh));
        m_Held.push_back(m_Held.back());
        return mesh;
    }

    std::string WriteDataFile(const std::string& name, const std::string& bytes)
    {
        const std::string path = TestDataFolder() + "/" + name;
        WriteFile(path, bytes);
        CResourceManager::Instance().AddEntry(TestDataFolder() + "/", std::filesystem::directory_entry(path));
        return path;
    }
};

uint32_t Lit(const std::vector<uint32_t>& texels, uint32_t clear)
{
    uint32_t lit = 0;
    for (uint32_t texel : texels)
        lit += texel != clear ? 1 : 0;
    return lit;
}
}

TEST_F(MeshGLTest, TooManyMissingOrUnuploadedStreamsFailTheUpdateOrTheRender)
{
    CMeshGL* mesh = NewMesh("wide");
    FillPointRow(*mesh, 2, 2);
    EXPECT_EQ(mesh->CreateVertexDeclaration(), kGPUResultOk);
    EXPECT_EQ(mesh->UploadBuffers(), kGPUResultOk);
    // Nine declared streams: one more than the device's eight.
    for (int i = 0; i < 7; ++i)
        mesh->GetBuffer("tex" + std::to_string(i), 8)->Resize(2);
    std::string log = CaptureStderr([&] {
        EXPECT_EQ(mesh->CreateVertexDeclaration(), kGPUResultVertexDeclaration);
        EXPECT_FALSE(mesh->Update());
    });
    EXPECT_NE(log.find("[CMeshGL::CreateVertexDeclaration] Failed to create vertex "
                       "declaration!\n"),
              std::string::npos);
    EXPECT_TRUE(mesh->GetDeclaration().empty());

    CMeshGL* plain = NewMesh("no_index_stream");
    plain->GetBuffer("position", 16)->Resize(1);
    EXPECT_EQ(plain->CreateVertexDeclaration(), kGPUResultOk);
    EXPECT_EQ(plain->UploadBuffers(), kGPUResultStreamMissing);
    EXPECT_FALSE(plain->Update());

    // Declared by name but never uploaded.
    CMeshGL* declared = NewMesh("surfaces");
    declared->AddStream("position", 16);
    EXPECT_EQ(declared->Render(), kGPUResultRenderStream);
}

TEST_F(MeshGLTest, UnequalStreamsAreLoggedAndTheSmallerCountIsDrawn)
{
    CMeshGL* mesh = NewMesh("points");
    FillPointRow(*mesh, 8, 10);
    ASSERT_TRUE(mesh->Update());
    const auto [log, texels] = RenderWhite(*mesh, 10, 1);
    EXPECT_EQ(log, "[CMeshGL::Render] Different vertex count in buffers!\n");
    ASSERT_EQ(texels.size(), 10u);
    for (uint32_t x = 0; x < 10; ++x)
        EXPECT_EQ(texels[x], x < 8 ? 0xffffffffu : 0xff000000u) << x;
}

TEST_F(MeshGLTest, TriangleListWithoutIndicesDrawsNothing)
{
    CMeshGL* mesh = NewMesh("no_indices");
    FillFloat4(*mesh, "position", {{-1, -1, 0, 0}, {-1, 3, 0, 0}, {3, -1, 0, 0}});
    mesh->GetBuffer("indices", 4);
    ASSERT_TRUE(mesh->Update());
    const auto [log, texels] = RenderWhite(*mesh, 4, 4);
    EXPECT_EQ(log, "[CMeshGL::Render] Missing index buffer!\n");
    ASSERT_EQ(texels.size(), 16u);
    EXPECT_EQ(Lit(texels, 0xff000000u), 0u);
}

TEST_F(MeshGLTest, XFileSubsetsBecomeSurfacesWithNamedMaterialsThatClonesLeaveOut)
{
    WriteDataFile("three_materials.x", kCubeXFile);
    GPUObjectHandle handle, copyHandle;
    ASSERT_EQ(m_Backend->LoadMesh("three_materials.x", handle), kGPUResultOk);
    const auto* mesh = GPUResourceCast<CMeshGL>(m_Backend->GetResource(handle));
    ASSERT_EQ(mesh->GetSurfaces().size(), 3u);
    ASSERT_EQ(mesh->GetMaterialHandles().size(), 3u);
    EXPECT_EQ(mesh->GetName(), TestDataFolder() + "/three_materials");
    const CMeshDataBuffer* materials = mesh->FindBuffer("materials");
    ASSERT_NE(materials, nullptr);
    ASSERT_EQ(materials->GetCount(), 12u);
    // Untextured materials take "white.jpg".
    const char* const textures[3] = {"bricks.jpg", "white.jpg", "sky.png"};
    for (uint32_t i = 0; i < 3; ++i)
    {
        const GPUObjectHandle material = mesh->GetMaterialHandles()[i];
        for (uint32_t t = 4 * i; t < 4 * i + 4; ++t)
            EXPECT_EQ(*materials->Element<uint32_t>(t), material.m_Id);
        const auto* described = GPUResourceCast<CMaterial>(m_Backend->GetResource(material));
        ASSERT_NE(described, nullptr);
        EXPECT_EQ(described->GetTextureName(0), textures[i]);
    }
    // A clone copies the streams, not the surfaces or the materials.
    const auto* copy = Hold<CMeshGL>(m_Backend->CloneResource(handle, copyHandle), copyHandle);
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->GetStreams().size(), mesh->GetStreams().size());
    for (std::size_t i = 0; i < copy->GetStreams().size(); ++i)
    {
        EXPECT_EQ(copy->GetStreams()[i]->GetName(), mesh->GetStreams()[i]->GetName());
        EXPECT_EQ(copy->GetStreams()[i]->GetByteCount(), mesh->GetStreams()[i]->GetByteCount());
    }
    EXPECT_TRUE(copy->GetSurfaces().empty());
    EXPECT_TRUE(copy->GetMaterialHandles().empty());
    EXPECT_EQ(copy->GetDeclaration().size(), mesh->GetDeclaration().size());
    m_Backend->ReleaseResource(&handle);
    // The mesh gave its material references back with it.
    GPUObjectHandle gone;
    EXPECT_EQ(m_Backend->FindMaterial(std::string("mesh_"), gone), kGPUResultNotFound);
}

TEST_F(MeshGLTest, AmFileMaterialsAreMadeAndRead)
{
    CAmWriter writer;
    writer.WriteSurfaces({{0, 1, 0, 3}});
    CMesh source(nullptr);
    source.GetBuffer("position", 16)->Resize(3);
    source.GetBuffer("position", 0)->Zero();
    source.GetBuffer("indices", 4)->Resize(3);
    source.GetBuffer("indices", 0)->Zero();
    writer.WriteStreams(source.GetStreams());
    SMaterialRecord record;
    record.m_Effect = "default";
    record.m_Technique = "d3d_material";
    record.m_PixelTextures = {"white.jpg"};
    record.m_Variables.push_back({"r_diffuse", std::vector<uint8_t>(16, 0)});
    writer.WriteMaterials({record});
    WriteDataFile("one_material.am", std::string(writer.GetBytes().begin(), writer.GetBytes().end()));

    GPUObjectHandle handle;
    const auto* mesh = Hold<CMeshGL>(m_Backend->LoadMesh("one_material.am", handle), handle);
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->GetMaterialHandles().size(), 1u);
    const auto* material = GPUResourceCast<CMaterial>(m_Backend->GetResource(mesh->GetMaterialHandles()[0]));
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->GetTechnique(), "d3d_material");
    EXPECT_NE(material->GetEffect(), nullptr);
    EXPECT_EQ(material->GetVariableCount(), 1u);
    EXPECT_EQ(mesh->GetDeclaration().size(), 1u);
}

TEST_F(MeshGLTest, BuiltInShapesDrawWithAColourMaterial)
{
    GPUObjectHandle red;
    auto* material = Hold<CMaterial>(m_Backend->FindMaterial("red", red), red);
    ASSERT_NE(material, nullptr);
    // Half size, so that every shape fits the clip square.
    GetVariable("r_projection_view_world", 64)->SetMatrix(MatrixScaling(0.5f, 0.5f, 0.5f));
    GetVariable("r_world_normal", 64)->SetMatrix(MatrixIdentity());
    constexpr uint32_t kSize = 64;
    constexpr uint32_t kClear = 0xff102030u;
    struct SShape
    {
        const char* m_Name;
        float m_X, m_Y;
    };
    // A point inside each shape's outline, in clip units; the torus at its ring.
    for (const SShape& shape :
         {SShape{"ball", 0, 0}, SShape{"cube", 0, 0}, SShape{"torus", 0.5f, 0}, SShape{"teapot", 0, 0}})
    {
        const GPUObjectHandle* found = m_Backend->FindByName(shape.m_Name, kGPUObjectMesh);
        ASSERT_NE(found, nullptr);
        auto* mesh = Hold<CMeshGL>(kGPUResultOk, *found);
        CTextureGL* target = UseTarget(kSize, kSize, 1, kClear);
        SetPass("P0");
        ASSERT_EQ(material->Begin(), kGPUResultOk) << shape.m_Name;
        EXPECT_EQ(mesh->Render(), kGPUResultOk) << shape.m_Name;
        EXPECT_EQ(material->End(), kGPUResultOk);
        const std::vector<uint32_t> texels = Pixels(target, kSize, kSize);
        const auto x = static_cast<uint32_t>((shape.m_X + 1.0f) * 0.5f * kSize);
        const auto y = static_cast<uint32_t>((1.0f - shape.m_Y) * 0.5f * kSize);
        EXPECT_NE(texels[y * kSize + x], kClear) << shape.m_Name;
        // Red dominates: the material's diffuse colour is (1, 0.5, 0.5).
        const uint32_t texel = texels[y * kSize + x];
        EXPECT_GT((texel >> 16) & 0xff, (texel >> 8) & 0xff) << shape.m_Name;
        EXPECT_GT(Lit(texels, kClear), kSize) << shape.m_Name;
    }
}
