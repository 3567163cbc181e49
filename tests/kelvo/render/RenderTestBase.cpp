#include "RenderTestBase.h"

#include "kelvo/gpu/GPUTexture.h"
#include "kelvo/gpu/ResourceManager.h"
#include "pictures/FontPicture.h"
#include "../../support/TestFiles.h"

#include <cstdio>
#include <cstring>

namespace
{
// Adds two float textures texel by texel (stages 0 and 1); the second technique also writes
// twice the sum to target 1.
const char* const kPixelAddEffect = R"(
sampler g_A : stage(0);
sampler g_B : stage(1);
vertex_shader vs
{
    void main() { gl_Position = vec4(in_texcoord0.x * 2.0 - 1.0, 1.0 - in_texcoord0.y * 2.0, 0.0, 1.0); }
}
pixel_shader ps
{
    layout(location = 0) out vec4 o;
    void main() { ivec2 t = ivec2(gl_FragCoord.xy); o = texelFetch(g_A, t, 0) + texelFetch(g_B, t, 0); }
}
pixel_shader ps_twice
{
    layout(location = 0) out vec4 o;
    layout(location = 1) out vec4 o2;
    void main() { ivec2 t = ivec2(gl_FragCoord.xy); o = texelFetch(g_A, t, 0) + texelFetch(g_B, t, 0); o2 = 2.0 * o; }
}
technique add { pass P0 { VertexShader = vs; PixelShader = ps; } }
technique add_and_double { pass P0 { VertexShader = vs; PixelShader = ps_twice; } }
)";

void MakeRenderDataFolder()
{
    static std::string folder;
    if (!folder.empty())
        return;
    folder = MakeScratchFolder("kelvo_render_tests");
    const std::filesystem::path root = folder;
    for (const char* effect : {"pressure.e", "collision.e"})
        WriteFile(root / effect, ReadFile(std::string(BROVELL_ASSETS_DIR) + "/" + effect));
    WriteFile(root / "pixel_add.e", kPixelAddEffect);
    MakeFontPicture().WritePng((root / "font_vc60.png").string());

    WritePicture(root / "logotyp1.jpg", 64, 16,
                 [](uint32_t, uint32_t) { return RenderTestBase::kLogoColor; });
    WritePicture(root / "quadrants.png", 2, 2,
                 [](uint32_t x, uint32_t y) { return RenderTestBase::kQuadrantColors[2 * y + x]; });
    // Colour picture all yellow; alpha picture white (covering) on its left half only.
    WritePicture(root / "yellow.png", 8, 8, [](uint32_t, uint32_t) { return 0xFFFFFF00u; });
    WritePicture(root / "left_half.png", 8, 8,
                 [](uint32_t x, uint32_t) { return x < 4 ? 0xFFFFFFFFu : 0xFF000000u; });
    CResourceManager::Instance().ScanDirectory(folder);
}
}

void RenderTestBase::SetUp()
{
    GLBackendTestBase::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    MakeRenderDataFolder();
}

void RenderTestBase::ReadWindow()
{
    m_Pixels = m_Context.ReadWindow();
}

uint32_t RenderTestBase::PixelAt(float u, float v) const
{
    return Pixel(static_cast<uint32_t>(u * GLTest::kWindowWidth),
                 static_cast<uint32_t>(v * GLTest::kWindowHeight));
}

int RenderTestBase::CountDifferent(uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1,
                                   uint32_t background) const
{
    int count = 0;
    for (uint32_t y = y0; y < y1; ++y)
        for (uint32_t x = x0; x < x1; ++x)
            count += !NearColor(Pixel(x, y), background, 24);
    return count;
}

std::vector<float> ReadFloats(IGPUTexture* texture)
{
    std::vector<uint8_t> bytes;
    EXPECT_EQ(texture->ReadBack(bytes), 0u);
    std::vector<float> floats(bytes.size() / 4);
    std::memcpy(floats.data(), bytes.data(), floats.size() * 4);
    return floats;
}

bool NearColor(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8)
    {
        const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (difference > tolerance || difference < -tolerance)
            return false;
    }
    return true;
}

testing::AssertionResult IsNearColor(uint32_t actual, uint32_t expected, int tolerance)
{
    if (NearColor(actual, expected, tolerance))
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << ColorText(actual) << " is not within " << tolerance << " of " << ColorText(expected);
}

std::string ColorText(uint32_t color)
{
    char text[16];
    std::snprintf(text, sizeof(text), "%08x", color);
    return text;
}
