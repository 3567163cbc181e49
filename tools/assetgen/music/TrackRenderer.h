// Renders a score to a stereo mix: every note through its instrument, the drum hits,
// the reverb and echo returns, the master gain line and the closing fade.
#pragma once

#include "music/Score.h"
#include "music/StereoBuffer.h"

#include <cstdint>
#include <functional>

class CTrackRenderer
{
public:
    // progress receives the finished fraction (0..1) now and then.
    using ProgressFunction = std::function<void(double)>;

    CTrackRenderer(const SScore& score, uint32_t drumSeed);
    SStereoBuffer Render(const ProgressFunction& progress) const;

private:
    struct SBuses
    {
        SStereoBuffer m_Dry;
        std::vector<float> m_ReverbSend;
        std::vector<float> m_DelaySend;
    };

    void RenderNote(const SNote& note, SBuses& buses) const;
    void RenderDrums(SBuses& buses) const;
    void ApplyEffects(SBuses& buses) const;
    void ApplyMasterGain(SStereoBuffer& mix) const;

    const SScore& m_Score;
    uint32_t m_DrumSeed;
};
