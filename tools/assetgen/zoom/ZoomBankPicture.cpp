#include "zoom/ZoomBankPicture.h"

#include "brovell/scenes/ZoomPath.h"
#include "zoom/ZoomThemes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
constexpr uint32_t kPerRow = kZoomBankSize / kZoomBankImageSize;
constexpr float kLevels[4] = {0.14f, 0.38f, 0.62f, 0.86f};
constexpr float kBallRadius = 14.0f;

// Where the path dives into a picture: the texel and the picture it turns into.
struct SDive
{
    uint32_t m_Image;
    int m_X;
    int m_Y;
    uint32_t m_Next;
};

std::vector<SDive> Dives()
{
    std::vector<SDive> dives;
    const size_t count = std::size(kZoomPath);
    for (size_t k = 0; k + 1 < count; ++k)
    {
        const SZoomKey& key = kZoomPath[k];
        // The first key's texel is given in the whole bank.
        const uint32_t image =
            k == 0 ? (key.m_Y / kZoomBankImageSize) * kPerRow + key.m_X / kZoomBankImageSize : key.m_Image;
        dives.push_back({image, static_cast<int>(key.m_X % kZoomBankImageSize),
                         static_cast<int>(key.m_Y % kZoomBankImageSize), kZoomPath[k + 1].m_Image});
    }
    return dives;
}

uint8_t ToByte(float value)
{
    return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

float& Channel(SColor& c, int channel)
{
    return channel == 0 ? c.r : (channel == 1 ? c.g : c.b);
}

// One picture being made: display values, and which texels the fit must leave alone.
struct SBankImage
{
    std::vector<SColor> m_Texels = std::vector<SColor>(kZoomBankImageSize * kZoomBankImageSize);
    std::vector<bool> m_Fixed = std::vector<bool>(kZoomBankImageSize * kZoomBankImageSize, false);

    SColor& At(int x, int y) { return m_Texels[static_cast<size_t>(y) * kZoomBankImageSize + x]; }
};

void PaintTheme(SBankImage& image, uint32_t index)
{
    const SZoomPalette palette = MakeZoomPalette(ZoomBankTarget(index));
    const int theme = static_cast<int>((index * 5 + (index / 16) * 3) % kZoomThemeCount);
    const float size = static_cast<float>(kZoomBankImageSize);
    for (int y = 0; y < static_cast<int>(kZoomBankImageSize); ++y)
        for (int x = 0; x < static_cast<int>(kZoomBankImageSize); ++x)
        {
            // Four samples per texel smooth the edges.
            SColor sum;
            for (int s = 0; s < 4; ++s)
            {
                const float u = (static_cast<float>(x) + 0.25f + 0.5f * static_cast<float>(s % 2)) / size;
                const float v = (static_cast<float>(y) + 0.25f + 0.5f * static_cast<float>(s / 2)) / size;
                sum = sum + ZoomThemeColor(theme, u, v, palette, index * 7919u + 17u);
            }
            image.At(x, y) = sum * 0.25f;
        }
}

// A lit ball in the next picture's colour around the dive texel, ringed so that it stands out.
void PaintDiveBall(SBankImage& image, const SDive& dive)
{
    const SColor color = ZoomBankTarget(dive.m_Next);
    const float brightness = 0.3f * color.r + 0.59f * color.g + 0.11f * color.b;
    const SColor ring = brightness > 0.5f ? color * 0.25f : Mix(color, SColor{1.0f, 1.0f, 1.0f}, 0.7f);
    const int reach = static_cast<int>(kBallRadius) + 3;
    for (int y = dive.m_Y - reach; y <= dive.m_Y + reach; ++y)
        for (int x = dive.m_X - reach; x <= dive.m_X + reach; ++x)
        {
            if (x < 0 || y < 0 || x >= static_cast<int>(kZoomBankImageSize) ||
                y >= static_cast<int>(kZoomBankImageSize))
                continue;
            const float dx = static_cast<float>(x - dive.m_X) / kBallRadius;
            const float dy = static_cast<float>(y - dive.m_Y) / kBallRadius;
            const float d = std::hypot(dx, dy);
            const size_t at = static_cast<size_t>(y) * kZoomBankImageSize + x;
            if (d < 1.0f)
            {
                // Light from the top left; the centre keeps the colour itself.
                const float nz = std::sqrt(1.0f - d * d);
                const float light = -0.4f * dx - 0.4f * dy + 0.82f * (nz - 1.0f);
                image.m_Texels[at] = SColor{std::clamp(color.r + light * 0.5f, 0.0f, 1.0f),
                                            std::clamp(color.g + light * 0.5f, 0.0f, 1.0f),
                                            std::clamp(color.b + light * 0.5f, 0.0f, 1.0f)};
                image.m_Fixed[at] = true;
            }
            else if (d < 1.0f + 2.5f / kBallRadius)
            {
                image.m_Texels[at] = ring;
                image.m_Fixed[at] = true;
            }
        }
}

// Bends each channel of the free texels with a power curve until the picture's average is
// the target; texels are kept inside 2..253 so that every channel can move.
void FitAverage(SBankImage& image, SColor target)
{
    const auto count = static_cast<float>(image.m_Texels.size());
    for (int channel = 0; channel < 3; ++channel)
    {
        float fixedSum = 0.0f;
        for (size_t i = 0; i < image.m_Texels.size(); ++i)
        {
            float& value = Channel(image.m_Texels[i], channel);
            if (image.m_Fixed[i])
                fixedSum += value;
            else
                value = 0.01f + 0.98f * value;
        }
        const float wanted = Channel(target, channel) * count - fixedSum;
        auto freeSum = [&](float power) {
            float sum = 0.0f;
            for (size_t i = 0; i < image.m_Texels.size(); ++i)
                if (!image.m_Fixed[i])
                    sum += std::pow(Channel(image.m_Texels[i], channel), power);
            return sum;
        };
        // The sum falls as the power grows: bisect its logarithm.
        float low = -4.0f, high = 4.0f;
        for (int step = 0; step < 40; ++step)
        {
            const float middle = 0.5f * (low + high);
            (freeSum(std::exp(middle)) > wanted ? low : high) = middle;
        }
        const float power = std::exp(0.5f * (low + high));
        for (size_t i = 0; i < image.m_Texels.size(); ++i)
            if (!image.m_Fixed[i])
            {
                float& value = Channel(image.m_Texels[i], channel);
                value = std::pow(value, power);
            }
    }
}
}

