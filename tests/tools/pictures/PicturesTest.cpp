#include "pictures/FontPicture.h"
#include "pictures/LogoPicture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
// Lit texels of the cell of byte, each of which must be opaque white.
int LitTexels(const CRgbaImage& font, uint32_t byte)
{
    int lit = 0;
    for (uint32_t y = 0; y < kFontCellSize; ++y)
        for (uint32_t x = 0; x < kFontCellSize; ++x)
        {
            const SRgba& texel = font.At((byte % 16) * kFontCellSize + x, (byte / 16) * kFontCellSize + y);
            EXPECT_TRUE(texel.a == 0 ||
                        (texel.r == 255 && texel.g == 255 && texel.b == 255 && texel.a == 255))
                << "byte " << byte;
            lit += texel.a != 0;
        }
    return lit;
}
}

TEST(FontPicture, GlyphsSitInTheirByteCellsWhiteOnTransparent)
{
    const CRgbaImage font = MakeFontPicture();
    ASSERT_EQ(font.GetWidth(), 16 * kFontCellSize);
    ASSERT_EQ(font.GetHeight(), 16 * kFontCellSize);
    for (uint32_t byte = 0; byte < 256; ++byte)
    {
        const bool printable = byte > 32 && byte < 127;
        EXPECT_EQ(LitTexels(font, byte) > 0, printable) << "byte " << byte;
    }
    // "I" is narrower than "W"; "." smaller than both.
    EXPECT_LT(LitTexels(font, '.'), LitTexels(font, 'I'));
    EXPECT_LT(LitTexels(font, 'I'), LitTexels(font, 'W'));
}

TEST(LogoPicture, SameEveryRunWithLettersBrighterThanTheBand)
{
    const CRgbaImage first = MakeLogoPicture();
    const CRgbaImage second = MakeLogoPicture();
    ASSERT_EQ(first.GetWidth(), 512u);
    ASSERT_EQ(first.GetHeight(), 128u);
    int bright = 0;
    for (uint32_t y = 0; y < first.GetHeight(); ++y)
        for (uint32_t x = 0; x < first.GetWidth(); ++x)
        {
            ASSERT_EQ(std::memcmp(&first.At(x, y), &second.At(x, y), sizeof(SRgba)), 0);
            bright += first.At(x, y).g > 200;
        }
    // The letters cover a good part of the band but far from all of it.
    EXPECT_GT(bright, 512 * 128 / 20);
    EXPECT_LT(bright, 512 * 128 / 2);
    // The corners are band, not letters.
    EXPECT_LT(first.At(0, 0).g, 100);
    EXPECT_LT(first.At(511, 127).g, 100);
}
