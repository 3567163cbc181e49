#include "kelvo/render/ZoomBankTable.h"

#include <cstddef>

namespace
{
struct SBankColor
{
    float b, g, r;
};

float Channel(uint32_t color, int shift)
{
    return static_cast<float>((color >> shift) & 0xFF) / 255.0f;
}
}

std::vector<uint32_t> BuildZoomBankTable(const std::vector<uint32_t>& averages)
{
    std::vector<SBankColor> colors;
    colors.reserve(averages.size());
    for (uint32_t average : averages)
        colors.push_back({Channel(average, 0), Channel(average, 8), Channel(average, 16)});

    std::vector<uint32_t> table(kZoomTableEntries, 0);
    if (colors.empty())
        return table;
    const float step = 1.0f / static_cast<float>(kZoomColorLevels - 1);
    std::size_t index = 0;
    for (uint32_t b = 0; b < kZoomColorLevels; ++b)
        for (uint32_t g = 0; g < kZoomColorLevels; ++g)
            for (uint32_t r = 0; r < kZoomColorLevels; ++r, ++index)
            {
                const SBankColor wanted{static_cast<float>(b) * step, static_cast<float>(g) * step,
                                        static_cast<float>(r) * step};
                // Only a strictly nearer image replaces the best, so ties keep the lower index.
                uint32_t best = 0;
                float bestDistance = 0.0f;
                for (uint32_t i = 0; i < colors.size(); ++i)
                {
                    const float db = colors[i].b - wanted.b;
                    const float dg = colors[i].g - wanted.g;
                    const float dr = colors[i].r - wanted.r;
                    const float distance = db * db + dg * dg + dr * dr;
                    if (i == 0 || distance < bestDistance)
                    {
                        best = i;
                        bestDistance = distance;
                    }
                }
                table[index] = (averages[best] & 0x00FFFFFFu) | (best << 24);
            }
    return table;
}
