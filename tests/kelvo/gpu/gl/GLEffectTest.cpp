#include "GLDeviceFixture.h"

#include "kelvo/gpu/gl/GLEffect.h"

#include <cstring>

namespace
{
class GLEffectTest : public GLDeviceTestBase
{};
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

TEST_F(GLEffectTest, APassNamingAMissingShaderIsRefused)
{
    CGLEffect effect(&m_Device);
    std::string error;
    EXPECT_FALSE(
        effect.Compile("technique t { pass P0 { VertexShader = a; PixelShader = b; } }", "missing.e", error));
    EXPECT_EQ(error, "missing.e(1): error: no vertex_shader 'a'");
}
