// Tests of the GL device layer on its own: textures, buffers, effects and draws on a created
// device (640x480 back buffer and the shared depth surface).
#include "GLTestContext.h"

#include "kelvo/gpu/gl/GLBuffer.h"
#include "kelvo/gpu/gl/GLDevice.h"
#include "kelvo/gpu/gl/GLEffect.h"
#include "kelvo/gpu/gl/GLTexture2D.h"

#include <cstring>

namespace
{
class GLDeviceTest : public GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        GLenum error = GL_NO_ERROR;
        ASSERT_TRUE(m_Device.Create(error)) << std::hex << error;
        ASSERT_TRUE(m_Device.CreateBackBuffer(640, 480, error)) << std::hex << error;
        ASSERT_TRUE(m_Device.CreateDepthSurface(error)) << std::hex << error;
    }

    // A size x size target of packed colours, made current, and the effect compiled for it.
    void UseTarget(uint32_t size, const char* effect)
    {
        GLenum error = GL_NO_ERROR;
        ASSERT_TRUE(m_Target.Create(size, size, 1, true, error));
        ASSERT_TRUE(m_Device.SetRenderTarget(0, &m_Target));
        std::string message;
        ASSERT_TRUE(m_Effect.Compile(effect, "test.e", message)) << message;
    }

    uint32_t Texel(uint32_t x, uint32_t y) const
    {
        std::vector<uint8_t> bytes;
        m_Target.ReadLevel0(bytes);
        return Word(bytes, y * m_Target.GetWidth() + x);
    }

    static uint32_t Word(const std::vector<uint8_t>& bytes, std::size_t index)
    {
        uint32_t word = 0;
        std::memcpy(&word, bytes.data() + index * 4, 4);
        return word;
    }

    CGLDevice m_Device;
    CGLTexture2D m_Target;
    CGLEffect m_Effect{&m_Device};
};
}

// A cleared target of each format with a rectangle written over it through a lock: packed
// texels keep the packed colour, float ones its channels, and only the rectangle changes.
TEST_F(GLDeviceTest, ClearsAndLockedRectanglesReadBackInEveryFormat)
{
    const float channels[4] = {0x40 / 255.0f, 0x20 / 255.0f, 0x10 / 255.0f, 0x80 / 255.0f};
    for (uint32_t format = 1; format <= 4; ++format)
    {
        SCOPED_TRACE(format);
        CGLTexture2D texture;
        GLenum error = GL_NO_ERROR;
        ASSERT_TRUE(texture.Create(8, 6, format, true, error)) << std::hex << error;
        ASSERT_TRUE(m_Device.SetRenderTarget(0, &texture));
        m_Device.Clear(true, true, 0x80402010u, 1.0f, 0);
        const uint32_t words = texture.GetBytesPerTexel() / 4;

        // A 3 x 2 rectangle at (2, 3); each word holds 500000 + 1000 x its row + its column.
        CGLTexture2D::SLockedRect part;
        ASSERT_TRUE(texture.Lock(0, 2, 3, 3, 2, CGLTexture2D::ELock::WriteOnly, part));
        EXPECT_EQ(part.m_Pitch, 3 * 4 * words);
        for (uint32_t y = 0; y < 2; ++y)
            for (uint32_t x = 0; x < 3 * words; ++x)
            {
                const uint32_t value = 500000 + y * 1000 + x;
                std::memcpy(part.m_Bits + y * part.m_Pitch + x * 4, &value, 4);
            }
        texture.Unlock();

        std::vector<uint8_t> level;
        texture.ReadLevel0(level);
        ASSERT_EQ(level.size(), 8u * 6 * 4 * words);
        for (uint32_t y = 0; y < 6; ++y)
            for (uint32_t x = 0; x < 8 * words; ++x)
            {
                uint32_t expected = 0x80402010u;
                if (format != 1)
                    std::memcpy(&expected, &channels[x % words], 4);
                if (y >= 3 && y < 5 && x >= 2 * words && x < 5 * words)
                    expected = 500000 + (y - 3) * 1000 + (x - 2 * words);
                ASSERT_EQ(Word(level, y * 8 * words + x), expected) << "row " << y << " word " << x;
            }

        // A read lock cuts the same rectangle out again, row 0 first.
        CGLTexture2D::SLockedRect read;
        ASSERT_TRUE(texture.Lock(0, 2, 3, 3, 2, CGLTexture2D::ELock::ReadOnly, read));
        std::vector<uint8_t> cut(read.m_Bits, read.m_Bits + 2 * read.m_Pitch);
        texture.Unlock();
        EXPECT_EQ(Word(cut, 0), 500000u);
        EXPECT_EQ(Word(cut, 6 * words - 1), 501000u + 3 * words - 1);
    }
}

