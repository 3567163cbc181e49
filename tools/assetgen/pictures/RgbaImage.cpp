#include "pictures/RgbaImage.h"

#include <stb/stb_image_write.h>

CRgbaImage::CRgbaImage(uint32_t width, uint32_t height)
    : m_Width(width)
    , m_Height(height)
    , m_Texels(static_cast<std::size_t>(width) * height)
{
}

bool CRgbaImage::WritePng(const std::string& path) const
{
    return stbi_write_png(path.c_str(), static_cast<int>(m_Width), static_cast<int>(m_Height), 4,
                          m_Texels.data(), static_cast<int>(m_Width * 4)) != 0;
}

bool CRgbaImage::WriteJpeg(const std::string& path, int quality) const
{
    std::vector<uint8_t> rgb;
    rgb.reserve(m_Texels.size() * 3);
    for (const SRgba& texel : m_Texels)
        rgb.insert(rgb.end(), {texel.r, texel.g, texel.b});
    return stbi_write_jpg(path.c_str(), static_cast<int>(m_Width), static_cast<int>(m_Height), 3, rgb.data(),
                          quality) != 0;
}
