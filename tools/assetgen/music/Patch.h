// The sound of one instrument: two oscillators (or a two-operator FM pair), a filter with
// its own decaying envelope, an amplitude envelope, and where it sits in the mix.
#pragma once

#include "music/Envelope.h"
#include "music/Filter.h"
#include "music/Oscillator.h"

struct SPatch
{
    // Sources: oscillator 1 on the left side of the stereo image, oscillator 2 on the right.
    EWaveform m_Wave1 = EWaveform::Saw;
    EWaveform m_Wave2 = EWaveform::Saw;
    float m_Detune = 8.0f;     // cents between the two oscillators
    float m_Transpose2 = 0.0f; // semitones of oscillator 2
    float m_Width = 0.6f;      // 0: both centred, 1: oscillator 1 hard left, 2 hard right
    float m_FmRatio = 0.0f;    // > 0: both oscillators are sines phase-modulated at this ratio
    float m_FmIndex = 0.0f;    // modulation depth in cycles at note on
    float m_FmDecay = 0.5f;    // seconds for the modulation depth to fall by two thirds

    // Tone.
    EFilterMode m_FilterMode = EFilterMode::LowPass;
    float m_Cutoff = 2000.0f;   // Hz at rest
    float m_FilterEnv = 0.0f;   // octaves added at note on, decaying
    float m_FilterDecay = 0.3f; // seconds
    float m_Resonance = 0.2f;
    float m_KeyTrack = 0.5f; // 1: cutoff follows the pitch fully

    SEnvelopeShape m_Amp;

    // Mix.
    float m_GainDb = 0.0f;
    float m_Pan = 0.0f; // -1 left .. 1 right
    float m_ReverbSend = 0.2f;
    float m_DelaySend = 0.0f;
};
