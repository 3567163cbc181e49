// "font_vc60.png": a 16 x 16 grid of glyph cells indexed by byte value (column = byte mod
// 16, row = byte div 16), white glyphs on transparent texels. Bytes without a glyph stay
// empty.
#pragma once

#include "pictures/RgbaImage.h"

#include <cstdint>

inline constexpr uint32_t kFontCellSize = 24;

CRgbaImage MakeFontPicture();