TEST_F(GLDeviceTest, PassesNeedTheirShadersAndRestoreTheStatesTheySet)
{
    std::string error;
    EXPECT_FALSE(m_Effect.Compile("technique t { pass P0 { VertexShader = a; PixelShader = b; } }",
                                  "missing.e", error));
    EXPECT_EQ(error, "missing.e(1): error: no vertex_shader 'a'");

    const char* text = R"(
vertex_shader vs { void main() { gl_Position = vec4(in_position.xy, 0.0, 1.0); } }
pixel_shader ps { out vec4 o; void main() { o = vec4(1.0); } }
technique blend { pass P0 { VertexShader = vs; PixelShader = ps; AlphaBlendEnable = true;
                            SrcBlend = One; CullMode = CCW; } }
)";
    CGLEffect effect(&m_Device);
    ASSERT_TRUE(effect.Compile(text, "blend.e", error)) << error;
    CGLDevice::SRenderStates before;
    before.m_DepthEnable = true;
    before.m_SourceBlend = CGLDevice::EBlendFactor::SrcAlpha;
    before.m_DestBlend = CGLDevice::EBlendFactor::SrcAlpha;
    m_Device.SetRenderStates(before);

    // The pass sets its three states over the others and puts them back when it ends.
    CGLDevice::SRenderStates during = before;
    during.m_BlendEnable = true;
    during.m_SourceBlend = CGLDevice::EBlendFactor::One;
    during.m_CullMode = CGLDevice::ECullMode::CounterClockwise;
    EXPECT_FALSE(effect.EndPass());
    ASSERT_TRUE(effect.BeginPass(0, 0));
    EXPECT_FALSE(effect.BeginPass(0, 0));
    EXPECT_TRUE(m_Device.GetRenderStates() == during);
    ASSERT_TRUE(effect.EndPass());
    EXPECT_TRUE(m_Device.GetRenderStates() == before);
    EXPECT_FALSE(effect.BeginPass(0, 1));
    EXPECT_FALSE(effect.BeginPass(1, 0));
}

TEST_F(GLDeviceTest, CreationRefusesBadFormatsAndSizes)
{
    CGLTexture2D texture;
    GLenum error = GL_NO_ERROR;
    EXPECT_FALSE(texture.Create(4, 4, 0, false, error));
    EXPECT_FALSE(texture.Create(4, 4, 5, false, error));
    EXPECT_FALSE(texture.Create(0, 4, 1, false, error));
    EXPECT_FALSE(texture.Create(1u << 20, 4, 1, false, error));
    EXPECT_EQ(error, static_cast<GLenum>(GL_INVALID_VALUE));
    EXPECT_EQ(texture.GetName(), 0u);
}

namespace
{
// Passes the vertex colour through; technique "cw" culls triangles seen clockwise on the
// target, "ccw" those seen counter-clockwise.
const char* const kColorEffect = R"(
vertex_shader vs
{
    out vec4 v_Color;
    void main() { gl_Position = in_position; v_Color = in_color0; }
}
pixel_shader ps
{
    in vec4 v_Color;
    layout(location = 0) out vec4 o_Color;
    void main() { o_Color = v_Color; }
}
technique none { pass P0 { VertexShader = vs; PixelShader = ps; } }
technique cw { pass P0 { VertexShader = vs; PixelShader = ps; CullMode = CW; } }
technique ccw { pass P0 { VertexShader = vs; PixelShader = ps; CullMode = CCW; } }
)";

// Clip-space corners of the whole target and their packed colours, in separate streams.
const float kPositions[4][4] = {{-1, 1, 0, 1}, {1, 1, 0, 1}, {-1, -1, 0, 1}, {1, -1, 0, 1}};
const uint32_t kColors[4] = {0xffff0000u, 0xffff0000u, 0xff0000ffu, 0xff0000ffu};
// Two triangles seen clockwise on the target (row 0 on top): top-left, top-right,
// bottom-left and top-right, bottom-right, bottom-left.
const uint16_t kIndices[6] = {0, 1, 2, 1, 3, 2};

