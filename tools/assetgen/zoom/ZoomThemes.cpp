#include "zoom/ZoomThemes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{
constexpr float kPi = std::numbers::pi_v<float>;

// A repeatable random value in [0, 1) for an integer cell and a seed.
float Hash(int x, int y, uint32_t seed)
{
    uint32_t h =
        static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFF) / 16777216.0f;
}

// Smooth value noise over integer cells.
float Noise(float x, float y, uint32_t seed)
{
    const int ix = static_cast<int>(std::floor(x));
    const int iy = static_cast<int>(std::floor(y));
    const float fx = x - static_cast<float>(ix);
    const float fy = y - static_cast<float>(iy);
    const float sx = fx * fx * (3.0f - 2.0f * fx);
    const float sy = fy * fy * (3.0f - 2.0f * fy);
    const float top = Hash(ix, iy, seed) + (Hash(ix + 1, iy, seed) - Hash(ix, iy, seed)) * sx;
    const float bottom = Hash(ix, iy + 1, seed) + (Hash(ix + 1, iy + 1, seed) - Hash(ix, iy + 1, seed)) * sx;
    return top + (bottom - top) * sy;
}

float Fractal(float x, float y, uint32_t seed)
{
    float sum = 0.0f, amplitude = 0.5f;
    for (int octave = 0; octave < 4; ++octave)
    {
        sum += Noise(x, y, seed + static_cast<uint32_t>(octave)) * amplitude;
        x *= 2.0f;
        y *= 2.0f;
        amplitude *= 0.5f;
    }
    return sum;
}

