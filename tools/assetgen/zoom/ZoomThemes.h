// The pictures of the zoom bank: sixteen themes (landscapes, sea, sky, flowers, patterns,
// a city, a face, balls...) painted in a palette made from one colour. Pictures are
// evaluated per point, in display values (gamma-encoded, 0..1), so that the bank's average
// colours are what the effect sees.
#pragma once

#include "pictures/Canvas.h"

#include <cstdint>

inline constexpr int kZoomThemeCount = 16;

struct SZoomPalette
{
    SColor m_Dark;
    SColor m_Base;
    SColor m_Light;
    SColor m_Accent;
};

// Colours around base: darker and lighter shades and a contrasting accent.
SZoomPalette MakeZoomPalette(SColor base);

// Theme theme (0..15) at (u, v) in the unit square, v down; seed varies the layout.
SColor ZoomThemeColor(int theme, float u, float v, const SZoomPalette& palette, uint32_t seed);
