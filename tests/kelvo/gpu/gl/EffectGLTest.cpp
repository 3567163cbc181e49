#include "GLBackendFixture.h"

#include "support/CaptureStderr.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/TechniqueSelection.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/gpu/gl/EffectGL.h"
#include "kelvo/gpu/gl/TextureGL.h"

#include <cstring>

namespace
{
class EffectGLTest : public GLBackendTestBase
{
protected:
    uint32_t Load(const std::string& name, CEffectGL*& outEffect)
    {
        GPUObjectHandle handle;
        const uint32_t result = m_Backend->LoadEffect(name, handle);
        outEffect = Hold<CEffectGL>(result, handle);
        return result;
    }

    // Draws the unit quad with the current technique and pass; the Begin result.
    uint32_t Draw(CEffectGL& effect)
    {
        const uint32_t begun = effect.Begin();
        if (begun != kGPUResultOk)
            return begun;
        m_Backend->GetDevice()->DrawUnitQuad();
        return effect.End();
    }

    static std::vector<float> FirstTexel(CTextureGL& target)
    {
        std::vector<uint8_t> bytes;
        target.ReadBack(bytes);
        std::vector<float> texel(4);
        std::memcpy(texel.data(), bytes.data(), 16);
        return texel;
    }
};

void SetVector(const char* name, float x, float y, float z, float w)
{
    const float value[4] = {x, y, z, w};
    GetVariable(name, 16)->SetVector(value);
}
}

TEST_F(EffectGLTest, ParamsBindTheNamedVariablesOfEachTechnique)
{
    CEffectGL* effect = nullptr;
    ASSERT_EQ(Load("two_techniques.e", effect), kGPUResultOk);
    ASSERT_NE(effect, nullptr);
    // Bound at load time with the parameters' sizes.
    EXPECT_EQ(GetVariable("r_tt_a", 16)->GetSize(), 16u);
    SetVector("r_tt_a", 0.25f, 0.0f, 0.0f, 0.0f);
    SetVector("r_tt_b", 0.0f, 0.5f, 0.0f, 0.0f);
    SetVector("r_tt_c", 0.0f, 0.0f, 0.75f, 1.0f);
    CTextureGL* target = UseTarget(4, 4, 4, 0);
    ASSERT_NE(target, nullptr);

    // "sum" copies a and b (its odd spacing notwithstanding) but not c.
    SetTechnique("sum");
    SetPass("P0");
    ASSERT_EQ(Draw(*effect), kGPUResultOk);
    EXPECT_EQ(FirstTexel(*target), (std::vector<float>{0.25f, 0.5f, 0.0f, 0.0f}));

    // "only_c" copies c alone: b keeps the value the last Begin copied.
    SetVector("r_tt_b", 0.0f, 0.125f, 0.0f, 0.0f);
    SetTechnique("only_c");
    ASSERT_EQ(Draw(*effect), kGPUResultOk);
    EXPECT_EQ(FirstTexel(*target), (std::vector<float>{0.0f, 0.5f, 0.75f, 1.0f}));

    // A technique without "params" copies nothing; its second pass runs by name.
    SetTechnique("nothing");
    ASSERT_EQ(Draw(*effect), kGPUResultOk);
    SetTechnique("only_c");
    SetPass("P1");
    ASSERT_EQ(Draw(*effect), kGPUResultOk);
    EXPECT_EQ(FirstTexel(*target), (std::vector<float>{0.25f, 0.5f, 0.0f, 0.0f}));
}

TEST_F(EffectGLTest, BeginFailsOnSizeConflictsAndMissingPasses)
{
    CEffectGL* effect = nullptr;
    ASSERT_EQ(Load("size_conflict.e", effect), kGPUResultOk);
    SetTechnique("t");
    SetPass("P0");
    const float vector[4] = {1, 2, 3, 4};
    std::string log = CaptureStderr([&] {
        GetVariable("r_sc_float", 16)->SetVector(vector);
        EXPECT_EQ(effect->Begin(), kGPUResultEffectParams);
    });
    EXPECT_NE(log.find("[CEffectGL::SetEffectParams] Bad variable(r_sc_float) size, required: 4 "
                       "current size: 16!\n"),
              std::string::npos)
        << log;
    GetVariable("r_sc_float", 4)->SetFloat(0.5f);
    EXPECT_EQ(effect->Begin(), kGPUResultOk);
    EXPECT_EQ(effect->End(), kGPUResultOk);

    SetPass("P9");
    EXPECT_EQ(effect->Begin(), kGPUResultEffectNoPass);
    SetTechnique("no_such_technique");
    SetPass("P0");
    EXPECT_EQ(effect->Begin(), kGPUResultEffectNoPass);
    log = CaptureStderr([&] { EXPECT_EQ(effect->End(), kGPUResultEffectEnd); });
    EXPECT_EQ(log, "[CEffectGL::End] Error in CGLEffect::EndPass!\n");
}

