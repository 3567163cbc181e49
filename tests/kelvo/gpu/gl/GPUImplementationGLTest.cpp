#include "GLBackendFixture.h"

#include "support/CaptureStderr.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/gl/EffectGL.h"
#include "kelvo/gpu/gl/GLEffect.h"
#include "kelvo/gpu/gl/TextureGL.h"

#include <algorithm>
#include <utility>

namespace
{
class GPUImplementationGLTest : public GLBackendTestBase
{
protected:
    // A new backend on a window whose desktop has the given size.
    void RestartOnDesktop(uint32_t width, uint32_t height)
    {
        GLBackendTestBase::TearDown();
        m_Window = std::make_unique<CTestWindow>(&m_Context);
        m_Window->m_DesktopWidth = width;
        m_Window->m_DesktopHeight = height;
        m_Backend = std::make_unique<CGPUImplementationGL>();
        ASSERT_EQ(m_Backend->Initialize(m_Window.get(), true), kGPUResultOk);
    }
};
}

TEST_F(GPUImplementationGLTest, InitializeRefusesAWindowWithoutAGLSurface)
{
    CRttiObject notAWindow;
    EXPECT_EQ(m_Backend->Initialize(&notAWindow, true), kGPUResultWrongWindow);
    EXPECT_EQ(m_Backend->Clear(true, true), kGPUResultNoDevice);
    EXPECT_EQ(m_Backend->Present(), kGPUResultNoDevice);
    EXPECT_EQ(m_Backend->BeginScene(), kGPUResultBeginScene);
    uint32_t width = 7, height = 7;
    EXPECT_FALSE(m_Backend->GetBackBufferSize(width, height));
    EXPECT_EQ(width, 0u);
    uint32_t mode = 0;
    const std::string log = CaptureStderr([&] {
        EXPECT_EQ(m_Backend->GetFillMode(mode), kGPUResultGetFillMode);
        m_Backend->ResetTexture(0);
    });
    EXPECT_EQ(log, "[CGPUImplementationGL::GetFillMode] Failed with code: 00000502!\n"
                   "[CGPUImplementationGL::ResetTexture] m_Device is null!\n");
}

TEST_F(GPUImplementationGLTest, SizeAspectAndViewportFollowTheClientAreaAndBadSettingsAreRefused)
{
    m_Window->m_ClientWidth = 1280;
    m_Window->m_ClientHeight = 720;
    ASSERT_EQ(m_Backend->OnResize(1, 1), kGPUResultOk);
    uint32_t width = 0, height = 0;
    m_Backend->GetSize(width, height);
    EXPECT_EQ((std::pair{width, height}), (std::pair{1280u, 720u}));
    EXPECT_FLOAT_EQ(m_Backend->GetAspect(), 0.5625f);
    EXPECT_EQ(m_Backend->SetViewport(0, 0, 0, 10, 0.0f, 1.0f), kGPUResultViewport);
    EXPECT_EQ(m_Backend->SetViewport(0, 0, 1920, 1081, 0.0f, 1.0f), kGPUResultViewport);
    EXPECT_EQ(m_Backend->SetViewport(10, 10, 100, 100, 0.0f, 1.0f), kGPUResultOk);

    m_Window->m_ClientWidth = 0;
    EXPECT_EQ(m_Backend->SetDefaultRenderTarget(), kGPUResultViewport);
    EXPECT_FLOAT_EQ(m_Backend->GetAspect(), 1.0f);

    // A refused mode leaves the one set before.
    uint32_t mode = 9;
    EXPECT_EQ(m_Backend->SetFillMode(3), kGPUResultBadFillMode);
    ASSERT_EQ(m_Backend->GetFillMode(mode), kGPUResultOk);
    EXPECT_EQ(mode, 2u);
    EXPECT_EQ(m_Backend->SetTextureFilter(0, 2), kGPUResultBadFilterMode);
}

TEST_F(GPUImplementationGLTest, ScenesAndPresentation)
{
    EXPECT_EQ(m_Backend->EndScene(), kGPUResultEndScene);
    EXPECT_EQ(m_Backend->BeginScene(), kGPUResultOk);
    EXPECT_EQ(m_Backend->BeginScene(), kGPUResultBeginScene);
    EXPECT_EQ(m_Backend->EndScene(), kGPUResultOk);

    // The stored clear colour is transparent black; a device clear paints the back buffer.
    m_Backend->GetDevice()->Clear(true, false, 0xff336699u, 1.0f, 0);
    ASSERT_EQ(m_Backend->Present(), kGPUResultOk);
    EXPECT_EQ(m_Window->m_SwapCount, 1);
    std::vector<uint32_t> window = m_Context.ReadWindow();
    EXPECT_EQ(window.front(), 0xff336699u);
    EXPECT_EQ(window.back(), 0xff336699u);
    ASSERT_EQ(m_Backend->Clear(true, true), kGPUResultOk);
    ASSERT_EQ(m_Backend->Present(), kGPUResultOk);
    EXPECT_EQ(m_Context.ReadWindow().front(), 0u);

    // A minimised window presents nothing.
    m_Window->m_ClientHeight = 0;
    EXPECT_EQ(m_Backend->Present(), kGPUResultOk);
    EXPECT_EQ(m_Window->m_SwapCount, 2);
}

