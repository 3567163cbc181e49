// Text set with a TrueType font (stb_truetype): glyph outlines rendered at sub-pixel
// positions with kerning, into a coverage mask. The font file is read whole at Load.
#pragma once

#include "pictures/Canvas.h"

#include <memory>
#include <string>
#include <vector>

struct stbtt_fontinfo;

class CTrueTypeFont
{
public:
    CTrueTypeFont();
    ~CTrueTypeFont();
    CTrueTypeFont(const CTrueTypeFont&) = delete;
    CTrueTypeFont& operator=(const CTrueTypeFont&) = delete;

    // False with a message in error when the file cannot be read or is no TrueType font.
    bool Load(const std::string& path, std::string& error);

    // Width in texels of text at the given em height and extra space between letters.
    float Measure(const std::string& text, float height, float spacing = 0.0f) const;
    // Height above the baseline of capital letters, in texels.
    float CapHeight(float height) const;
    // Adds the coverage of text to mask, starting at x with its baseline at y.
    void Draw(SMask& mask, const std::string& text, float x, float baseline, float height,
              float spacing = 0.0f) const;
    // Draws text centred on centreX.
    void DrawCentred(SMask& mask, const std::string& text, float centreX, float baseline, float height,
                     float spacing = 0.0f) const;

private:
    std::vector<unsigned char> m_Data;
    std::unique_ptr<stbtt_fontinfo> m_Info;
};
