// Glyph shapes for the generated pictures: the printable ASCII characters (32 to 126) of
// stb_easy_font, built from axis-aligned bars on a grid of unit squares (about 7 x 9 units
// including descenders; the baseline sits at 7).
#pragma once

#include <vector>

struct SGlyphBar
{
    float x0, y0, x1, y1;
};

// The bars of one character in font units, origin at the top-left of its cell; empty for a
// character outside 32 to 126 and for the space.
std::vector<SGlyphBar> GlyphBars(unsigned char character);
// The advance of the text in font units.
float TextAdvance(const char* text);