float Smooth(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

SColor Clamped(SColor c)
{
    return {std::clamp(c.r, 0.0f, 1.0f), std::clamp(c.g, 0.0f, 1.0f), std::clamp(c.b, 0.0f, 1.0f)};
}

const SColor kWhite{1.0f, 1.0f, 1.0f};
const SColor kBlack{0.0f, 0.0f, 0.0f};

// A lit ball of radius r at (cx, cy): colour over the background, light from the top left.
SColor Ball(SColor background, float u, float v, float cx, float cy, float r, SColor color)
{
    const float dx = (u - cx) / r, dy = (v - cy) / r;
    const float d2 = dx * dx + dy * dy;
    if (d2 >= 1.0f)
        return background;
    const float nz = std::sqrt(1.0f - d2);
    const float light = std::max(0.0f, -0.45f * dx - 0.5f * dy + 0.74f * nz);
    const float shine = std::pow(std::max(0.0f, -0.3f * dx - 0.35f * dy + 0.89f * nz), 24.0f);
    const SColor lit = Mix(color * (0.35f + 0.75f * light), kWhite, shine);
    return Mix(background, lit, Smooth(1.0f, 0.96f, d2));
}

SColor Landscape(float u, float v, const SZoomPalette& p, uint32_t seed)
{
    const float horizon = 0.62f;
    SColor c = Mix(p.m_Light, p.m_Base, Smooth(0.0f, horizon, v));
    const float sunX = 0.25f + 0.5f * Hash(1, 0, seed), sunY = 0.3f;
    const float sun = std::hypot(u - sunX, (v - sunY));
    c = Mix(c, kWhite, Smooth(0.09f, 0.07f, sun) + 0.3f * std::exp(-sun * 9.0f));
    for (int layer = 0; layer < 3; ++layer)
    {
        const float ridge =
            horizon - 0.22f + 0.09f * static_cast<float>(layer) -
            0.16f * Fractal(u * (2.5f + static_cast<float>(layer)), static_cast<float>(layer), seed + 7);
        const SColor shade = Mix(p.m_Accent, p.m_Dark, 0.35f + 0.3f * static_cast<float>(layer));
        c = Mix(c, shade, Smooth(ridge, ridge + 0.006f, v));
    }
    if (v > horizon)
    {
        // The lake mirrors the sky, rippled.
        const float ripple = 0.02f * std::sin(v * 180.0f + 6.0f * Noise(u * 8.0f, v * 30.0f, seed));
        const SColor sky = Landscape(u + ripple, 2.0f * horizon - v, p, seed);
        c = Mix(p.m_Dark, sky, 0.7f);
    }
    return c;
}

SColor Seascape(float u, float v, const SZoomPalette& p, uint32_t seed)
{
    const float horizon = 0.5f;
    if (v < horizon)
    {
        SColor c = Mix(p.m_Accent, p.m_Light, Smooth(0.0f, horizon, v));
        const float sun = std::hypot(u - 0.5f, v - horizon + 0.02f);
        c = Mix(c, kWhite, Smooth(0.16f, 0.14f, sun));
        const float cloud = Smooth(0.55f, 0.75f, Fractal(u * 4.0f, v * 12.0f, seed));
        return Mix(c, p.m_Light, cloud * 0.7f);
    }
    const float depth = (v - horizon) / (1.0f - horizon);
    const float wave =
        std::sin(u * 40.0f * (1.0f + depth) + v * 200.0f + 4.0f * Noise(u * 6.0f, v * 40.0f, seed));
    SColor c = Mix(p.m_Base, p.m_Dark, depth);
    const float glitter = Smooth(0.25f, 0.0f, std::abs(u - 0.5f) / (0.2f + depth)) * Smooth(0.6f, 1.0f, wave);
    return Mix(c, p.m_Light, 0.25f * wave * wave + glitter);
}

SColor NightSky(float u, float v, const SZoomPalette& p, uint32_t seed)
{
    SColor c = Mix(p.m_Dark, p.m_Base, 0.6f * Fractal(u * 3.0f, v * 3.0f, seed));
    const int cx = static_cast<int>(u * 40.0f), cy = static_cast<int>(v * 40.0f);
    const float sx = (static_cast<float>(cx) + Hash(cx, cy, seed)) / 40.0f;
    const float sy = (static_cast<float>(cy) + Hash(cy, cx, seed + 1)) / 40.0f;
    const float star = std::exp(-std::hypot(u - sx, v - sy) * 900.0f) * Hash(cx, cy, seed + 2);
    c = Mix(c, kWhite, std::min(1.0f, star * 2.0f));
    const float px = 0.3f + 0.4f * Hash(3, 3, seed), py = 0.35f;
    // The ring, behind and in front of the planet.
    const float rx = (u - px) / 0.36f, ry = (v - py - (u - px) * 0.3f) / 0.07f;
    const float ring = Smooth(0.08f, 0.0f, std::abs(std::hypot(rx, ry) - 0.85f));
    c = Mix(c, p.m_Light, ring * 0.8f);
    c = Ball(c, u, v, px, py, 0.2f, p.m_Accent);
    if (ry > 0.0f)
        c = Mix(c, p.m_Light, ring * 0.8f);
    return c;
}

SColor Flower(float u, float v, const SZoomPalette& p, uint32_t seed)
{
    const float dx = u - 0.5f, dy = v - 0.5f;
    const float r = std::hypot(dx, dy), a = std::atan2(dy, dx);
    const float petals = 5.0f + std::floor(Hash(5, 5, seed) * 4.0f);
    SColor c = Mix(p.m_Dark, p.m_Base, 0.5f + 0.5f * Fractal(u * 6.0f, v * 6.0f, seed));
    const float edge = 0.42f * (0.55f + 0.45f * std::abs(std::cos(a * petals * 0.5f)));
    const float inside = Smooth(edge, edge - 0.01f, r);
    const SColor petal = Mix(p.m_Light, p.m_Accent, Smooth(0.05f, edge, r));
    c = Mix(c, petal * (0.75f + 0.25f * std::cos(a * petals * 2.0f)), inside);
    c = Mix(c, Mix(p.m_Accent, kBlack, 0.3f), Smooth(0.1f, 0.09f, r));
    const float dot = std::sin(dx * 260.0f) * std::sin(dy * 260.0f);
    return Mix(c, kBlack, Smooth(0.09f, 0.08f, r) * Smooth(0.5f, 0.9f, dot) * 0.5f);
}

SColor CheckerFloor(float u, float v, const SZoomPalette& p, uint32_t seed)
{
    const float horizon = 0.42f;
    if (v < horizon)
        return Mix(p.m_Light, p.m_Base, v / horizon);
    const float depth = 0.1f / (v - horizon + 0.001f);
    const float fx = (u - 0.5f) * depth * 4.0f, fz = depth * 4.0f;
    const bool dark = (static_cast<int>(std::floor(fx)) + static_cast<int>(std::floor(fz))) % 2 != 0;
    SColor floor = dark ? p.m_Dark : p.m_Light;
    floor = Mix(floor, p.m_Base, Smooth(0.0f, 12.0f, depth));
    const SColor shadowed =
        Mix(floor, kBlack, 0.5f * Smooth(0.2f, 0.0f, std::hypot((u - 0.5f) * 1.2f, v - 0.86f)));
    return Ball(shadowed, u, v, 0.5f + 0.1f * (Hash(4, 1, seed) - 0.5f), 0.66f, 0.2f, p.m_Accent);
}

SColor Tunnel(float u, float v, const SZoomPalette& p, uint32_t seed)
{
    const float dx = u - 0.5f, dy = v - 0.5f;
    const float r = std::hypot(dx, dy) + 0.001f, a = std::atan2(dy, dx);
    const float z = 0.2f / r;
    const float twist = Hash(2, 9, seed) * 2.0f;
    const bool tile =
        (static_cast<int>(z * 4.0f) + static_cast<int>((a / kPi + 1.0f) * 8.0f + z * twist)) % 2 != 0;
    const SColor c = tile ? p.m_Accent : p.m_Light;
    return Mix(c, p.m_Dark, Smooth(0.5f, 0.0f, r * 1.4f) * 0.9f);
}

SColor Plasma(float u, float v, const SZoomPalette& p, uint32_t seed)
{
    const float k = 8.0f + 6.0f * Hash(7, 7, seed);
    const float s = std::sin(u * k) + std::sin(v * k * 1.3f + 1.0f) + std::sin((u + v) * k * 0.7f) +
                    std::sin(std::hypot(u - 0.3f, v - 0.7f) * k * 2.0f);
    const float t = 0.5f + 0.5f * std::sin(s * 1.6f);
    const float t2 = 0.5f + 0.5f * std::cos(s * 2.3f + 1.0f);
    return Mix(Mix(p.m_Dark, p.m_Accent, t), p.m_Light, t2 * t2);
}

SColor Bricks(float u, float v, const SZoomPalette& p, uint32_t seed)
{
    const float rows = 14.0f;
    const float y = v * rows;
    const int row = static_cast<int>(y);
    const float x = u * 7.0f + (row % 2 != 0 ? 0.5f : 0.0f);
    const int column = static_cast<int>(std::floor(x));
    const float fx = x - static_cast<float>(column), fy = y - static_cast<float>(row);
    const float mortar = std::max(Smooth(0.06f, 0.02f, std::min(fx, 1.0f - fx) * 0.5f),
                                  Smooth(0.1f, 0.04f, std::min(fy, 1.0f - fy)));
    const float tone = Hash(column, row, seed);
    SColor brick = Mix(p.m_Base, p.m_Accent, tone * 0.7f);
    brick = brick * (0.8f + 0.4f * Fractal(u * 40.0f, v * 40.0f, seed));
    return Mix(brick, p.m_Light, mortar);
}

SColor City(float u, float v, const SZoomPalette& p, uint32_t seed)
{
    SColor c = Mix(p.m_Dark, p.m_Accent, Smooth(0.0f, 0.8f, v));
    const float moon = std::hypot(u - 0.78f, v - 0.18f);
    c = Mix(c, p.m_Light, Smooth(0.07f, 0.06f, moon));
    const int building = static_cast<int>(u * 12.0f);
    const float top = 0.3f + 0.4f * Hash(building, 0, seed);
    if (v > top)
    {
        const SColor wall = Mix(p.m_Dark, kBlack, 0.4f);
        const int wx = static_cast<int>(u * 72.0f), wy = static_cast<int>(v * 60.0f);
        const float fx = u * 72.0f - static_cast<float>(wx), fy = v * 60.0f - static_cast<float>(wy);
        const bool window = fx > 0.3f && fy > 0.35f && Hash(wx, wy, seed + 3) > 0.45f;
        c = window ? Mix(p.m_Light, kWhite, 0.3f) : wall;
    }
    // The water below mirrors the lights.
    if (v > 0.85f)
        c = Mix(p.m_Dark, City(u, 1.7f - v, p, seed), 0.5f + 0.2f * std::sin(v * 300.0f));
    return c;
}

SColor Tree(float u, float v, const SZoomPalette& p, uint32_t seed)
{
    SColor c = Mix(p.m_Light, p.m_Base, v);
    const float hill = 0.78f - 0.08f * std::cos((u - 0.5f) * 3.0f);
    if (v > hill)
        c = Mix(p.m_Accent, p.m_Dark, 0.3f + 0.4f * Fractal(u * 20.0f, v * 20.0f, seed));
    if (std::abs(u - 0.5f) < 0.035f + (v - 0.5f) * 0.05f && v > 0.45f && v < hill + 0.02f)
        c = Mix(p.m_Dark, kBlack, 0.5f);
    const float crown =
        std::hypot((u - 0.5f) * 1.1f, v - 0.36f) + 0.08f * (Fractal(u * 9.0f, v * 9.0f, seed) - 0.5f);
    if (crown < 0.27f)
    {
        const float leaves = Fractal(u * 30.0f, v * 30.0f, seed + 5);
        c = Mix(Mix(p.m_Dark, p.m_Accent, leaves), p.m_Light, Smooth(0.1f, 0.27f, 0.27f - crown) * 0.3f);
    }
    return c;
}

SColor Face(float u, float v, const SZoomPalette& p, uint32_t seed)
{
    SColor c = Mix(p.m_Base, p.m_Dark, std::hypot(u - 0.5f, v - 0.5f));
    const float head = std::hypot((u - 0.5f) / 0.36f, (v - 0.52f) / 0.42f);
    if (head < 1.0f)
    {
        c = Mix(p.m_Light, p.m_Accent, head * head * 0.6f);
        for (float side : {-1.0f, 1.0f})
        {
            const float eye = std::hypot(u - 0.5f - side * 0.13f, (v - 0.42f) * 1.3f);
            c = Mix(c, kWhite, Smooth(0.065f, 0.055f, eye));
            c = Mix(c, p.m_Dark, Smooth(0.032f, 0.025f, std::hypot(u - 0.5f - side * 0.125f, v - 0.43f)));
            c = Mix(c, kBlack, Smooth(0.016f, 0.012f, std::hypot(u - 0.5f - side * 0.125f, v - 0.43f)));
        }
        const float smile = std::hypot(u - 0.5f, v - 0.5f);
        const float mouth = Smooth(0.02f, 0.0f, std::abs(smile - 0.2f)) * Smooth(0.55f, 0.6f, v);
        c = Mix(c, p.m_Dark, mouth);
        c = Mix(c, p.m_Accent, 0.5f * Smooth(0.06f, 0.0f, std::hypot(u - 0.5f, v - 0.56f)));
    }
    const float hair = Smooth(0.02f, 0.0f, head - 1.0f) * Smooth(0.42f, 0.3f, v);
    return Mix(c, p.m_Dark * (0.7f + 0.3f * std::sin(u * 120.0f + Hash(1, 1, seed))), hair);
}

SColor StainedGlass(float u, float v, const SZoomPalette& p, uint32_t seed)
{
    const float cells = 7.0f;
    const float x = u * cells, y = v * cells;
    float nearest = 9.0f, second = 9.0f;
    int nearestX = 0, nearestY = 0;
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i)
        {
            const int cx = static_cast<int>(std::floor(x)) + i, cy = static_cast<int>(std::floor(y)) + j;
            const float d = std::hypot(static_cast<float>(cx) + Hash(cx, cy, seed) - x,
                                       static_cast<float>(cy) + Hash(cy, cx, seed + 1) - y);
            if (d < nearest)
            {
                second = nearest;
                nearest = d;
                nearestX = cx;
                nearestY = cy;
            }
            else if (d < second)
                second = d;
        }
    const float tone = Hash(nearestX, nearestY, seed + 2);
    SColor glass = tone < 0.33f ? p.m_Accent : (tone < 0.66f ? p.m_Light : p.m_Base);
    glass = glass * (0.75f + 0.35f * (1.0f - nearest));
    return Mix(glass, kBlack, Smooth(0.08f, 0.03f, second - nearest) * 0.85f);
}

