#include "pictures/GlyphRaster.h"

#include <stb/stb_easy_font.h>

#include <cstring>

namespace
{
// One quad is four vertices of x, y, z (floats) and a colour (4 bytes).
struct SEasyFontVertex
{
    float x, y, z;
    unsigned char color[4];
};
static_assert(sizeof(SEasyFontVertex) == 16);
}

std::vector<SGlyphBar> GlyphBars(unsigned char character)
{
    std::vector<SGlyphBar> bars;
    if (character < 32 || character > 126)
        return bars;
    char text[2] = {static_cast<char>(character), 0};
    static SEasyFontVertex vertices[4 * 64];
    const int quads = stb_easy_font_print(0.0f, 0.0f, text, nullptr, vertices, sizeof(vertices));
    for (int q = 0; q < quads; ++q)
    {
        const SEasyFontVertex* quad = vertices + 4 * q;
        // Corners 0 and 2 are opposite.
        bars.push_back({quad[0].x, quad[0].y, quad[2].x, quad[2].y});
    }
    return bars;
}

float TextAdvance(const char* text)
{
    std::vector<char> copy(text, text + std::strlen(text) + 1);
    return static_cast<float>(stb_easy_font_width(copy.data()));
}