TEST_F(GPUImplementationGLTest, BackBufferFitsTheDepthSurfaceAndPresentFillsTheWindow)
{
    // A desktop larger than the depth surface gets a back buffer of its shape that fits it.
    ASSERT_NO_FATAL_FAILURE(RestartOnDesktop(2560, 1440));
    uint32_t width = 0, height = 0;
    ASSERT_TRUE(m_Backend->GetBackBufferSize(width, height));
    EXPECT_EQ((std::pair{width, height}), (std::pair{1920u, 1080u}));

    // A window larger than a small desktop's back buffer: the whole back buffer is drawn,
    // with the window's aspect, and Present scales it over the whole window.
    ASSERT_NO_FATAL_FAILURE(RestartOnDesktop(GLTest::kWindowWidth / 2, GLTest::kWindowHeight / 2));
    m_Backend->GetSize(width, height);
    EXPECT_EQ((std::pair{width, height}), (std::pair{GLTest::kWindowWidth / 2, GLTest::kWindowHeight / 2}));
    EXPECT_FLOAT_EQ(m_Backend->GetAspect(), 0.75f);
    m_Backend->GetDevice()->Clear(true, false, 0xffcc2200u, 1.0f, 0);
    ASSERT_EQ(m_Backend->Present(), kGPUResultOk);
    const std::vector<uint32_t> window = m_Context.ReadWindow();
    EXPECT_EQ(std::count(window.begin(), window.end(), 0xffcc2200u), std::ssize(window));

    // A window smaller than the back buffer is drawn at its own size, copied unscaled.
    m_Window->m_ClientWidth = 100;
    m_Window->m_ClientHeight = 50;
    ASSERT_EQ(m_Backend->OnResize(100, 50), kGPUResultOk);
    m_Backend->GetSize(width, height);
    EXPECT_EQ((std::pair{width, height}), (std::pair{100u, 50u}));
    EXPECT_FLOAT_EQ(m_Backend->GetAspect(), 0.5f);
}

TEST_F(GPUImplementationGLTest, CreateTextureNameRules)
{
    GPUObjectHandle first, same, other, unnamedA, unnamedB;
    ASSERT_EQ(m_Backend->CreateTexture("target", 64, 32, 1, 1, true, first), kGPUResultOk);
    ASSERT_EQ(m_Backend->CreateTexture("target", 64, 32, 1, 1, true, same), kGPUResultOk);
    EXPECT_EQ(first, same);
    const std::string log = CaptureStderr([&] {
        EXPECT_EQ(m_Backend->CreateTexture("target", 64, 64, 1, 1, true, other), kGPUResultNameInUse);
        EXPECT_EQ(m_Backend->CreateTexture("target", 64, 32, 1, 1, false, other), kGPUResultNameInUse);
    });
    EXPECT_TRUE(log.empty()) << log;
    uint32_t width = 0, height = 0, levels = 0, format = 0;
    auto* texture = GPUResourceCast<CTextureGL>(m_Backend->GetResource(first));
    ASSERT_NE(texture, nullptr);
    texture->GetDesc(width, height, levels, format);
    EXPECT_EQ(height, 32u);

    ASSERT_EQ(m_Backend->CreateTexture("", 8, 8, 1, 2, false, unnamedA), kGPUResultOk);
    ASSERT_EQ(m_Backend->CreateTexture("", 8, 8, 1, 2, false, unnamedB), kGPUResultOk);
    EXPECT_NE(unnamedA, unnamedB);
    EXPECT_EQ(m_Backend->CreateTexture("bad", 8, 8, 1, 5, false, other), kGPUResultBadFormat);
    EXPECT_EQ(m_Backend->FindByName("bad", kGPUObjectTexture), nullptr);

    // A loaded picture's name never matches a creation request.
    GPUObjectHandle loaded;
    ASSERT_EQ(m_Backend->LoadTexture("rows.png", loaded), kGPUResultOk);
    EXPECT_EQ(m_Backend->CreateTexture("rows.png", 4, 2, 3, 0, false, other), kGPUResultNameInUse);

    for (const GPUObjectHandle* handle : {&first, &same, &unnamedA, &unnamedB, &loaded})
        EXPECT_TRUE(m_Backend->ReleaseResource(handle));
    EXPECT_EQ(m_Backend->FindByName("target", kGPUObjectTexture), nullptr);
}

TEST_F(GPUImplementationGLTest, AlphaBlendWeighsTheSourceByInverseAlpha)
{
    // Drawn colour (1, 0, 0, 0.25) over (0, 0, 1, 1): source x 0.75 plus destination x 0.25.
    CGLEffect effect(m_Backend->GetDevice());
    std::string error;
    ASSERT_TRUE(effect.Compile(R"(
vertex_shader vs { void main() { gl_Position = vec4(in_position.xy * 2.0 - 1.0, 0.0, 1.0); } }
pixel_shader ps { layout(location = 0) out vec4 o; void main() { o = vec4(1.0, 0.0, 0.0, 0.25); } }
technique t { pass P0 { VertexShader = vs; PixelShader = ps; } }
)",
                               "blend.e", error))
        << error;
    CTextureGL* target = UseTarget(4, 4, 4, 0xff0000ffu);
    ASSERT_NE(target, nullptr);
    ASSERT_EQ(m_Backend->SetAlphaBlend(true), kGPUResultOk);
    ASSERT_TRUE(effect.BeginPass(0, 0));
    m_Backend->GetDevice()->DrawUnitQuad();
    effect.EndPass();
    ASSERT_EQ(m_Backend->SetAlphaBlend(false), kGPUResultOk);

    const std::vector<float> texel = FirstTexel(*target);
    EXPECT_FLOAT_EQ(texel[0], 0.75f);
    EXPECT_FLOAT_EQ(texel[1], 0.0f);
    EXPECT_FLOAT_EQ(texel[2], 0.25f);
    EXPECT_FALSE(m_Backend->GetDevice()->GetRenderStates().m_BlendEnable);
}