SColor ZoomBankTarget(uint32_t image)
{
    // Images side by side differ in hue; every level of each channel appears 16 times.
    return {kLevels[image % 4], kLevels[(image / 4) % 4], kLevels[(image / 16) % 4]};
}

CRgbaImage MakeZoomBankPicture()
{
    CRgbaImage bank(kZoomBankSize, kZoomBankSize);
    const std::vector<SDive> dives = Dives();
    for (uint32_t index = 0; index < kZoomBankImages; ++index)
    {
        SBankImage image;
        PaintTheme(image, index);
        for (const SDive& dive : dives)
            if (dive.m_Image == index)
                PaintDiveBall(image, dive);
        FitAverage(image, ZoomBankTarget(index));
        // The dive texels and their neighbours carry the next picture's average exactly.
        for (const SDive& dive : dives)
            if (dive.m_Image == index)
                for (int y = dive.m_Y - 1; y <= dive.m_Y + 1; ++y)
                    for (int x = dive.m_X - 1; x <= dive.m_X + 1; ++x)
                        image.At(x, y) = ZoomBankTarget(dive.m_Next);
        const uint32_t left = (index % kPerRow) * kZoomBankImageSize;
        const uint32_t top = (index / kPerRow) * kZoomBankImageSize;
        for (uint32_t y = 0; y < kZoomBankImageSize; ++y)
            for (uint32_t x = 0; x < kZoomBankImageSize; ++x)
            {
                const SColor& c = image.At(static_cast<int>(x), static_cast<int>(y));
                bank.At(left + x, top + y) = {ToByte(c.r), ToByte(c.g), ToByte(c.b), 255};
            }
    }
    return bank;
}