class GLDrawTest : public GLDeviceTest
{
protected:
    void SetUp() override
    {
        GLDeviceTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        GLenum error = GL_NO_ERROR;
        ASSERT_TRUE(m_Positions.Create(CGLBuffer::EKind::Vertex, sizeof(kPositions), kPositions, error));
        ASSERT_TRUE(m_Colors.Create(CGLBuffer::EKind::Vertex, sizeof(kColors), kColors, error));
        ASSERT_TRUE(m_Indices.Create(CGLBuffer::EKind::Index16, sizeof(kIndices), kIndices, error));
        ASSERT_NO_FATAL_FAILURE(UseTarget(8, kColorEffect));
        m_Device.SetStreamSource(0, &m_Positions, 0, 16);
        m_Device.SetStreamSource(1, &m_Colors, 0, 4);
        m_Device.SetVertexDeclaration({
            {0, 0, EVertexElementType::Float4, EVertexSemantic::Position, 0},
            {1, 0, EVertexElementType::Color, EVertexSemantic::Color, 0},
        });
        m_Device.SetIndices(&m_Indices);
    }

    // Clears, then draws the two triangles with a technique.
    bool DrawQuad(uint32_t technique)
    {
        m_Device.Clear(true, false, 0xff00ff00u, 1.0f, 0);
        if (!m_Effect.BeginPass(technique, 0))
            return false;
        const bool drawn = m_Device.DrawIndexedPrimitive(CGLDevice::EPrimitive::TriangleList, 0, 0, 2);
        m_Effect.EndPass();
        return drawn;
    }

    CGLBuffer m_Positions, m_Colors, m_Indices;
};
}

TEST_F(GLDrawTest, IndexedTrianglesTakeTheirPackedColoursTopRowFirstAndRewrittenOnes)
{
    ASSERT_TRUE(DrawQuad(0));
    const uint32_t top = Texel(0, 0), bottom = Texel(0, 7);
    // Near the red top edge and the blue bottom edge; the gradient between is interpolated.
    EXPECT_EQ(top >> 24, 0xffu);
    EXPECT_GT((top >> 16) & 0xff, 0xd0u);
    EXPECT_LT(top & 0xff, 0x30u);
    EXPECT_GT(bottom & 0xff, 0xd0u);
    EXPECT_LT((bottom >> 16) & 0xff, 0x30u);

    // The top corners rewritten white are drawn so; writes must stay inside the buffer.
    const uint32_t white[2] = {0xffffffffu, 0xffffffffu};
    EXPECT_FALSE(m_Colors.Write(12, 8, white));
    EXPECT_FALSE(m_Colors.Write(17, 0, white));
    ASSERT_TRUE(m_Colors.Write(0, 8, white));
    ASSERT_TRUE(DrawQuad(0));
    EXPECT_GT(Texel(0, 0) & 0xff, 0xd0u);
    EXPECT_GT((Texel(0, 0) >> 8) & 0xff, 0xd0u);
}

TEST_F(GLDrawTest, CullModesAreTheWindingSeenOnTheTarget)
{
    ASSERT_TRUE(DrawQuad(1));
    EXPECT_EQ(Texel(0, 0), 0xff00ff00u) << "clockwise triangles must be culled";
    ASSERT_TRUE(DrawQuad(2));
    EXPECT_NE(Texel(0, 0), 0xff00ff00u) << "clockwise triangles must be drawn";
}

TEST_F(GLDrawTest, DrawsWithIncompleteInputAreRefused)
{
    // Non-indexed: 4 vertices fit, a fifth does not.
    EXPECT_TRUE(m_Device.DrawPrimitive(CGLDevice::EPrimitive::TriangleStrip, 0, 2));
    EXPECT_FALSE(m_Device.DrawPrimitive(CGLDevice::EPrimitive::TriangleStrip, 1, 2));
    m_Device.SetStreamSource(1, nullptr, 0, 0);
    EXPECT_FALSE(m_Device.DrawPrimitive(CGLDevice::EPrimitive::TriangleStrip, 0, 2));
    m_Device.SetStreamSource(1, &m_Colors, 0, 4);
    m_Device.SetIndices(nullptr);
    EXPECT_FALSE(m_Device.DrawIndexedPrimitive(CGLDevice::EPrimitive::TriangleList, 0, 0, 2));
    m_Device.SetVertexDeclaration({});
    EXPECT_FALSE(m_Device.DrawPrimitive(CGLDevice::EPrimitive::TriangleStrip, 0, 2));
    m_Device.SetVertexDeclaration({{0, 0, EVertexElementType::Float4, EVertexSemantic::TexCoord, 8}});
    EXPECT_FALSE(m_Device.DrawPrimitive(CGLDevice::EPrimitive::TriangleStrip, 0, 2));
}

