#include "pictures/Canvas.h"

#include <algorithm>
#include <cmath>

SColor Srgb(int r, int g, int b)
{
    const auto linear = [](int v) { return std::pow(static_cast<float>(v) / 255.0f, 2.2f); };
    return {linear(r), linear(g), linear(b)};
}

SColor Mix(SColor a, SColor b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

SColor operator*(SColor c, float s)
{
    return {c.r * s, c.g * s, c.b * s};
}

SColor operator+(SColor a, SColor b)
{
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}

SMask::SMask(uint32_t width, uint32_t height)
    : m_Width(width)
    , m_Height(height)
    , m_Values(static_cast<size_t>(width) * height, 0.0f)
{
}

namespace
{
// One box pass along rows (step 1) or columns (step width), with clamped edges.
void BoxPass(std::vector<float>& values, uint32_t lines, uint32_t length, size_t lineStep, size_t step,
             int radius)
{
    std::vector<float> line(length);
    const float scale = 1.0f / static_cast<float>(2 * radius + 1);
    for (uint32_t l = 0; l < lines; ++l)
    {
        float* start = values.data() + l * lineStep;
        for (uint32_t i = 0; i < length; ++i)
            line[i] = start[i * step];
        float sum = 0.0f;
        for (int i = -radius; i <= radius; ++i)
            sum += line[static_cast<uint32_t>(std::clamp<int>(i, 0, static_cast<int>(length) - 1))];
        for (uint32_t i = 0; i < length; ++i)
        {
            start[i * step] = sum * scale;
            const int leaving =
                std::clamp<int>(static_cast<int>(i) - radius, 0, static_cast<int>(length) - 1);
            const int entering =
                std::clamp<int>(static_cast<int>(i) + radius + 1, 0, static_cast<int>(length) - 1);
            sum += line[static_cast<uint32_t>(entering)] - line[static_cast<uint32_t>(leaving)];
        }
    }
}
}

SMask Blurred(const SMask& mask, int radius)
{
    SMask result = mask;
    for (int pass = 0; pass < 3; ++pass)
    {
        BoxPass(result.m_Values, mask.m_Height, mask.m_Width, mask.m_Width, 1, radius);
        BoxPass(result.m_Values, mask.m_Width, mask.m_Height, 1, mask.m_Width, radius);
    }
    return result;
}

SMask Shifted(const SMask& mask, int dx, int dy)
{
    SMask result(mask.m_Width, mask.m_Height);
    for (uint32_t y = 0; y < mask.m_Height; ++y)
        for (uint32_t x = 0; x < mask.m_Width; ++x)
        {
            const int sx = static_cast<int>(x) - dx;
            const int sy = static_cast<int>(y) - dy;
            if (sx >= 0 && sy >= 0 && sx < static_cast<int>(mask.m_Width) &&
                sy < static_cast<int>(mask.m_Height))
                result.At(x, y) = mask.At(static_cast<uint32_t>(sx), static_cast<uint32_t>(sy));
        }
    return result;
}

CCanvas::CCanvas(uint32_t width, uint32_t height)
    : m_Width(width)
    , m_Height(height)
    , m_Texels(static_cast<size_t>(width) * height)
{
}

void CCanvas::FillVertical(const std::vector<std::pair<float, SColor>>& stops)
{
    for (uint32_t y = 0; y < m_Height; ++y)
    {
        const float v = static_cast<float>(y) / static_cast<float>(m_Height - 1);
        SColor color = stops.front().second;
        for (size_t i = 1; i < stops.size(); ++i)
            if (v <= stops[i].first)
            {
                const float span = stops[i].first - stops[i - 1].first;
                const float t = span > 0.0f ? (v - stops[i - 1].first) / span : 1.0f;
                color = Mix(stops[i - 1].second, stops[i].second, std::clamp(t, 0.0f, 1.0f));
                break;
            }
            else
                color = stops[i].second;
        for (uint32_t x = 0; x < m_Width; ++x)
            At(x, y) = color;
    }
}

void CCanvas::AddGlow(float cx, float cy, float radius, SColor color)
{
    for (uint32_t y = 0; y < m_Height; ++y)
        for (uint32_t x = 0; x < m_Width; ++x)
        {
            const float dx = (static_cast<float>(x) - cx) / radius;
            const float dy = (static_cast<float>(y) - cy) / radius;
            At(x, y) = At(x, y) + color * std::exp(-(dx * dx + dy * dy));
        }
}

void CCanvas::Vignette(float strength)
{
    for (uint32_t y = 0; y < m_Height; ++y)
        for (uint32_t x = 0; x < m_Width; ++x)
        {
            const float u = 2.0f * static_cast<float>(x) / static_cast<float>(m_Width - 1) - 1.0f;
            const float v = 2.0f * static_cast<float>(y) / static_cast<float>(m_Height - 1) - 1.0f;
            const float d = std::min(1.0f, 0.5f * (u * u + v * v));
            At(x, y) = At(x, y) * (1.0f - strength * d * d);
        }
}

void CCanvas::Paint(const SMask& mask, SColor color, float opacity)
{
    for (uint32_t y = 0; y < m_Height; ++y)
        for (uint32_t x = 0; x < m_Width; ++x)
            At(x, y) = Mix(At(x, y), color, std::clamp(mask.At(x, y) * opacity, 0.0f, 1.0f));
}

void CCanvas::PaintVertical(const SMask& mask, SColor top, SColor bottom, float y0, float y1)
{
    for (uint32_t y = 0; y < m_Height; ++y)
    {
        const float t = std::clamp((static_cast<float>(y) - y0) / (y1 - y0), 0.0f, 1.0f);
        const SColor color = Mix(top, bottom, t);
        for (uint32_t x = 0; x < m_Width; ++x)
            At(x, y) = Mix(At(x, y), color, std::clamp(mask.At(x, y), 0.0f, 1.0f));
    }
}

void CCanvas::AddLight(const SMask& mask, SColor color)
{
    for (uint32_t y = 0; y < m_Height; ++y)
        for (uint32_t x = 0; x < m_Width; ++x)
            At(x, y) = At(x, y) + color * mask.At(x, y);
}

CRgbaImage CCanvas::ToImage() const
{
    CRgbaImage image(m_Width, m_Height);
    const auto encode = [](float linear) {
        const float c = std::clamp(linear, 0.0f, 1.0f);
        return static_cast<uint8_t>(std::lround(std::pow(c, 1.0f / 2.2f) * 255.0f));
    };
    for (uint32_t y = 0; y < m_Height; ++y)
        for (uint32_t x = 0; x < m_Width; ++x)
        {
            const SColor& c = At(x, y);
            image.At(x, y) = {encode(c.r), encode(c.g), encode(c.b), 255};
        }
    return image;
}
