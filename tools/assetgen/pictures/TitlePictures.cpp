#include "pictures/TitlePictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace
{
// A small fixed generator for star fields and ridges: the same picture on every build.
class CPictureRandom
{
public:
    explicit CPictureRandom(uint32_t seed)
        : m_State(seed)
    {
    }
    float Next()
    {
        m_State = m_State * 1664525u + 1013904223u;
        return static_cast<float>(m_State >> 8) / 16777216.0f;
    }

private:
    uint32_t m_State;
};

// Smooth 1-D noise from a fixed table of random values, cosine-interpolated.
class CRidge
{
public:
    CRidge(uint32_t seed, int points)
    {
        CPictureRandom random(seed);
        for (int i = 0; i <= points; ++i)
            m_Values.push_back(random.Next());
    }
    float At(float u) const
    {
        const float x = std::clamp(u, 0.0f, 1.0f) * static_cast<float>(m_Values.size() - 1);
        const size_t i = std::min(static_cast<size_t>(x), m_Values.size() - 2);
        const float w = (1.0f - std::cos((x - static_cast<float>(i)) * std::numbers::pi_v<float>)) * 0.5f;
        return m_Values[i] * (1.0f - w) + m_Values[i + 1] * w;
    }

private:
    std::vector<float> m_Values;
};

void AddStars(CCanvas& canvas, uint32_t seed, int count, float maxV, float brightness)
{
    CPictureRandom random(seed);
    const float w = static_cast<float>(canvas.GetWidth());
    const float h = static_cast<float>(canvas.GetHeight());
    for (int i = 0; i < count; ++i)
    {
        const float x = random.Next() * w;
        const float v = random.Next();
        const float y = v * v * maxV * h; // denser high up
        const float size = 0.6f + 1.8f * random.Next() * random.Next();
        const float light = brightness * (0.3f + 0.7f * random.Next()) * (1.0f - v);
        const SColor tint = Mix(Srgb(255, 230, 200), Srgb(190, 210, 255), random.Next());
        const int reach = static_cast<int>(std::ceil(size * 3.0f));
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx)
            {
                const int px = static_cast<int>(x) + dx;
                const int py = static_cast<int>(y) + dy;
                if (px < 0 || py < 0 || px >= static_cast<int>(w) || py >= static_cast<int>(h))
                    continue;
                const float d2 = (static_cast<float>(dx * dx + dy * dy)) / (size * size);
                SColor& texel = canvas.At(static_cast<uint32_t>(px), static_cast<uint32_t>(py));
                texel = texel + tint * (light * std::exp(-2.0f * d2));
            }
    }
}

// Everything below the ridge line (texels per column) becomes colour, with a soft top edge.
void PaintRidge(CCanvas& canvas, const CRidge& ridge, float base, float height, SColor color, float hazeTop)
{
    const float h = static_cast<float>(canvas.GetHeight());
    for (uint32_t x = 0; x < canvas.GetWidth(); ++x)
    {
        const float u = static_cast<float>(x) / static_cast<float>(canvas.GetWidth() - 1);
        const float top = (base - height * ridge.At(u)) * h;
        for (uint32_t y = static_cast<uint32_t>(std::max(0.0f, top - 1.0f)); y < canvas.GetHeight(); ++y)
        {
            const float cover = std::clamp(static_cast<float>(y) - top + 1.0f, 0.0f, 1.0f);
            // Lighter (hazier) at the top of the range.
            const float haze = hazeTop * std::exp(-(static_cast<float>(y) - top) / (0.02f * h));
            SColor& texel = canvas.At(x, y);
            texel = Mix(texel, Mix(color, texel, haze), cover);
        }
    }
}

// A mask with the given text, centred, for a canvas of that size.
SMask TextMask(const CCanvas& canvas, const CTrueTypeFont& font, const char* text, float baseline,
               float height, float spacing)
{
    SMask mask(canvas.GetWidth(), canvas.GetHeight());
    font.DrawCentred(mask, text, 0.5f * static_cast<float>(canvas.GetWidth()), baseline, height, spacing);
    return mask;
}

