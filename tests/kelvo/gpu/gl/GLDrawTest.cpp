#include "GLDeviceFixture.h"

#include "kelvo/gpu/gl/GLBuffer.h"
#include "kelvo/gpu/gl/GLEffect.h"
#include "kelvo/gpu/gl/GLTexture2D.h"

#include <cstring>

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

class GLDrawTest : public GLDeviceTestBase
{
protected:
    void SetUp() override
    {
        GLDeviceTestBase::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        GLenum error = GL_NO_ERROR;
        ASSERT_TRUE(m_Positions.Create(CGLBuffer::EKind::Vertex, sizeof(kPositions), kPositions, error));
        ASSERT_TRUE(m_Colors.Create(CGLBuffer::EKind::Vertex, sizeof(kColors), kColors, error));
        ASSERT_TRUE(m_Indices.Create(CGLBuffer::EKind::Index16, sizeof(kIndices), kIndices, error));
        ASSERT_TRUE(m_Target.Create(8, 8, 1, true, error));
        ASSERT_TRUE(m_Device.SetRenderTarget(0, &m_Target));
        std::string message;
        ASSERT_TRUE(m_Effect.Compile(kColorEffect, "color.e", message)) << message;
        m_Device.SetStreamSource(0, &m_Positions, 0, 16);
        m_Device.SetStreamSource(1, &m_Colors, 0, 4);
        m_Device.SetVertexDeclaration({
            {0, 0, EVertexElementType::Float4, EVertexSemantic::Position, 0},
            {1, 0, EVertexElementType::Color, EVertexSemantic::Color, 0},
        });
        m_Device.SetIndices(&m_Indices);
    }

    // Clears, draws the two triangles with a technique, reads the top-left and bottom-left
    // texels.
    bool DrawQuad(uint32_t technique, uint32_t& outTop, uint32_t& outBottom)
    {
        m_Device.Clear(true, false, 0xff00ff00u, 1.0f, 0);
        if (!m_Effect.BeginPass(technique, 0))
            return false;
        const bool drawn = m_Device.DrawIndexedPrimitive(CGLDevice::EPrimitive::TriangleList, 0, 0, 2);
        m_Effect.EndPass();
        std::vector<uint8_t> bytes;
        m_Target.ReadLevel0(bytes);
        std::memcpy(&outTop, bytes.data(), 4);
        std::memcpy(&outBottom, bytes.data() + 7 * 8 * 4, 4);
        return drawn;
    }

    CGLBuffer m_Positions, m_Colors, m_Indices;
    CGLTexture2D m_Target;
    CGLEffect m_Effect{&m_Device};
};
}

TEST_F(GLDrawTest, IndexedTrianglesTakeTheirPackedColoursTopRowFirst)
{
    uint32_t top = 0, bottom = 0;
    ASSERT_TRUE(DrawQuad(0, top, bottom));
    // Near the red top edge and the blue bottom edge; the gradient between is interpolated.
    EXPECT_EQ(top >> 24, 0xffu);
    EXPECT_GT((top >> 16) & 0xff, 0xd0u);
    EXPECT_LT(top & 0xff, 0x30u);
    EXPECT_GT(bottom & 0xff, 0xd0u);
    EXPECT_LT((bottom >> 16) & 0xff, 0x30u);
}

TEST_F(GLDrawTest, RewrittenVerticesAreDrawnAndWritesStayInsideTheBuffer)
{
    const uint32_t white[2] = {0xffffffffu, 0xffffffffu};
    EXPECT_FALSE(m_Colors.Write(12, 8, white));
    EXPECT_FALSE(m_Colors.Write(17, 0, white));
    ASSERT_TRUE(m_Colors.Write(0, 8, white));
    uint32_t top = 0, bottom = 0;
    ASSERT_TRUE(DrawQuad(0, top, bottom));
    EXPECT_GT(top & 0xff, 0xd0u);
    EXPECT_GT((top >> 8) & 0xff, 0xd0u);
}

TEST_F(GLDrawTest, CullModesAreTheWindingSeenOnTheTarget)
{
    uint32_t top = 0, bottom = 0;
    ASSERT_TRUE(DrawQuad(1, top, bottom));
    EXPECT_EQ(top, 0xff00ff00u) << "clockwise triangles must be culled";
    ASSERT_TRUE(DrawQuad(2, top, bottom));
    EXPECT_NE(top, 0xff00ff00u) << "clockwise triangles must be drawn";
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
