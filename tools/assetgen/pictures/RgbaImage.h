// A picture in memory: rows of 8-bit RGBA texels, row 0 at the top, written as PNG or JPEG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SRgba
{
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

class CRgbaImage
{
public:
    CRgbaImage(uint32_t width, uint32_t height);

    uint32_t GetWidth() const { return m_Width; }
    uint32_t GetHeight() const { return m_Height; }
    SRgba& At(uint32_t x, uint32_t y) { return m_Texels[static_cast<std::size_t>(y) * m_Width + x]; }
    const SRgba& At(uint32_t x, uint32_t y) const
    {
        return m_Texels[static_cast<std::size_t>(y) * m_Width + x];
    }

    // False when the file cannot be written.
    bool WritePng(const std::string& path) const;
    // Colour only (alpha is dropped), at the given quality (1..100).
    bool WriteJpeg(const std::string& path, int quality) const;

private:
    uint32_t m_Width;
    uint32_t m_Height;
    std::vector<SRgba> m_Texels;
};
