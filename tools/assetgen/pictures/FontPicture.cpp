#include "pictures/FontPicture.h"

#include "pictures/GlyphRaster.h"

#include <cmath>

namespace
{
// Font units to texels: the glyph grid (7 x 9 units) fills most of the 24-texel cell.
constexpr float kScale = 2.0f;
constexpr uint32_t kLeft = 5;
constexpr uint32_t kTop = 3;
}

CRgbaImage MakeFontPicture()
{
    CRgbaImage image(16 * kFontCellSize, 16 * kFontCellSize);
    for (uint32_t byte = 0; byte < 256; ++byte)
    {
        const uint32_t cellX = (byte % 16) * kFontCellSize + kLeft;
        const uint32_t cellY = (byte / 16) * kFontCellSize + kTop;
        for (const SGlyphBar& bar : GlyphBars(static_cast<unsigned char>(byte)))
        {
            // Bars lie on whole units, so at a whole scale they cover whole texels.
            const auto x0 = static_cast<uint32_t>(std::lround(bar.x0 * kScale));
            const auto x1 = static_cast<uint32_t>(std::lround(bar.x1 * kScale));
            const auto y0 = static_cast<uint32_t>(std::lround(bar.y0 * kScale));
            const auto y1 = static_cast<uint32_t>(std::lround(bar.y1 * kScale));
            for (uint32_t y = y0; y < y1 && kTop + y < kFontCellSize; ++y)
                for (uint32_t x = x0; x < x1 && kLeft + x < kFontCellSize; ++x)
                    image.At(cellX + x, cellY + y) = {255, 255, 255, 255};
        }
    }
    return image;
}
