#include "GLDeviceFixture.h"

#include "kelvo/gpu/gl/GLEffect.h"
#include "kelvo/gpu/gl/GLTexture2D.h"

#include <cstring>

namespace
{
class GLEffectTest : public GLDeviceTestBase
{
protected:
    // A render target of format 1 read back as packed texels, row 0 first.
    static std::vector<uint32_t> ReadTexels(const CGLTexture2D& target)
    {
        std::vector<uint8_t> bytes;
        target.ReadLevel0(bytes);
        std::vector<uint32_t> texels(bytes.size() / 4);
        std::memcpy(texels.data(), bytes.data(), bytes.size());
        return texels;
    }

    bool Run(CGLEffect& effect, const std::string& technique)
    {
        const int index = effect.FindTechnique(technique);
        if (index < 0 || !effect.BeginPass(static_cast<uint32_t>(index), 0))
            return false;
        const bool drawn = m_Device.DrawUnitQuad();
        return effect.EndPass() && drawn;
    }
};
}

TEST_F(GLEffectTest, ClearTechniqueWritesTheClearColourToEveryPixel)
{
    CGLEffect effect(&m_Device);
    std::string error;
    ASSERT_TRUE(effect.Compile(ReadAsset("default.e"), "default.e", error)) << error;
    CGLTexture2D target;
    GLenum glError = GL_NO_ERROR;
    ASSERT_TRUE(target.Create(16, 8, 4, true, glError));
    ASSERT_TRUE(m_Device.SetRenderTarget(0, &target));
    const float color[4] = {0.25f, 0.5f, 0.75f, 1.0f};
    ASSERT_TRUE(effect.SetValue("r_clear_color", color, sizeof(color)));
    ASSERT_TRUE(Run(effect, "clear_tex"));

    std::vector<uint8_t> bytes;
    target.ReadLevel0(bytes);
    ASSERT_EQ(bytes.size(), 16u * 8 * 16);
    for (std::size_t texel = 0; texel < 16 * 8; ++texel)
        ASSERT_EQ(std::memcmp(bytes.data() + texel * 16, color, 16), 0) << "texel " << texel;
}

// The 4x4 texture below, drawn with point filtering on the rectangle (0.25, 0.5, 0.5, 0.25)
// of a 64x64 target, covers x 16..47 and y 32..47; each texel becomes an 8x4 block:
//
//   +----------------+   row 0
//   |                |
//   |   +--------+   |   row 32: texture row 0 (red on the left, green on the right)
//   |   +--------+   |   row 47: texture row 3 (blue on the left, white on the right)
//   +----------------+
TEST_F(GLEffectTest, TexturedQuadLandsOnTheRectangleWithRowZeroOnTop)
{
    CGLEffect effect(&m_Device);
    std::string error;
    ASSERT_TRUE(effect.Compile(ReadAsset("default.e"), "default.e", error)) << error;

    uint32_t picture[16];
    for (uint32_t i = 0; i < 16; ++i)
        picture[i] = 0xff808080u;
    picture[0] = 0xffff0000u;
    picture[3] = 0xff00ff00u;
    picture[12] = 0xff0000ffu;
    picture[15] = 0xffffffffu;
    CGLTexture2D source;
    GLenum glError = GL_NO_ERROR;
    ASSERT_TRUE(source.Create(4, 4, 1, false, glError));
    CGLTexture2D::SLockedRect rect;
    ASSERT_TRUE(source.Lock(0, 0, 0, 4, 4, CGLTexture2D::ELock::WriteOnly, rect));
    std::memcpy(rect.m_Bits, picture, sizeof(picture));
    source.Unlock();

    CGLTexture2D target;
    ASSERT_TRUE(target.Create(64, 64, 1, true, glError));
    ASSERT_TRUE(m_Device.SetRenderTarget(0, &target));
    m_Device.Clear(true, true, 0xff000000u, 1.0f, 0);
    ASSERT_TRUE(m_Device.SetTexture(0, &source));
    ASSERT_TRUE(m_Device.SetSamplerFilter(0, CGLDevice::EFilter::Point, CGLDevice::EFilter::Linear));
    const float rectangle[4] = {0.25f, 0.5f, 0.5f, 0.25f};
    ASSERT_TRUE(effect.SetValue("r_dbg_tex_pos", rectangle, sizeof(rectangle)));
    ASSERT_TRUE(Run(effect, "clipart_tex"));

    const std::vector<uint32_t> texels = ReadTexels(target);
    auto at = [&](uint32_t x, uint32_t y) { return texels[y * 64 + x]; };
    EXPECT_EQ(at(16, 32), 0xffff0000u);
    EXPECT_EQ(at(47, 32), 0xff00ff00u);
    EXPECT_EQ(at(16, 47), 0xff0000ffu);
    EXPECT_EQ(at(47, 47), 0xffffffffu);
    EXPECT_EQ(at(15, 32), 0xff000000u);
    EXPECT_EQ(at(48, 47), 0xff000000u);
    EXPECT_EQ(at(16, 31), 0xff000000u);
    EXPECT_EQ(at(47, 48), 0xff000000u);
}

