// Attack-decay-sustain-release envelope, stepped one sample at a time: linear attack,
// exponential decay towards the sustain level and exponential release after note off.
#pragma once

#include "music/Dsp.h"

#include <algorithm>

struct SEnvelopeShape
{
    float m_Attack = 0.01f; // seconds
    float m_Decay = 0.2f;   // seconds to fall about two thirds of the way to sustain
    float m_Sustain = 0.7f; // level
    float m_Release = 0.3f; // seconds to fall about two thirds of the way to silence
};

class CEnvelope
{
public:
    CEnvelope(const SEnvelopeShape& shape, int64_t noteOffSample)
        : m_Shape(shape)
        , m_NoteOff(noteOffSample)
        , m_AttackStep(1.0f / std::max(1.0f, shape.m_Attack * kSampleRate))
        , m_DecayCoef(std::exp(-1.0f / std::max(1.0f, shape.m_Decay * kSampleRate)))
        , m_ReleaseCoef(std::exp(-1.0f / std::max(1.0f, shape.m_Release * kSampleRate)))
    {
    }

    float Next()
    {
        if (m_Sample++ >= m_NoteOff)
            m_Level *= m_ReleaseCoef;
        else if (m_Attacking)
        {
            m_Level += m_AttackStep;
            if (m_Level >= 1.0f)
            {
                m_Level = 1.0f;
                m_Attacking = false;
            }
        }
        else
            m_Level = m_Shape.m_Sustain + (m_Level - m_Shape.m_Sustain) * m_DecayCoef;
        return m_Level;
    }

    // Samples after note off until the level is 60 dB down: where a note may stop.
    int64_t GetReleaseSamples() const { return static_cast<int64_t>(6.9f * m_Shape.m_Release * kSampleRate); }

private:
    SEnvelopeShape m_Shape;
    int64_t m_NoteOff;
    float m_AttackStep;
    float m_DecayCoef;
    float m_ReleaseCoef;
    int64_t m_Sample = 0;
    float m_Level = 0.0f;
    bool m_Attacking = true;
};