// A horizontal hairline across [x0, x1] at y, fading out towards both ends.
SMask Hairline(const CCanvas& canvas, float x0, float x1, float y, float thickness)
{
    SMask mask(canvas.GetWidth(), canvas.GetHeight());
    for (uint32_t py = 0; py < canvas.GetHeight(); ++py)
    {
        const float cover =
            std::clamp(thickness * 0.5f + 0.5f - std::fabs(static_cast<float>(py) - y), 0.0f, 1.0f);
        if (cover <= 0.0f)
            continue;
        for (uint32_t px = 0; px < canvas.GetWidth(); ++px)
        {
            const float u = (static_cast<float>(px) - x0) / (x1 - x0);
            if (u > 0.0f && u < 1.0f)
                mask.At(px, py) = cover * std::sin(u * std::numbers::pi_v<float>);
        }
    }
    return mask;
}
}

CCanvas MakeScrollPicture()
{
    CCanvas canvas(1024, 2592);
    const float w = static_cast<float>(canvas.GetWidth());
    const float h = static_cast<float>(canvas.GetHeight());
    const float horizon = 0.6f;
    // Night at the top, through violet and rose to the sunset's gold at the horizon.
    canvas.FillVertical({{0.0f, Srgb(3, 4, 14)},
                         {0.22f, Srgb(10, 14, 46)},
                         {0.38f, Srgb(48, 30, 96)},
                         {0.48f, Srgb(150, 62, 120)},
                         {0.55f, Srgb(240, 130, 90)},
                         {horizon, Srgb(255, 206, 130)},
                         {1.0f, Srgb(255, 206, 130)}});
    AddStars(canvas, 7, 2600, 0.47f, 1.6f);
    // The sun sinking behind the mountains, with its halo.
    canvas.AddGlow(0.5f * w, 0.565f * h, 0.28f * w, Srgb(255, 150, 80) * 0.35f);
    canvas.AddGlow(0.5f * w, 0.565f * h, 0.1f * w, Srgb(255, 220, 160) * 0.9f);
    SMask sun(canvas.GetWidth(), canvas.GetHeight());
    for (uint32_t y = 0; y < canvas.GetHeight(); ++y)
        for (uint32_t x = 0; x < canvas.GetWidth(); ++x)
        {
            const float d = std::hypot(static_cast<float>(x) - 0.5f * w, static_cast<float>(y) - 0.565f * h);
            sun.At(x, y) = std::clamp(0.085f * w - d, 0.0f, 1.0f);
        }
    canvas.Paint(sun, Srgb(255, 244, 214));
    // Two mountain ranges, the far one hazy violet, the near one almost black.
    PaintRidge(canvas, CRidge(11, 9), 0.585f, 0.05f, Srgb(92, 52, 100), 0.0f);
    PaintRidge(canvas, CRidge(23, 14), horizon, 0.03f, Srgb(18, 10, 28), 0.2f);
    // The sea: the sky above mirrored, rippled and darkened with depth.
    const uint32_t waterTop = static_cast<uint32_t>(horizon * h) + 1;
    for (uint32_t y = waterTop; y < canvas.GetHeight(); ++y)
    {
        const float depth = (static_cast<float>(y) - horizon * h) / ((1.0f - horizon) * h);
        const float mirrorY = std::max(0.0f, 2.0f * horizon * h - static_cast<float>(y) - 2.0f);
        const float darken = 0.55f * (1.0f - 0.8f * depth);
        for (uint32_t x = 0; x < canvas.GetWidth(); ++x)
        {
            const float ripple = 6.0f * (1.0f + 8.0f * depth) *
                                 std::sin(static_cast<float>(y) * 0.35f / (0.2f + depth) +
                                          std::sin(static_cast<float>(x) * 0.013f) * 2.0f);
            const float sx = std::clamp(static_cast<float>(x) + ripple, 0.0f, w - 1.0f);
            const SColor mirrored = canvas.At(static_cast<uint32_t>(sx), static_cast<uint32_t>(mirrorY));
            canvas.At(x, y) = Mix(Srgb(6, 8, 22), mirrored, darken);
        }
    }
    // The sun's path on the water.
    for (uint32_t y = waterTop; y < canvas.GetHeight(); ++y)
    {
        const float depth = (static_cast<float>(y) - horizon * h) / ((1.0f - horizon) * h);
        const float spread = 0.04f * w * (1.0f + 5.0f * depth);
        const float sparkle = 0.5f + 0.5f * std::sin(static_cast<float>(y) * 1.7f);
        for (uint32_t x = 0; x < canvas.GetWidth(); ++x)
        {
            const float d = (static_cast<float>(x) - 0.5f * w) / spread;
            canvas.At(x, y) =
                canvas.At(x, y) + Srgb(255, 190, 120) * (0.5f * sparkle * std::exp(-d * d) * (1.0f - depth));
        }
    }
    canvas.Vignette(0.35f);
    return canvas;
}

