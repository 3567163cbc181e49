#include "GLBackendFixture.h"

#include "support/CaptureStderr.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/TechniqueSelection.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/gpu/gl/EffectGL.h"
#include "kelvo/gpu/gl/TextureGL.h"

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