SColor Galaxy(float u, float v, const SZoomPalette& p, uint32_t seed)
{
    const float dx = u - 0.5f, dy = (v - 0.5f) * 1.4f;
    const float r = std::hypot(dx, dy), a = std::atan2(dy, dx);
    const float arms = 0.5f + 0.5f * std::cos(2.0f * a - std::log(r + 0.01f) * 5.0f);
    const float glow = std::exp(-r * 6.0f) * (0.4f + 0.6f * arms) + std::exp(-r * 30.0f);
    SColor c = Mix(p.m_Dark, kBlack, 0.4f);
    c = Mix(c, p.m_Accent, std::min(1.0f, glow * 1.4f) * (0.7f + 0.3f * Fractal(u * 20.0f, v * 20.0f, seed)));
    c = Mix(c, p.m_Light, std::min(1.0f, std::exp(-r * 25.0f) * 1.5f));
    const float star = Hash(static_cast<int>(u * 256.0f), static_cast<int>(v * 256.0f), seed + 4);
    return Mix(c, kWhite, star > 0.995f ? 0.8f : 0.0f);
}

SColor OpArt(float u, float v, const SZoomPalette& p, uint32_t seed)
{
    const float bend = 0.08f * std::sin(v * 9.0f + Hash(8, 8, seed) * 6.0f);
    const float stripes = std::sin((u + bend) * 70.0f + std::sin(v * 7.0f) * 3.0f);
    const float bands = Smooth(-0.15f, 0.15f, stripes);
    const SColor a = Mix(p.m_Dark, p.m_Accent, v);
    const SColor b = Mix(p.m_Light, p.m_Base, u);
    return Mix(a, b, bands);
}