TEST_F(EffectGLTest, BrokenFilesFailToLoadWithTheirCodeAndMessage)
{
    CEffectGL* effect = nullptr;
    std::string log =
        CaptureStderr([&] { EXPECT_EQ(Load("broken_shader.e", effect), kGPUResultEffectCompile); });
    EXPECT_EQ(log.rfind("[CEffectGL::Load] Name: broken_shader.e\n[CEffectGL::Load] Error:\n", 0), 0u) << log;
    EXPECT_NE(log.find("broken_shader.e(10): "), std::string::npos) << log;

    log = CaptureStderr([&] { EXPECT_EQ(Load("truncated.e", effect), kGPUResultEffectCompile); });
    EXPECT_NE(log.find("truncated.e(9): error: expected a name at the end of the file"), std::string::npos)
        << log;

    log = CaptureStderr([&] { EXPECT_EQ(Load("undeclared_params.e", effect), kGPUResultEffectTechnique); });
    EXPECT_EQ(log, "[CEffectGL::ParseRequirements] Undeclared param passed as requirement: r_ud_missing!\n");
    log = CaptureStderr([&] { EXPECT_EQ(Load("long_params.e", effect), kGPUResultEffectTechnique); });
    EXPECT_EQ(log, "[CEffectGL::ParseTechnique] params of t is 512 characters long!\n");
    EXPECT_EQ(Load("number_params.e", effect), kGPUResultEffectTechnique);
    EXPECT_EQ(Load("not_in_the_registry.e", effect), kGPUResultNotFound);
    // Failed loads are not registered, so the next request tries the file again.
    EXPECT_EQ(m_Backend->FindByName("broken_shader.e", kGPUObjectEffect), nullptr);

    ASSERT_EQ(Load("empty.e", effect), kGPUResultOk);
    SetTechnique("t");
    SetPass("P0");
    EXPECT_EQ(effect->Begin(), kGPUResultEffectNoPass);
}

// The picture rows.png (4 x 2: red, green, blue, white over black) drawn with point filtering
// on the rectangle (0.25, 0.5, 0.5, 0.25) of a 64 x 64 target covers x 16..47, y 32..47:
//
//   +----------------+  row 0: background (clear_tex)
//   |   +--------+   |  rows 32..39: red, green, blue, white (8 columns each)
//   |   +--------+   |  rows 40..47: black
//   +----------------+
TEST_F(EffectGLTest, TexturedQuadLandsOnTheRectangleOfRDbgTexPos)
{
    GPUObjectHandle handle, targetHandle;
    auto* picture = Hold<CTextureGL>(m_Backend->LoadTexture("rows.png", handle), handle);
    ASSERT_NE(picture, nullptr);
    auto* target = Hold<CTextureGL>(m_Backend->CreateTexture("quad_target", 64, 64, 1, 1, true, targetHandle),
                                    targetHandle);
    ASSERT_NE(target, nullptr);
    const float background[4] = {0.2f, 0.4f, 0.6f, 1.0f};
    GetVariable("r_clear_color", 16)->SetVector(background);
    ASSERT_EQ(target->Clear(), kGPUResultOk);

    // The backend made the default effect at start, known by its bare name only.
    EXPECT_EQ(m_Backend->FindByName("default.e", kGPUObjectEffect), nullptr);
    const GPUObjectHandle* found = m_Backend->FindByName("default", kGPUObjectEffect);
    ASSERT_NE(found, nullptr);
    auto* effect = Hold<CEffectGL>(kGPUResultOk, *found);
    ASSERT_EQ(target->SetRenderTarget(0), kGPUResultOk);
    ASSERT_EQ(m_Backend->SetViewport(0, 0, 64, 64, 0.0f, 1.0f), kGPUResultOk);
    ASSERT_EQ(picture->SetTexture(0), kGPUResultOk);
    ASSERT_EQ(m_Backend->SetTextureFilter(0, 1), kGPUResultOk);
    SetVector("r_dbg_tex_pos", 0.25f, 0.5f, 0.5f, 0.25f);
    SetTechnique("clipart_tex");
    SetPass("P0");
    ASSERT_EQ(Draw(*effect), kGPUResultOk);
    m_Backend->SetDefaultRenderTarget();

    std::vector<uint32_t> texels;
    ASSERT_EQ(target->ReadPixels(0, 0, 0, 64, 64, texels), kGPUResultOk);
    // The four corners of the rectangle, the background just outside each of them, and
    // texture row 0 on top: the second texel of the top row, then the bottom row.
    constexpr uint32_t kBack = 0xff336699u;
    const uint32_t expected[][3] = {{16, 32, 0xffff0000u}, {47, 32, 0xffffffffu}, {16, 47, 0xff000000u},
                                    {47, 47, 0xff000000u}, {15, 32, kBack},       {16, 31, kBack},
                                    {48, 32, kBack},       {47, 31, kBack},       {15, 47, kBack},
                                    {16, 48, kBack},       {48, 47, kBack},       {47, 48, kBack},
                                    {24, 39, 0xff00ff00u}, {24, 40, 0xff000000u}};
    for (const auto& [x, y, colour] : expected)
        EXPECT_EQ(texels[y * 64 + x], colour) << x << "," << y;
}
