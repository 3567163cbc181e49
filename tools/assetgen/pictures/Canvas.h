// A picture being composed: linear RGB floats, row 0 at the top. Layers are painted on with
// an opacity per texel (a coverage mask or a gradient) and the result is quantised once.
#pragma once

#include "pictures/RgbaImage.h"

#include <cstdint>
#include <vector>

struct SColor
{
    float r = 0.0f, g = 0.0f, b = 0.0f;
};

// A colour given as gamma-encoded 8-bit values, in linear light.
SColor Srgb(int r, int g, int b);
SColor Mix(SColor a, SColor b, float t);
SColor operator*(SColor c, float s);
SColor operator+(SColor a, SColor b);

// Per-texel opacity in [0, 1], the same size as the canvas it is painted on.
struct SMask
{
    SMask(uint32_t width, uint32_t height);

    float& At(uint32_t x, uint32_t y) { return m_Values[static_cast<size_t>(y) * m_Width + x]; }
    float At(uint32_t x, uint32_t y) const { return m_Values[static_cast<size_t>(y) * m_Width + x]; }

    uint32_t m_Width;
    uint32_t m_Height;
    std::vector<float> m_Values;
};

// The mask blurred by three box passes of the given radius (close to a Gaussian).
SMask Blurred(const SMask& mask, int radius);
// The mask moved by (dx, dy) texels; what moves in is empty.
SMask Shifted(const SMask& mask, int dx, int dy);

class CCanvas
{
public:
    CCanvas(uint32_t width, uint32_t height);

    uint32_t GetWidth() const { return m_Width; }
    uint32_t GetHeight() const { return m_Height; }
    SColor& At(uint32_t x, uint32_t y) { return m_Texels[static_cast<size_t>(y) * m_Width + x]; }
    const SColor& At(uint32_t x, uint32_t y) const { return m_Texels[static_cast<size_t>(y) * m_Width + x]; }

    // Top-to-bottom gradient through colour stops at positions 0..1 (ascending).
    void FillVertical(const std::vector<std::pair<float, SColor>>& stops);
    // Adds light of colour around (cx, cy) falling off as exp(-(d / radius)^2).
    void AddGlow(float cx, float cy, float radius, SColor color);
    // Darkens the edges: strength 0 leaves it, 1 takes the corners to black.
    void Vignette(float strength);
    // colour over the canvas with the mask as opacity, times opacity.
    void Paint(const SMask& mask, SColor color, float opacity = 1.0f);
    // Like Paint, with a colour that goes from top to bottom across rows y0..y1.
    void PaintVertical(const SMask& mask, SColor top, SColor bottom, float y0, float y1);
    // Adds colour (light) with the mask as weight.
    void AddLight(const SMask& mask, SColor color);

    // Gamma-encoded 8-bit texels, opaque.
    CRgbaImage ToImage() const;

private:
    uint32_t m_Width;
    uint32_t m_Height;
    std::vector<SColor> m_Texels;
};