SColor Balls(float u, float v, const SZoomPalette& p, uint32_t seed)
{
    SColor c = Mix(p.m_Base, p.m_Dark, v);
    for (int i = 0; i < 9; ++i)
    {
        const float x = 0.12f + 0.76f * Hash(i, 0, seed), y = 0.12f + 0.76f * Hash(i, 1, seed);
        const float r = 0.07f + 0.1f * Hash(i, 2, seed);
        const float tone = Hash(i, 3, seed);
        c = Ball(c, u, v, x, y, r, tone < 0.5f ? p.m_Accent : p.m_Light);
    }
    return c;
}

SColor Honeycomb(float u, float v, const SZoomPalette& p, uint32_t seed)
{
    const float scale = 12.0f;
    const float x = u * scale, y = v * scale / 0.866f;
    const int row = static_cast<int>(std::floor(y));
    const float shifted = x + (row % 2 != 0 ? 0.5f : 0.0f);
    const int column = static_cast<int>(std::floor(shifted));
    const float fx = shifted - static_cast<float>(column) - 0.5f, fy = y - static_cast<float>(row) - 0.5f;
    const float edge = std::max(std::abs(fx), std::abs(fx) * 0.5f + std::abs(fy) * 0.75f);
    const float honey = Hash(column, row, seed);
    SColor cell = Mix(p.m_Accent, p.m_Light, honey);
    cell = Mix(cell, p.m_Base, Smooth(0.2f, 0.5f, edge));
    return Mix(cell, p.m_Dark, Smooth(0.44f, 0.5f, edge));
}
}

SZoomPalette MakeZoomPalette(SColor base)
{
    // The accent turns the colour's hue a third of the way round and keeps its brightness.
    const SColor turned{base.b, base.r, base.g};
    return {base * 0.4f, base, Clamped(Mix(base, kWhite, 0.55f)),
            Clamped(Mix(base, turned, 0.6f) + SColor{0.06f, 0.03f, -0.05f})};
}

SColor ZoomThemeColor(int theme, float u, float v, const SZoomPalette& palette, uint32_t seed)
{
    using SThemeFunction = SColor (*)(float, float, const SZoomPalette&, uint32_t);
    static constexpr SThemeFunction kThemes[kZoomThemeCount] = {
        Landscape, Seascape, NightSky, Flower,       CheckerFloor, Tunnel, Plasma, Bricks,
        City,      Tree,     Face,     StainedGlass, Galaxy,       OpArt,  Balls,  Honeycomb,
    };
    return Clamped(kThemes[static_cast<unsigned>(theme) % kZoomThemeCount](u, v, palette, seed));
}
