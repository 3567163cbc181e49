#include "pictures/LogoPicture.h"

#include "pictures/GlyphRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace
{
constexpr uint32_t kWidth = 512;
constexpr uint32_t kHeight = 128;
constexpr float kLetterScale = 9.0f;
constexpr char kName[] = "BROVELL";

uint8_t Mix(float from, float to, float t)
{
    return static_cast<uint8_t>(std::clamp(from + (to - from) * t, 0.0f, 255.0f));
}

// Every texel of the bar, moved by (dx, dy), gets colour.
void FillBar(CRgbaImage& image, const SGlyphBar& bar, float originX, float originY, int dx, int dy,
             SRgba color)
{
    const int x0 = static_cast<int>(std::lround(originX + bar.x0 * kLetterScale)) + dx;
    const int x1 = static_cast<int>(std::lround(originX + bar.x1 * kLetterScale)) + dx;
    const int y0 = static_cast<int>(std::lround(originY + bar.y0 * kLetterScale)) + dy;
    const int y1 = static_cast<int>(std::lround(originY + bar.y1 * kLetterScale)) + dy;
    for (int y = std::max(y0, 0); y < std::min<int>(y1, kHeight); ++y)
        for (int x = std::max(x0, 0); x < std::min<int>(x1, kWidth); ++x)
            image.At(static_cast<uint32_t>(x), static_cast<uint32_t>(y)) = color;
}
}

CRgbaImage MakeLogoPicture()
{
    CRgbaImage image(kWidth, kHeight);
    // The band: blue to violet across, darker towards the bottom, stripes every 16 texels.
    for (uint32_t y = 0; y < kHeight; ++y)
        for (uint32_t x = 0; x < kWidth; ++x)
        {
            const float across = static_cast<float>(x) / (kWidth - 1);
            const float shade = 1.0f - 0.35f * static_cast<float>(y) / (kHeight - 1);
            const float stripe = ((x + y) / 16) % 2 == 0 ? 1.0f : 0.88f;
            image.At(x, y) = {Mix(20, 120, across * shade * stripe), Mix(30, 20, across),
                              Mix(110, 150, shade * stripe), 255};
        }

    // The letters, centred, with their shadow first.
    const float originX = (kWidth - TextAdvance(kName) * kLetterScale) / 2.0f;
    const float originY = (kHeight - 7.0f * kLetterScale) / 2.0f;
    for (int pass = 0; pass < 2; ++pass)
    {
        float penX = originX;
        for (const char* c = kName; *c != 0; ++c)
        {
            const char letter[2] = {*c, 0};
            for (const SGlyphBar& bar : GlyphBars(static_cast<unsigned char>(*c)))
            {
                if (pass == 0)
                    FillBar(image, bar, penX, originY, 5, 5, {10, 8, 30, 255});
                else
                    FillBar(image, bar, penX, originY, 0, 0, {245, 245, 255, 255});
            }
            penX += TextAdvance(letter) * kLetterScale;
        }
    }
    return image;
}
