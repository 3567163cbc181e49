#include "GLDeviceFixture.h"

#include "kelvo/gpu/gl/GLTexture2D.h"

#include <cstring>

namespace
{
class GLDeviceTest : public GLDeviceTestBase
{};
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
