#include "pictures/BallScenePictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace
{
constexpr uint32_t kOverlayWidth = 1280;
constexpr uint32_t kOverlayHeight = 720;

// Texel hash in [0, 1): the same value for the same texel on every build.
float Hash(uint32_t x, uint32_t y, uint32_t seed)
{
    uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xffffff) / 16777216.0f;
}

// An overlay being composed: each layer paints its colour and adds its coverage.
class COverlay
{
public:
    COverlay()
        : m_Color(kOverlayWidth, kOverlayHeight)
        , m_Coverage(kOverlayWidth, kOverlayHeight)
    {
    }

    SMask NewMask() const { return SMask(kOverlayWidth, kOverlayHeight); }
    void Add(const SMask& mask, SColor color, float opacity)
    {
        m_Color.Paint(mask, color);
        for (size_t i = 0; i < mask.m_Values.size(); ++i)
            m_Coverage.m_Values[i] = std::max(m_Coverage.m_Values[i], mask.m_Values[i] * opacity);
    }
    SOverlayPicture Finish() const
    {
        CCanvas alpha(kOverlayWidth, kOverlayHeight);
        for (uint32_t y = 0; y < kOverlayHeight; ++y)
            for (uint32_t x = 0; x < kOverlayWidth; ++x)
            {
                // Coverage is stored as grey in gamma-encoded light, so undo the encoding here.
                const float c = std::pow(std::clamp(m_Coverage.At(x, y), 0.0f, 1.0f), 2.2f);
                alpha.At(x, y) = {c, c, c};
            }
        return {m_Color, alpha};
    }

private:
    CCanvas m_Color;
    SMask m_Coverage;
};

// A rectangle [x0, x1) x [y0, y1) with edges antialiased over one texel.
SMask Box(const COverlay& overlay, float x0, float y0, float x1, float y1)
{
    SMask mask = overlay.NewMask();
    for (uint32_t y = 0; y < mask.m_Height; ++y)
        for (uint32_t x = 0; x < mask.m_Width; ++x)
        {
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            const float cx = std::clamp(std::min(px - x0, x1 - px) + 0.5f, 0.0f, 1.0f);
            const float cy = std::clamp(std::min(py - y0, y1 - py) + 0.5f, 0.0f, 1.0f);
            mask.At(x, y) = cx * cy;
        }
    return mask;
}

// A ring of the given radius and width around (cx, cy), open between the angles openFrom and openTo.
SMask Ring(const COverlay& overlay, float cx, float cy, float radius, float width, float openFrom = 7.0f,
           float openTo = 7.0f)
{
    SMask mask = overlay.NewMask();
    for (uint32_t y = 0; y < mask.m_Height; ++y)
        for (uint32_t x = 0; x < mask.m_Width; ++x)
        {
            const float dx = static_cast<float>(x) + 0.5f - cx;
            const float dy = static_cast<float>(y) + 0.5f - cy;
            const float angle = std::atan2(dy, dx);
            if (angle > openFrom && angle < openTo)
                continue;
            const float d = std::fabs(std::sqrt(dx * dx + dy * dy) - radius);
            mask.At(x, y) = std::clamp(width * 0.5f + 0.5f - d, 0.0f, 1.0f);
        }
    return mask;
}

SMask Text(const COverlay& overlay, const CTrueTypeFont& font, const char* text, float x, float baseline,
           float height, float spacing = 0.0f)
{
    SMask mask = overlay.NewMask();
    font.Draw(mask, text, x, baseline, height, spacing);
    return mask;
}

// Coverage that fades from 1 at x0 to 0 at x1 inside the mask.
SMask FadeAcross(SMask mask, float x0, float x1)
{
    for (uint32_t y = 0; y < mask.m_Height; ++y)
        for (uint32_t x = 0; x < mask.m_Width; ++x)
            mask.At(x, y) *= std::clamp((x1 - static_cast<float>(x)) / (x1 - x0), 0.0f, 1.0f);
    return mask;
}

const SColor kInk = Srgb(8, 12, 30);
const SColor kWhite = Srgb(255, 255, 255);
const SColor kAmber = Srgb(255, 170, 40);
const SColor kIce = Srgb(170, 215, 255);
}

