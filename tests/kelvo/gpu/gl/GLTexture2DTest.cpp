#include "GLTestContext.h"

#include "kelvo/gpu/gl/GLTexture2D.h"

#include <cstring>

namespace
{
class GLTexture2DTest : public GLTest
{};

// Fills a lock with texel values that encode their position, 4 bytes each.
void FillWithPositions(const CGLTexture2D::SLockedRect& rect, uint32_t width, uint32_t height,
                       uint32_t bytesPerTexel, uint32_t base)
{
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width * bytesPerTexel / 4; ++x)
        {
            const uint32_t value = base + y * 1000 + x;
            std::memcpy(rect.m_Bits + y * rect.m_Pitch + x * 4, &value, 4);
        }
}
}

TEST_F(GLTexture2DTest, RectangleWrittenThroughALockReadsBackInEveryFormat)
{
    for (uint32_t format = 1; format <= 4; ++format)
    {
        SCOPED_TRACE(format);
        CGLTexture2D texture;
        GLenum error = GL_NO_ERROR;
        ASSERT_TRUE(texture.Create(8, 6, format, false, error)) << std::hex << error;
        const uint32_t bpt = texture.GetBytesPerTexel();

        CGLTexture2D::SLockedRect whole;
        ASSERT_TRUE(texture.Lock(0, 0, 0, 8, 6, CGLTexture2D::ELock::WriteOnly, whole));
        EXPECT_EQ(whole.m_Pitch, 8 * bpt);
        FillWithPositions(whole, 8, 6, bpt, 0);
        texture.Unlock();

        CGLTexture2D::SLockedRect part;
        ASSERT_TRUE(texture.Lock(0, 2, 3, 3, 2, CGLTexture2D::ELock::WriteOnly, part));
        FillWithPositions(part, 3, 2, bpt, 500000);
        texture.Unlock();

        std::vector<uint8_t> level;
        texture.ReadLevel0(level);
        ASSERT_EQ(level.size(), 8u * 6 * bpt);
        for (uint32_t y = 0; y < 6; ++y)
            for (uint32_t x = 0; x < 8 * bpt / 4; ++x)
            {
                uint32_t value = 0;
                std::memcpy(&value, level.data() + (y * 8 * bpt) + x * 4, 4);
                const bool inPart = y >= 3 && y < 5 && x >= 2 * bpt / 4 && x < 5 * bpt / 4;
                const uint32_t expected = inPart ? 500000 + (y - 3) * 1000 + (x - 2 * bpt / 4) : y * 1000 + x;
                ASSERT_EQ(value, expected) << "row " << y << " word " << x;
            }

        // A read lock cuts the same rectangle out again, row 0 first.
        CGLTexture2D::SLockedRect read;
        ASSERT_TRUE(texture.Lock(0, 2, 3, 3, 2, CGLTexture2D::ELock::ReadOnly, read));
        uint32_t first = 0, last = 0;
        std::memcpy(&first, read.m_Bits, 4);
        std::memcpy(&last, read.m_Bits + read.m_Pitch + read.m_Pitch - 4, 4);
        texture.Unlock();
        EXPECT_EQ(first, 500000u);
        EXPECT_EQ(last, 501000u + 3 * bpt / 4 - 1);
    }
}

TEST_F(GLTexture2DTest, CreationRefusesBadFormatsAndSizes)
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
