#include "kelvo/core/FractalNoise.h"

#include <cmath>
#include <numbers>

float IntegerNoise(int32_t n)
{
    // 32-bit wrap-around arithmetic, done unsigned so that overflow is defined.
    const uint32_t u = static_cast<uint32_t>(n);
    const uint32_t m = (u << 13) ^ u;
    const uint32_t v = (m * (m * m * 15731u + 789221u) - 771171059u) & 0x7fffffffu;
    return static_cast<float>(1.0 - static_cast<double>(v) / 1073741824.0);
}

float SmoothedNoise(int32_t n)
{
    return 0.25f * IntegerNoise(n - 1) + 0.5f * IntegerNoise(n) + 0.25f * IntegerNoise(n + 1);
}

float InterpolatedNoise(float x)
{
    const int32_t i = static_cast<int32_t>(x);
    const float f = x - static_cast<float>(i);
    const float w = (1.0f - std::cos(f * std::numbers::pi_v<float>)) * 0.5f;
    return SmoothedNoise(i) * (1.0f - w) + SmoothedNoise(i + 1) * w;
}

void AddFractalNoise(float& accumulator, float t, float frequency, float amplitude, float persistence,
                     int octaves)
{
    for (int octave = 0; octave < octaves; ++octave)
    {
        accumulator += InterpolatedNoise(t * frequency) * amplitude;
        frequency *= 2.0f;
        amplitude *= persistence;
    }
}
