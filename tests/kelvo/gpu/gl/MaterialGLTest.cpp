#include "GLBackendFixture.h"

#include "support/CaptureStderr.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/Material.h"
#include "kelvo/gpu/TechniqueSelection.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/gpu/gl/SamplerStages.h"
#include "kelvo/gpu/gl/TextureGL.h"

#include <epoxy/gl.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace
{
class MaterialGLTest : public GLBackendTestBase
{};

// The GL texture bound on a stage's unit.
GLint BoundTexture(uint32_t stage)
{
    glActiveTexture(GL_TEXTURE0 + *TextureUnitOfStage(stage));
    GLint texture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    return texture;
}
}

TEST_F(MaterialGLTest, TexturesFillPixelStagesFromTheCombinedArrayAndVertexSamplers)
{
    // Stages 2 to 7 hold a texture beforehand; Begin must clear them.
    GPUObjectHandle rows;
    auto* texture = Hold<CTextureGL>(m_Backend->LoadTexture("rows.png", rows), rows);
    ASSERT_NE(texture, nullptr);
    for (uint32_t stage = 0; stage < kPixelStageCount; ++stage)
        ASSERT_EQ(texture->SetTexture(stage), kGPUResultOk);

    CMaterial material;
    material.Setup("default", "d3d_material", {"white.jpg"}, {"rows.png"});
    EXPECT_EQ(material.GetPixelTextureCount(), 1u);
    EXPECT_EQ(material.GetVertexTextureCount(), 1u);
    SetPass("P0");
    ASSERT_EQ(material.Begin(), kGPUResultOk);
    EXPECT_EQ(material.End(), kGPUResultOk);

    // "white.jpg" is 1 pixel wide, "rows.png" 4: the vertex texture also went to stage 1.
    EXPECT_EQ(Variable<uint32_t>("r_texw_0"), 1u);
    EXPECT_EQ(Variable<uint32_t>("r_texw_1"), 4u);
    EXPECT_EQ(Variable<uint32_t>("r_texw_257"), 4u);
    EXPECT_NE(BoundTexture(0), 0);
    EXPECT_EQ(BoundTexture(1), BoundTexture(kFirstVertexStage));
    EXPECT_NE(BoundTexture(1), BoundTexture(0));
    for (uint32_t stage = 2; stage < kPixelStageCount; ++stage)
        EXPECT_EQ(BoundTexture(stage), 0) << stage;
    // Set up again, it gives back what it held (else the leak check fails) and keeps the new.
    material.Setup("default", "d3d_material", {"rows.png"}, {});
    EXPECT_EQ(material.GetTextureName(0), "rows.png");
    EXPECT_EQ(material.GetVertexTextureCount(), 0u);

    // Past eight pixel and four vertex textures the rest are dropped.
    CMaterial full;
    full.Setup("default", "d3d_material", std::vector<std::string>(10, "rows.png"),
               std::vector<std::string>(6, "white.jpg"));
    EXPECT_EQ(full.GetPixelTextureCount(), 8u);
    EXPECT_EQ(full.GetVertexTextureCount(), 4u);
    EXPECT_EQ(full.GetTextureName(7), "rows.png");
    EXPECT_EQ(full.GetTextureName(8), "white.jpg");
    EXPECT_EQ(full.GetTextureName(11), "white.jpg");
    EXPECT_NE(full.GetTexture(11), nullptr);
}

TEST_F(MaterialGLTest, VariablesAreSetOnceAndCopiedWhenTheMaterialBegins)
{
    CMaterial material;
    material.SetFloat("r_mt_resized", 8.0f);
    material.SetFloat("r_mt_power", 2.0f);
    material.SetFloat("r_mt_power", 8.0f);
    const std::array<float, 4> colour = {0.25f, 0.5f, 0.75f, 1.0f};
    material.SetVector("r_mt_colour", colour.data());
    EXPECT_EQ(material.GetVariableCount(), 3u);
    // Another producer made the first one four floats: it is skipped with a log, the rest go on.
    CaptureStderr([] { GetVariable("r_mt_resized", 16); });

    // Without an effect: the technique and the variables are set, then 37.
    SetTechnique("something_else");
    const std::string log = CaptureStderr([&] { EXPECT_EQ(material.Begin(), kGPUResultNoEffect); });
    EXPECT_EQ(log, "[CMaterial::Begin] Bad variable size!\n");
    EXPECT_EQ(material.End(), kGPUResultNoEffect);
    EXPECT_EQ(GetTechnique(), "");
    EXPECT_EQ(GetVariable("r_mt_resized", 16)->GetSize(), 16u);
    EXPECT_EQ(Variable<float>("r_mt_power"), 8.0f);
    std::array<float, 4> written{};
    std::memcpy(written.data(), GetVariable("r_mt_colour", 16)->GetData(), 16);
    EXPECT_EQ(written, colour);
}

TEST_F(MaterialGLTest, GetOrCreateMaterialFindsOrAddsOneByName)
{
    CMaterial* created = m_Backend->GetOrCreateMaterial("scene_particles_test");
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(m_Backend->GetOrCreateMaterial("scene_particles_test"), created);
    GPUObjectHandle handle;
    ASSERT_EQ(m_Backend->FindMaterial("scene_particles_test", handle), kGPUResultOk);
    // Three references: creation, the second call and the look-up.
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(m_Backend->ReleaseResource(&handle));
    EXPECT_FALSE(m_Backend->ReleaseResource(&handle));
}
