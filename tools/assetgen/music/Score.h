// A piece written in code: instruments, the notes they play, drum hits, the master gain
// over time and the effect settings. Times are in seconds from the start of the track.
#pragma once

#include "music/Patch.h"

#include <vector>

struct SNote
{
    double m_Start;
    double m_Length;  // until note off; the release follows
    float m_Pitch;    // MIDI note number
    float m_Velocity; // 0..1
    int m_Instrument;
};

enum class EDrum
{
    Kick,
    Snare,
    Clap,
    ClosedHat,
    OpenHat,
    Crash,
    Tom,
    Count,
};

struct SDrumHit
{
    double m_Time;
    EDrum m_Drum;
    float m_Velocity;
};

// Master gain in dB at a time; the gain moves in a straight line (in dB) between points.
struct SGainPoint
{
    double m_Time;
    float m_GainDb;
};

struct SEffectSettings
{
    float m_ReverbRoom = 0.8f;    // 0..1, longer tail
    float m_ReverbDamping = 0.4f; // 0..1, darker tail
    float m_ReverbReturnDb = -6.0f;
    double m_DelaySeconds = 0.375;
    float m_DelayFeedback = 0.4f;
    float m_DelayReturnDb = -8.0f;
    float m_DrumGainDb = 0.0f;
    float m_DrumReverbSend = 0.1f;
};

struct SScore
{
    double m_Length = 0.0;    // seconds of audio to render
    double m_FadeStart = 0.0; // the closing fade to silence
    double m_FadeEnd = 0.0;
    std::vector<SPatch> m_Instruments;
    std::vector<SNote> m_Notes;
    std::vector<SDrumHit> m_Hits;
    std::vector<SGainPoint> m_Master;
    SEffectSettings m_Effects;
};
