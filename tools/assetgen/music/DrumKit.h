// Synthesized drum sounds, made once per track from a seed: each drum is a short mono
// sample that a hit mixes in at its velocity.
#pragma once

#include "music/Score.h"

#include <array>
#include <cstdint>
#include <vector>

class CDrumKit
{
public:
    explicit CDrumKit(uint32_t seed);

    const std::vector<float>& GetSample(EDrum drum) const { return m_Samples[static_cast<int>(drum)]; }
    float GetPan(EDrum drum) const;

private:
    std::array<std::vector<float>, static_cast<size_t>(EDrum::Count)> m_Samples;
};