TEST_F(GLEffectTest, PassStatesAreSavedAndRestored)
{
    const char* text = R"(
vertex_shader vs { void main() { gl_Position = vec4(in_position.xy, 0.0, 1.0); } }
pixel_shader ps { out vec4 o; void main() { o = vec4(1.0); } }
technique blend { pass P0 { VertexShader = vs; PixelShader = ps; AlphaBlendEnable = true;
                            SrcBlend = One; CullMode = CCW; } }
)";
    CGLEffect effect(&m_Device);
    std::string error;
    ASSERT_TRUE(effect.Compile(text, "blend.e", error)) << error;
    CGLDevice::SRenderStates before;
    before.m_DepthEnable = true;
    before.m_DestBlend = CGLDevice::EBlendFactor::SrcAlpha;
    m_Device.SetRenderStates(before);

    EXPECT_FALSE(effect.EndPass());
    ASSERT_TRUE(effect.BeginPass(0, 0));
    EXPECT_FALSE(effect.BeginPass(0, 0));
    const CGLDevice::SRenderStates& during = m_Device.GetRenderStates();
    EXPECT_TRUE(during.m_BlendEnable);
    EXPECT_EQ(during.m_SourceBlend, CGLDevice::EBlendFactor::One);
    EXPECT_EQ(during.m_DestBlend, CGLDevice::EBlendFactor::SrcAlpha);
    EXPECT_TRUE(during.m_DepthEnable);
    EXPECT_EQ(during.m_CullMode, CGLDevice::ECullMode::CounterClockwise);
    ASSERT_TRUE(effect.EndPass());
    const CGLDevice::SRenderStates& after = m_Device.GetRenderStates();
    EXPECT_FALSE(after.m_BlendEnable);
    EXPECT_EQ(after.m_SourceBlend, CGLDevice::EBlendFactor::One);
    EXPECT_EQ(after.m_CullMode, CGLDevice::ECullMode::None);
    EXPECT_TRUE(after.m_DepthEnable);
    EXPECT_FALSE(effect.BeginPass(0, 1));
    EXPECT_FALSE(effect.BeginPass(1, 0));
}

TEST_F(GLEffectTest, ShaderErrorsNameTheFileLine)
{
    const char* text = "float4 r_color;\n"
                       "vertex_shader vs\n"
                       "{\n"
                       "    void main() { gl_Position = vec4(0.0); }\n"
                       "}\n"
                       "pixel_shader ps\n"
                       "{\n"
                       "    out vec4 o;\n"
                       "    void main() { o = r_colour; }\n"
                       "}\n"
                       "technique t { pass P0 { VertexShader = vs; PixelShader = ps; } }\n";
    CGLEffect effect(&m_Device);
    std::string error;
    EXPECT_FALSE(effect.Compile(text, "broken.e", error));
    EXPECT_NE(error.find("pixel shader 'ps' does not compile"), std::string::npos) << error;
    EXPECT_NE(error.find("broken.e(9): "), std::string::npos) << error;

    EXPECT_FALSE(effect.Compile("technique t { pass P0 { VertexShader = a; PixelShader = b; } }",
                                "missing.e", error));
    EXPECT_EQ(error, "missing.e(1): error: no vertex_shader 'a'");
}

TEST_F(GLEffectTest, ValuesMustMatchTheParameterSize)
{
    CGLEffect effect(&m_Device);
    std::string error;
    ASSERT_TRUE(effect.Compile("float4 v; float4x4 m; uint n[2];", "values.e", error)) << error;
    const float four[4] = {1, 2, 3, 4};
    EXPECT_FALSE(effect.SetValue("v", four, 12));
    EXPECT_FALSE(effect.SetValue("w", four, 16));
    EXPECT_TRUE(effect.SetValue("v", four, 16));
    EXPECT_EQ(effect.GetValue("v").size(), 16u);
    EXPECT_EQ(std::memcmp(effect.GetValue("v").data(), four, 16), 0);
    EXPECT_EQ(effect.GetValue("m").size(), 64u);
    EXPECT_EQ(effect.GetValue("n").size(), 8u);
    EXPECT_TRUE(effect.GetValue("w").empty());
}