SOverlayPicture MakeJugglerOverlay(const SShowFonts& fonts)
{
    // The visible band is y < 216: a dark strip fading to the right, an amber bar, the title.
    COverlay overlay;
    overlay.Add(FadeAcross(Box(overlay, 0.0f, 36.0f, 1280.0f, 196.0f), 700.0f, 1280.0f), kInk, 0.6f);
    overlay.Add(Box(overlay, 60.0f, 56.0f, 70.0f, 176.0f), kAmber, 1.0f);
    overlay.Add(Text(overlay, fonts.m_SansBold, "ONE JUGGLER", 92.0f, 124.0f, 70.0f, 4.0f), kWhite, 1.0f);
    overlay.Add(Text(overlay, fonts.m_Serif, "a figure of balls, traced every frame", 96.0f, 166.0f, 28.0f),
                kIce, 0.9f);
    overlay.Add(FadeAcross(Box(overlay, 92.0f, 190.0f, 1100.0f, 192.0f), 400.0f, 1100.0f), kAmber, 0.9f);
    return overlay.Finish();
}

SOverlayPicture MakeFieldOverlay(const SShowFonts& fonts)
{
    // Shown shifted left by 0.3 of the screen: x = 384 of the picture is the screen's left edge.
    COverlay overlay;
    overlay.Add(Ring(overlay, 700.0f, 300.0f, 210.0f, 3.0f), kWhite, 0.75f);
    overlay.Add(Ring(overlay, 700.0f, 300.0f, 236.0f, 12.0f, 0.4f, 2.6f), kAmber, 0.85f);
    overlay.Add(Ring(overlay, 700.0f, 300.0f, 150.0f, 1.5f), kIce, 0.6f);
    overlay.Add(Box(overlay, 430.0f, 560.0f, 440.0f, 668.0f), kAmber, 1.0f);
    overlay.Add(Text(overlay, fonts.m_SansBold, "THE FIELD", 458.0f, 626.0f, 84.0f, 6.0f), kWhite, 1.0f);
    overlay.Add(Text(overlay, fonts.m_Serif, "jugglers to the horizon", 462.0f, 664.0f, 30.0f), kIce, 0.9f);
    return overlay.Finish();
}

SOverlayPicture MakeBallsOverlay(const SShowFonts& fonts)
{
    COverlay overlay;
    // Corner marks of a viewfinder.
    const float m = 48.0f, l = 110.0f, w = 6.0f;
    for (const float x : {m, 1280.0f - m - l})
        for (const float y : {m, 720.0f - m - w})
            overlay.Add(Box(overlay, x, y, x + l, y + w), kWhite, 0.85f);
    for (const float x : {m, 1280.0f - m - w})
        for (const float y : {m, 720.0f - m - l})
            overlay.Add(Box(overlay, x, y, x + w, y + l), kWhite, 0.85f);
    SMask title = overlay.NewMask();
    fonts.m_SansBold.DrawCentred(title, "LOOSE BALLS", 640.0f, 384.0f, 90.0f, 8.0f);
    overlay.Add(title, kWhite, 1.0f);
    SMask line = overlay.NewMask();
    fonts.m_Serif.DrawCentred(line, "under a swinging gravity", 640.0f, 432.0f, 32.0f);
    overlay.Add(line, kAmber, 0.95f);
    return overlay.Finish();
}

CCanvas MakeTileFloor()
{
    CCanvas canvas(256, 256);
    const SColor sand = Srgb(214, 190, 150);
    const SColor umber = Srgb(120, 86, 60);
    for (uint32_t y = 0; y < 256; ++y)
        for (uint32_t x = 0; x < 256; ++x)
        {
            const bool odd = ((x / 2) + (y / 2)) % 2 != 0;
            const float shade = 0.85f + 0.3f * Hash(x / 2, y / 2, 1);
            canvas.At(x, y) = (odd ? umber : sand) * shade;
        }
    return canvas;
}

CCanvas MakeMetalFloor()
{
    CCanvas canvas(256, 256);
    const SColor steel = Srgb(150, 158, 170);
    const SColor seam = Srgb(40, 44, 52);
    for (uint32_t y = 0; y < 256; ++y)
        for (uint32_t x = 0; x < 256; ++x)
        {
            // Each plate has its own sheen; texels within it vary a little (brushing).
            const float plate = 0.8f + 0.35f * Hash(x / 4, y / 4, 2);
            const float brush = 0.94f + 0.12f * Hash(x, y, 3);
            const bool onSeam = x % 4 == 0 || y % 4 == 0;
            canvas.At(x, y) = onSeam ? seam : steel * (plate * brush);
        }
    return canvas;
}