CCanvas MakeGroupBanner(const SShowFonts& fonts)
{
    CCanvas canvas(4096, 256);
    const float w = static_cast<float>(canvas.GetWidth());
    // Deep teal to indigo to magenta along the banner, darker towards its edges.
    for (uint32_t y = 0; y < canvas.GetHeight(); ++y)
        for (uint32_t x = 0; x < canvas.GetWidth(); ++x)
        {
            const float u = static_cast<float>(x) / (w - 1.0f);
            const float v = static_cast<float>(y) / 255.0f;
            const SColor across = u < 0.5f ? Mix(Srgb(4, 60, 70), Srgb(30, 20, 90), u * 2.0f)
                                           : Mix(Srgb(30, 20, 90), Srgb(110, 14, 80), u * 2.0f - 1.0f);
            canvas.At(x, y) = across * (0.35f + 0.65f * std::sin(v * std::numbers::pi_v<float>));
        }
    canvas.AddGlow(0.5f * w, 128.0f, 900.0f, Srgb(80, 120, 255) * 0.25f);
    // Streaks of light running out of the name to both ends.
    CPictureRandom random(5);
    SMask streaks(canvas.GetWidth(), canvas.GetHeight());
    for (int i = 0; i < 40; ++i)
    {
        const float y = 40.0f + random.Next() * 176.0f;
        const float length = 400.0f + random.Next() * 1200.0f;
        const bool left = i % 2 == 0;
        const float x0 = left ? 1000.0f - length : 3096.0f;
        const SMask line = Hairline(canvas, x0, x0 + length, y, 1.0f + 2.0f * random.Next());
        for (size_t t = 0; t < streaks.m_Values.size(); ++t)
            streaks.m_Values[t] =
                std::max(streaks.m_Values[t], line.m_Values[t] * (0.3f + 0.5f * random.Next()));
    }
    canvas.AddLight(Blurred(streaks, 1), Srgb(140, 220, 255));
    // Frame lines above and below.
    canvas.AddLight(Hairline(canvas, 0.0f, w, 14.0f, 3.0f), Srgb(160, 200, 255) * 0.8f);
    canvas.AddLight(Hairline(canvas, 0.0f, w, 241.0f, 3.0f), Srgb(160, 200, 255) * 0.8f);
    // The name: chrome letters over a dark shadow and a cyan glow.
    const float height = 230.0f;
    const float baseline = 128.0f + 0.5f * fonts.m_SansBold.CapHeight(height);
    const SMask name = TextMask(canvas, fonts.m_SansBold, "QUORRIDGE", baseline, height, 36.0f);
    canvas.Paint(Blurred(Shifted(name, 8, 8), 6), Srgb(0, 0, 10), 0.85f);
    canvas.AddLight(Blurred(name, 18), Srgb(60, 200, 255) * 0.7f);
    canvas.PaintVertical(name, Srgb(255, 255, 255), Srgb(120, 200, 255), baseline - 170.0f, baseline);
    return canvas;
}

CCanvas MakePresentsPicture(const SShowFonts& fonts)
{
    CCanvas canvas(1024, 576);
    canvas.FillVertical({{0.0f, Srgb(12, 6, 28)}, {0.6f, Srgb(34, 14, 50)}, {1.0f, Srgb(10, 4, 18)}});
    canvas.AddGlow(512.0f, 300.0f, 380.0f, Srgb(120, 60, 140) * 0.25f);
    const SMask word = TextMask(canvas, fonts.m_Serif, "presents", 320.0f, 120.0f, 10.0f);
    canvas.AddLight(Blurred(word, 14), Srgb(255, 170, 80) * 0.6f);
    canvas.PaintVertical(word, Srgb(255, 236, 190), Srgb(230, 160, 70), 230.0f, 330.0f);
    canvas.AddLight(Hairline(canvas, 262.0f, 762.0f, 372.0f, 2.0f), Srgb(255, 200, 130) * 0.8f);
    canvas.Vignette(0.5f);
    return canvas;
}

