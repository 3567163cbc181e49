// State-variable filter in the trapezoidal (zero-delay feedback) form: stable under fast
// cutoff changes, with low-pass, band-pass and high-pass outputs from one state.
#pragma once

#include "music/Dsp.h"

#include <algorithm>

enum class EFilterMode
{
    LowPass,
    BandPass,
    HighPass,
};

class CFilter
{
public:
    explicit CFilter(EFilterMode mode = EFilterMode::LowPass)
        : m_Mode(mode)
    {
    }

    // resonance 0 (none) to about 0.95 (ringing).
    void SetCutoff(float hz, float resonance)
    {
        hz = std::clamp(hz, 20.0f, 0.45f * kSampleRate);
        m_G = std::tan(static_cast<float>(kPi) * hz / kSampleRate);
        m_K = 2.0f - 2.0f * std::clamp(resonance, 0.0f, 0.98f);
        m_A1 = 1.0f / (1.0f + m_G * (m_G + m_K));
    }

    float Process(float input)
    {
        const float v3 = input - m_Ic2;
        const float v1 = m_A1 * (m_Ic1 + m_G * v3);
        const float v2 = m_Ic2 + m_G * v1;
        m_Ic1 = 2.0f * v1 - m_Ic1;
        m_Ic2 = 2.0f * v2 - m_Ic2;
        switch (m_Mode)
        {
        case EFilterMode::LowPass:
            return v2;
        case EFilterMode::BandPass:
            return v1;
        case EFilterMode::HighPass:
            break;
        }
        return input - m_K * v1 - v2;
    }

private:
    EFilterMode m_Mode;
    float m_G = 0.0f;
    float m_K = 2.0f;
    float m_A1 = 1.0f;
    float m_Ic1 = 0.0f;
    float m_Ic2 = 0.0f;
};
