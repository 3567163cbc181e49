// Band-limited oscillator: sine, triangle, and saw and square with polyBLEP corrections
// against aliasing. Phase in cycles [0, 1).
#pragma once

#include "music/Dsp.h"

enum class EWaveform
{
    Sine,
    Triangle,
    Saw,
    Square,
};

class COscillator
{
public:
    explicit COscillator(EWaveform waveform, float phase = 0.0f)
        : m_Waveform(waveform)
        , m_Phase(phase)
    {
    }

    // One sample at frequency hz; phaseOffset (in cycles) phase-modulates the sine.
    float Next(float hz, float phaseOffset = 0.0f)
    {
        const float step = hz / kSampleRate;
        float value = 0.0f;
        switch (m_Waveform)
        {
        case EWaveform::Sine:
            value = SinCycles(m_Phase + phaseOffset);
            break;
        case EWaveform::Triangle:
            value = 4.0f * std::fabs(m_Phase - 0.5f) - 1.0f;
            break;
        case EWaveform::Saw:
            value = 2.0f * m_Phase - 1.0f - PolyBlep(m_Phase, step);
            break;
        case EWaveform::Square:
        {
            float shifted = m_Phase + 0.5f;
            shifted -= static_cast<float>(static_cast<int>(shifted));
            value = (m_Phase < 0.5f ? 1.0f : -1.0f) + PolyBlep(m_Phase, step) - PolyBlep(shifted, step);
            break;
        }
        }
        m_Phase += step;
        m_Phase -= static_cast<float>(static_cast<int>(m_Phase));
        return value;
    }

private:
    // Smooths the jump of a discontinuity at phase 0 over one sample on either side.
    static float PolyBlep(float phase, float step)
    {
        if (phase < step)
        {
            const float t = phase / step;
            return t + t - t * t - 1.0f;
        }
        if (phase > 1.0f - step)
        {
            const float t = (phase - 1.0f) / step;
            return t * t + t + t + 1.0f;
        }
        return 0.0f;
    }

    EWaveform m_Waveform;
    float m_Phase;
};