namespace
{
// A full-target quad at depth g_Depth with colour g_Color, and one coloured by the texel
// that the vertex stage 257 reads.
const char* const kDepthEffect = R"(
float g_Depth;
float4 g_Color;
sampler g_VertexTexture : stage(257);
vertex_shader vs_flat
{
    void main() { gl_Position = vec4(in_position.xy * 2.0 - 1.0, g_Depth, 1.0); }
}
vertex_shader vs_fetch
{
    out vec4 v_Color;
    void main()
    {
        gl_Position = vec4(in_position.xy * 2.0 - 1.0, 0.0, 1.0);
        v_Color = texelFetch(g_VertexTexture, ivec2(1, 0), 0);
    }
}
pixel_shader ps_flat { layout(location = 0) out vec4 o; void main() { o = g_Color; } }
pixel_shader ps_fetched { in vec4 v_Color; layout(location = 0) out vec4 o; void main() { o = v_Color; } }
technique flat { pass P0 { VertexShader = vs_flat; PixelShader = ps_flat; ZWriteEnable = true; } }
technique fetch { pass P0 { VertexShader = vs_fetch; PixelShader = ps_fetched; } }
)";
}

TEST_F(GLDeviceTest, SharedDepthSurfaceKeepsTheNearerDrawing)
{
    ASSERT_NO_FATAL_FAILURE(UseTarget(16, kDepthEffect));
    const auto drawFlat = [&](float depth, float red, float blue) {
        const float color[4] = {red, 0.0f, blue, 1.0f};
        m_Effect.SetValue("g_Depth", &depth, 4);
        m_Effect.SetValue("g_Color", color, 16);
        ASSERT_TRUE(m_Effect.BeginPass(0, 0));
        EXPECT_TRUE(m_Device.DrawUnitQuad());
        m_Effect.EndPass();
    };
    CGLDevice::SRenderStates states = m_Device.GetRenderStates();
    states.m_DepthEnable = true;
    m_Device.SetRenderStates(states);
    m_Device.SetDepthSurface(true);
    m_Device.Clear(true, true, 0xff000000u, 1.0f, 0);
    drawFlat(0.0f, 1.0f, 0.0f);
    drawFlat(0.5f, 0.0f, 1.0f);
    EXPECT_EQ(Texel(8, 8), 0xffff0000u) << "the farther quad must fail the depth test";

    // Without the depth surface nothing is tested: the later quad wins.
    m_Device.SetDepthSurface(false);
    drawFlat(0.5f, 0.0f, 1.0f);
    EXPECT_EQ(Texel(8, 8), 0xff0000ffu);
}

TEST_F(GLDeviceTest, VertexStagesFeedVertexShaders)
{
    ASSERT_NO_FATAL_FAILURE(UseTarget(16, kDepthEffect));
    const uint32_t texels[2] = {0xff000000u, 0xff00ff00u};
    CGLTexture2D source;
    GLenum error = GL_NO_ERROR;
    ASSERT_TRUE(source.Create(2, 1, 1, false, error));
    CGLTexture2D::SLockedRect rect;
    ASSERT_TRUE(source.Lock(0, 0, 0, 2, 1, CGLTexture2D::ELock::WriteOnly, rect));
    std::memcpy(rect.m_Bits, texels, sizeof(texels));
    source.Unlock();
    ASSERT_TRUE(m_Device.SetTexture(257, &source));
    ASSERT_TRUE(m_Effect.BeginPass(1, 0));
    EXPECT_TRUE(m_Device.DrawUnitQuad());
    m_Effect.EndPass();
    EXPECT_EQ(Texel(8, 8), 0xff00ff00u);
}
