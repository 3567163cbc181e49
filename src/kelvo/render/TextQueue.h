// The renderer's screen texts for one frame: each text is placed by its centre in unit
// screen coordinates (origin bottom-left, y up) and drawn with the 16 x 16 glyph grid of the
// font texture through the mesh "text_mesh"; drawing empties the queue. Main thread only.
#pragma once

#include "kelvo/core/Math.h"

#include <cstdint>
#include <string>
#include <vector>

class IGPUTexture;

struct STextRecord
{
    std::string m_Text;
    // x, y: the text's centre; z, w: carried, not read.
    SVector4 m_Position;
};

class CTextQueue
{
public:
    // The glyph cell in pixels, from the font's size.
    void SetCellSize(uint32_t width, uint32_t height);

    // Queues text at position measured from the corner that anchor names: 0 top-left,
    // 1 top-right, 2 bottom-left, 3 bottom-right (x, y from that corner inwards); any other
    // anchor takes position as the centre itself. screenWidth and screenHeight are in pixels.
    void Add(const SVector4& position, const std::string& text, int anchor, uint32_t screenWidth,
             uint32_t screenHeight);

    // Draws every queued text with font on stage 0 and empties the queue; 0 also with
    // nothing to draw, 27 without the effect "default", 53 without the mesh "text_mesh",
    // 29 when either resource is missing.
    uint32_t Draw(IGPUTexture* font);

    const std::vector<STextRecord>& GetTexts() const { return m_Texts; }

private:
    std::vector<STextRecord> m_Texts;
    uint32_t m_CellWidth = 0;
    uint32_t m_CellHeight = 0;
};
