#include "zoom/ZoomOverlayPicture.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr uint32_t kWidth = 1920;
constexpr uint32_t kHeight = 1080;

// The outline of the rectangle (x0, y0)-(x1, y1), width texels wide, into mask.
void AddFrame(SMask& mask, float x0, float y0, float x1, float y1, float width)
{
    for (uint32_t y = 0; y < kHeight; ++y)
        for (uint32_t x = 0; x < kWidth; ++x)
        {
            const float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
            const bool inside = fx > x0 - width && fx < x1 + width && fy > y0 - width && fy < y1 + width;
            const float edge =
                std::min({std::abs(fx - x0), std::abs(fx - x1), std::abs(fy - y0), std::abs(fy - y1)});
            if (inside)
                mask.At(x, y) = std::max(mask.At(x, y), std::clamp(width - edge, 0.0f, 1.0f));
        }
}

// A diamond of the given radius centred on (cx, cy), into mask.
void AddDiamond(SMask& mask, float cx, float cy, float radius)
{
    for (int y = static_cast<int>(cy - radius) - 1; y <= static_cast<int>(cy + radius) + 1; ++y)
        for (int x = static_cast<int>(cx - radius) - 1; x <= static_cast<int>(cx + radius) + 1; ++x)
        {
            const float d =
                std::abs(static_cast<float>(x) + 0.5f - cx) + std::abs(static_cast<float>(y) + 0.5f - cy);
            if (x >= 0 && y >= 0 && x < static_cast<int>(kWidth) && y < static_cast<int>(kHeight))
                mask.At(static_cast<uint32_t>(x), static_cast<uint32_t>(y)) =
                    std::max(mask.At(static_cast<uint32_t>(x), static_cast<uint32_t>(y)),
                             std::clamp(radius - d, 0.0f, 1.0f));
        }
}
}

CCanvas MakeZoomOverlayPicture(const SShowFonts& fonts)
{
    CCanvas canvas(kWidth, kHeight);
    SMask frame(kWidth, kHeight);
    const float margin = 44.0f;
    const float right = kWidth - margin, bottom = kHeight - margin;
    AddFrame(frame, margin, margin, right, bottom, 2.0f);
    AddFrame(frame, margin + 10.0f, margin + 10.0f, right - 10.0f, bottom - 10.0f, 1.0f);
    for (float x : {margin, right})
        for (float y : {margin, bottom})
            AddDiamond(frame, x, y, 14.0f);

    // The words sit on a gap in the frame's bottom edge.
    const char* words = "PICTURES  WITHIN  PICTURES";
    const float height = 30.0f, spacing = 9.0f;
    const float width = fonts.m_Serif.Measure(words, height, spacing);
    const float gapLeft = 0.5f * kWidth - 0.5f * width - 30.0f,
                gapRight = 0.5f * kWidth + 0.5f * width + 30.0f;
    for (uint32_t y = static_cast<uint32_t>(bottom - 16.0f); y < static_cast<uint32_t>(bottom + 6.0f); ++y)
        for (uint32_t x = static_cast<uint32_t>(gapLeft); x < static_cast<uint32_t>(gapRight); ++x)
            frame.At(x, y) = 0.0f;
    SMask text(kWidth, kHeight);
    fonts.m_Serif.DrawCentred(text, words, 0.5f * kWidth, bottom + 0.4f * fonts.m_Serif.CapHeight(height),
                              height, spacing);
    AddDiamond(frame, gapLeft + 12.0f, bottom - 5.0f, 5.0f);
    AddDiamond(frame, gapRight - 12.0f, bottom - 5.0f, 5.0f);

    canvas.AddLight(Blurred(frame, 4), Srgb(255, 190, 90) * 0.25f);
    canvas.Paint(frame, Srgb(255, 214, 140));
    canvas.AddLight(Blurred(text, 5), Srgb(255, 190, 90) * 0.3f);
    canvas.Paint(text, Srgb(255, 236, 200));
    return canvas;
}
