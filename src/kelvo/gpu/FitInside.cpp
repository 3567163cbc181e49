#include "kelvo/gpu/FitInside.h"

#include <algorithm>
#include <cmath>

SPixelSize FitInside(SPixelSize size, SPixelSize bound)
{
    if (size.m_Width == 0 || size.m_Height == 0)
        return {};
    if (size.m_Width <= bound.m_Width && size.m_Height <= bound.m_Height)
        return size;
    const double scale = std::min(static_cast<double>(bound.m_Width) / size.m_Width,
                                  static_cast<double>(bound.m_Height) / size.m_Height);
    const auto scaled = [scale](uint32_t length, uint32_t limit) {
        const auto rounded = static_cast<uint32_t>(std::lround(length * scale));
        return std::clamp<uint32_t>(rounded, 1, std::max<uint32_t>(limit, 1));
    };
    return {scaled(size.m_Width, bound.m_Width), scaled(size.m_Height, bound.m_Height)};
}
