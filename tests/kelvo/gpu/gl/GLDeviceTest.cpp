#include "GLDeviceFixture.h"

#include "kelvo/gpu/gl/GLTexture2D.h"

#include <cstring>

namespace
{
class GLDeviceTest : public GLDeviceTestBase
{
};
}

TEST_F(GLDeviceTest, ClearFillsRenderTargetsOfEveryFormat)
{
    const float expected[4] = {0x40 / 255.0f, 0x20 / 255.0f, 0x10 / 255.0f, 0x80 / 255.0f};
    for (uint32_t format = 1; format <= 4; ++format)
    {
        SCOPED_TRACE(format);
        CGLTexture2D target;
        GLenum error = GL_NO_ERROR;
        ASSERT_TRUE(target.Create(5, 3, format, true, error));
        ASSERT_TRUE(m_Device.SetRenderTarget(0, &target));
        m_Device.Clear(true, true, 0x80402010u, 1.0f, 0);
        std::vector<uint8_t> bytes;
        target.ReadLevel0(bytes);
        ASSERT_EQ(bytes.size(), 15u * target.GetBytesPerTexel());
        if (format == 1)
        {
            uint32_t texel = 0;
            std::memcpy(&texel, bytes.data() + 14 * 4, 4);
            EXPECT_EQ(texel, 0x80402010u);
            continue;
        }
        const uint32_t channels = target.GetBytesPerTexel() / 4;
        for (uint32_t c = 0; c < channels; ++c)
        {
            float value = 0;
            std::memcpy(&value, bytes.data() + 14 * channels * 4 + c * 4, 4);
            EXPECT_NEAR(value, expected[c], 1e-6f) << "channel " << c;
        }
    }
}

TEST_F(GLDeviceTest, RenderTargetsMustBeRenderTargetTextures)
{
    CGLTexture2D dynamic;
    GLenum error = GL_NO_ERROR;
    ASSERT_TRUE(dynamic.Create(4, 4, 1, false, error));
    EXPECT_FALSE(m_Device.SetRenderTarget(0, &dynamic));
    EXPECT_FALSE(m_Device.SetRenderTarget(4, nullptr));
    EXPECT_TRUE(m_Device.SetRenderTarget(2, nullptr));
}

TEST_F(GLDeviceTest, ViewportMustBeNonEmptyAndInsideTheTarget)
{
    EXPECT_TRUE(m_Device.SetViewport(0, 0, 640, 480, 0.0f, 1.0f));
    EXPECT_FALSE(m_Device.SetViewport(0, 0, 0, 480, 0.0f, 1.0f));
    EXPECT_FALSE(m_Device.SetViewport(1, 0, 640, 480, 0.0f, 1.0f));
    EXPECT_FALSE(m_Device.SetViewport(0, 0, 10, 10, -0.5f, 1.0f));
    CGLTexture2D target;
    GLenum error = GL_NO_ERROR;
    ASSERT_TRUE(target.Create(32, 16, 1, true, error));
    ASSERT_TRUE(m_Device.SetRenderTarget(0, &target));
    uint32_t width = 0, height = 0;
    m_Device.GetRenderTargetSize(width, height);
    EXPECT_EQ(width, 32u);
    EXPECT_EQ(height, 16u);
    EXPECT_FALSE(m_Device.SetViewport(0, 0, 64, 16, 0.0f, 1.0f));
    EXPECT_TRUE(m_Device.SetViewport(16, 8, 16, 8, 0.0f, 1.0f));
}

TEST_F(GLDeviceTest, ScenesPairUpAndStagesExistOnlyWhereNamed)
{
    EXPECT_FALSE(m_Device.EndScene());
    EXPECT_TRUE(m_Device.BeginScene());
    EXPECT_FALSE(m_Device.BeginScene());
    EXPECT_TRUE(m_Device.EndScene());

    EXPECT_TRUE(m_Device.SetSamplerFilter(7, CGLDevice::EFilter::Point, CGLDevice::EFilter::Linear));
    EXPECT_TRUE(m_Device.SetSamplerFilter(260, CGLDevice::EFilter::Linear, CGLDevice::EFilter::Linear));
    EXPECT_FALSE(m_Device.SetSamplerFilter(8, CGLDevice::EFilter::Linear, CGLDevice::EFilter::Linear));
    EXPECT_FALSE(m_Device.SetSamplerFilter(256, CGLDevice::EFilter::Linear, CGLDevice::EFilter::Linear));
    EXPECT_FALSE(m_Device.SetSamplerFilter(0, CGLDevice::EFilter::None, CGLDevice::EFilter::Linear));
    EXPECT_FALSE(m_Device.SetTexture(261, nullptr));
}

TEST_F(GLDeviceTest, PresentCopiesTheClientAreaTopRowFirst)
{
    m_Device.Clear(true, true, 0xff00ff00u, 1.0f, 0);
    m_Device.Present(kWindowWidth, kWindowHeight, kWindowWidth, kWindowHeight);
    m_Context.SwapBuffers();
    const std::vector<uint32_t> window = m_Context.ReadWindow();
    EXPECT_EQ(window.front(), 0xff00ff00u);
    EXPECT_EQ(window.back(), 0xff00ff00u);
}