CCanvas MakeTitlePicture(const SShowFonts& fonts)
{
    CCanvas canvas(1280, 720);
    const float cx = 640.0f;
    const float cy = 340.0f;
    // Ember-dark ground with rays of light fanning out from behind the title.
    for (uint32_t y = 0; y < canvas.GetHeight(); ++y)
        for (uint32_t x = 0; x < canvas.GetWidth(); ++x)
        {
            const float dx = static_cast<float>(x) - cx;
            const float dy = static_cast<float>(y) - cy;
            const float d = std::hypot(dx, dy) / 720.0f;
            const float angle = std::atan2(dy, dx);
            const float rays = std::pow(0.5f + 0.5f * std::sin(angle * 18.0f), 6.0f);
            const SColor ground = Mix(Srgb(70, 22, 10), Srgb(6, 2, 4), std::min(1.0f, d * 1.4f));
            canvas.At(x, y) = ground + Srgb(255, 150, 60) * (0.22f * rays * std::exp(-d * 2.2f));
        }
    canvas.AddGlow(cx, cy, 330.0f, Srgb(255, 120, 40) * 0.35f);
    const float height = 250.0f;
    const float baseline = cy + 0.5f * fonts.m_SansBold.CapHeight(height);
    const SMask title = TextMask(canvas, fonts.m_SansBold, "BROVELL", baseline, height, 18.0f);
    canvas.Paint(Blurred(Shifted(title, 10, 12), 8), Srgb(0, 0, 0), 0.8f);
    canvas.AddLight(Blurred(title, 24), Srgb(255, 130, 30) * 0.9f);
    canvas.PaintVertical(title, Srgb(255, 246, 200), Srgb(235, 110, 30), baseline - 185.0f, baseline);
    canvas.AddLight(Hairline(canvas, 300.0f, 980.0f, baseline + 50.0f, 2.0f), Srgb(255, 190, 120) * 0.9f);
    const SMask subtitle = TextMask(canvas, fonts.m_Serif, "a real-time journey in eight scenes",
                                    baseline + 110.0f, 40.0f, 4.0f);
    canvas.Paint(subtitle, Srgb(255, 215, 170));
    canvas.Vignette(0.45f);
    return canvas;
}

CCanvas MakeEndPicture(const SShowFonts& fonts)
{
    CCanvas canvas(1920, 1080);
    canvas.FillVertical({{0.0f, Srgb(2, 3, 12)},
                         {0.55f, Srgb(14, 18, 52)},
                         {0.78f, Srgb(60, 44, 110)},
                         {0.86f, Srgb(170, 90, 110)},
                         {1.0f, Srgb(40, 16, 40)}});
    AddStars(canvas, 31, 1800, 0.7f, 1.3f);
    canvas.AddGlow(960.0f, 1000.0f, 480.0f, Srgb(255, 140, 90) * 0.15f);
    PaintRidge(canvas, CRidge(41, 12), 0.93f, 0.06f, Srgb(10, 6, 18), 0.3f);
    const SMask end = TextMask(canvas, fonts.m_SerifBold, "The End", 520.0f, 220.0f, 12.0f);
    canvas.AddLight(Blurred(end, 20), Srgb(120, 160, 255) * 0.6f);
    canvas.PaintVertical(end, Srgb(255, 255, 255), Srgb(190, 200, 255), 360.0f, 520.0f);
    canvas.AddLight(Hairline(canvas, 610.0f, 1310.0f, 590.0f, 2.0f), Srgb(200, 210, 255) * 0.8f);
    const SMask thanks = TextMask(canvas, fonts.m_Serif, "thank you for watching", 680.0f, 58.0f, 6.0f);
    canvas.Paint(thanks, Srgb(220, 226, 255));
    const SMask credit = TextMask(canvas, fonts.m_SansBold, "BROVELL  \xb7  QUORRIDGE", 760.0f, 34.0f, 8.0f);
    canvas.Paint(credit, Srgb(160, 170, 220), 0.9f);
    return canvas;
}
