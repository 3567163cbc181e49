// Small helpers shared by the synthesizer: the output rate, unit conversions and a
// seeded noise source (deterministic on every machine).
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>

inline constexpr int kSampleRate = 44100;
inline constexpr double kPi = std::numbers::pi;

inline float DbToGain(float db)
{
    return std::pow(10.0f, db / 20.0f);
}

inline float GainToDb(float gain)
{
    return 20.0f * std::log10(gain);
}

// MIDI note number (69 = A4 = 440 Hz) to frequency; fractional notes detune.
inline float MidiToHz(float note)
{
    return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f);
}

// sin(2 pi cycles) for any cycles, to within 1e-5: a polynomial after folding the phase
// into a quarter wave. The oscillators call it for every sample, where libm's sinf is slow.
inline float SinCycles(float cycles)
{
    const float wrapped = cycles - std::floor(cycles + 0.5f); // [-0.5, 0.5)
    float x = 2.0f * static_cast<float>(kPi) * wrapped;       // [-pi, pi)
    const float halfPi = 0.5f * static_cast<float>(kPi);
    if (x > halfPi)
        x = static_cast<float>(kPi) - x;
    else if (x < -halfPi)
        x = -static_cast<float>(kPi) - x;
    const float x2 = x * x;
    return x * (1.0f + x2 * (-1.0f / 6 + x2 * (1.0f / 120 + x2 * (-1.0f / 5040 + x2 * (1.0f / 362880)))));
}

inline int64_t SecondsToSamples(double seconds)
{
    return static_cast<int64_t>(std::llround(seconds * kSampleRate));
}

// 32-bit linear congruential generator: the same numbers on every machine and compiler.
class CRandom
{
public:
    explicit CRandom(uint32_t seed)
        : m_State(seed)
    {
    }
    uint32_t Next()
    {
        m_State = m_State * 1664525u + 1013904223u;
        return m_State;
    }
    float Bipolar() { return static_cast<float>(Next() >> 8) * (2.0f / 16777216.0f) - 1.0f; } // [-1, 1)
    float Unit() { return static_cast<float>(Next() >> 8) * (1.0f / 16777216.0f); }           // [0, 1)
    int Below(int count) { return static_cast<int>((Next() >> 8) % static_cast<uint32_t>(count)); }

private:
    uint32_t m_State;
};
