#include "pictures/TrueTypeFont.h"

#include <stb/stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

CTrueTypeFont::CTrueTypeFont()
    : m_Info(std::make_unique<stbtt_fontinfo>())
{
}

CTrueTypeFont::~CTrueTypeFont() = default;

bool CTrueTypeFont::Load(const std::string& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    m_Data.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (m_Data.empty())
    {
        error = "cannot read the font \"" + path + "\"";
        return false;
    }
    const int offset = stbtt_GetFontOffsetForIndex(m_Data.data(), 0);
    if (offset < 0 || !stbtt_InitFont(m_Info.get(), m_Data.data(), offset))
    {
        error = "\"" + path + "\" is no TrueType font";
        m_Data.clear();
        return false;
    }
    return true;
}

float CTrueTypeFont::Measure(const std::string& text, float height, float spacing) const
{
    const float scale = stbtt_ScaleForPixelHeight(m_Info.get(), height);
    float width = 0.0f;
    for (size_t i = 0; i < text.size(); ++i)
    {
        int advance = 0;
        int bearing = 0;
        const int c = static_cast<unsigned char>(text[i]);
        stbtt_GetCodepointHMetrics(m_Info.get(), c, &advance, &bearing);
        width += advance * scale;
        if (i + 1 < text.size())
            width += stbtt_GetCodepointKernAdvance(m_Info.get(), c, static_cast<unsigned char>(text[i + 1])) *
                         scale +
                     spacing;
    }
    return width;
}

float CTrueTypeFont::CapHeight(float height) const
{
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stbtt_GetCodepointBox(m_Info.get(), 'H', &x0, &y0, &x1, &y1);
    return static_cast<float>(y1) * stbtt_ScaleForPixelHeight(m_Info.get(), height);
}

void CTrueTypeFont::Draw(SMask& mask, const std::string& text, float x, float baseline, float height,
                         float spacing) const
{
    const float scale = stbtt_ScaleForPixelHeight(m_Info.get(), height);
    std::vector<unsigned char> glyph;
    float penX = x;
    for (size_t i = 0; i < text.size(); ++i)
    {
        const int c = static_cast<unsigned char>(text[i]);
        const float shiftX = penX - std::floor(penX);
        const float shiftY = baseline - std::floor(baseline);
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        stbtt_GetCodepointBitmapBoxSubpixel(m_Info.get(), c, scale, scale, shiftX, shiftY, &x0, &y0, &x1,
                                            &y1);
        const int w = x1 - x0;
        const int h = y1 - y0;
        if (w > 0 && h > 0)
        {
            glyph.assign(static_cast<size_t>(w) * h, 0);
            stbtt_MakeCodepointBitmapSubpixel(m_Info.get(), glyph.data(), w, h, w, scale, scale, shiftX,
                                              shiftY, c);
            const int left = static_cast<int>(std::floor(penX)) + x0;
            const int top = static_cast<int>(std::floor(baseline)) + y0;
            for (int gy = 0; gy < h; ++gy)
                for (int gx = 0; gx < w; ++gx)
                {
                    const int mx = left + gx;
                    const int my = top + gy;
                    if (mx < 0 || my < 0 || mx >= static_cast<int>(mask.m_Width) ||
                        my >= static_cast<int>(mask.m_Height))
                        continue;
                    float& value = mask.At(static_cast<uint32_t>(mx), static_cast<uint32_t>(my));
                    value = std::min(1.0f, value + glyph[static_cast<size_t>(gy) * w + gx] / 255.0f);
                }
        }
        int advance = 0;
        int bearing = 0;
        stbtt_GetCodepointHMetrics(m_Info.get(), c, &advance, &bearing);
        penX += advance * scale + spacing;
        if (i + 1 < text.size())
            penX += stbtt_GetCodepointKernAdvance(m_Info.get(), c, static_cast<unsigned char>(text[i + 1])) *
                    scale;
    }
}

void CTrueTypeFont::DrawCentred(SMask& mask, const std::string& text, float centreX, float baseline,
                                float height, float spacing) const
{
    Draw(mask, text, centreX - 0.5f * Measure(text, height, spacing), baseline, height, spacing);
}
