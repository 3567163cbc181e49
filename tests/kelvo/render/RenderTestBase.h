// Fixture for render-pipeline tests on the GL backend: the backend of GLBackendTestBase plus
// a data folder with the generated font, a plain logo, the engine's effect files and the
// tests' own pictures and effects; helpers to read the window back.
#pragma once

#include "../gpu/gl/GLBackendFixture.h"
#include "kelvo/render/KelvoRenderer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class RenderTestBase : public GLBackendTestBase
{
public:
    // The logo's colour (its JPEG is one flat colour).
    static constexpr uint32_t kLogoColor = 0xFF00FF00;
    // "quadrants.png", 2 x 2: red, green / blue, white.
    static constexpr uint32_t kQuadrantColors[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};

protected:
    void SetUp() override;

    // The window after the last present, 0xAARRGGBB, row 0 at the top.
    void ReadWindow();
    uint32_t Pixel(uint32_t x, uint32_t y) const { return m_Pixels[y * GLTest::kWindowWidth + x]; }
    // The pixel at (u, v) in the unit square of the window.
    uint32_t PixelAt(float u, float v) const;
    // Pixels of the rectangle [x0, x1) x [y0, y1) whose colour differs from background.
    int CountDifferent(uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1, uint32_t background) const;

    std::vector<uint32_t> m_Pixels;
};

// RenderTestBase with a scene renderer on the backend (no space).
class RendererTestBase : public RenderTestBase
{
protected:
    void SetUp() override
    {
        RenderTestBase::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        m_Renderer = std::make_unique<CKelvoRenderer>(m_Backend.get(), nullptr);
    }
    void TearDown() override
    {
        m_Renderer.reset();
        RenderTestBase::TearDown();
    }
    // One frame of process on a black back buffer, read back.
    void DrawFrame(CRenderProcess* process)
    {
        m_Backend->SetDefaultRenderTarget();
        m_Backend->Clear(true, true);
        m_Renderer->SetRenderProcess(process);
        m_Renderer->RenderFrame();
        ReadWindow();
    }

    std::unique_ptr<CKelvoRenderer> m_Renderer;
};

// The texels of a float texture, channel by channel.
std::vector<float> ReadFloats(IGPUTexture* texture);
// True when every channel of a and b is within tolerance.
bool NearColor(uint32_t a, uint32_t b, int tolerance = 6);
// NearColor as an assertion whose failure shows both colours.
testing::AssertionResult IsNearColor(uint32_t actual, uint32_t expected, int tolerance = 6);
// A colour as text for failure messages.
std::string ColorText(uint32_t color);
