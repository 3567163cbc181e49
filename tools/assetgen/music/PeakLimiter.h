// Look-ahead peak limiter for a whole track at once: the gain starts falling before a
// peak arrives, so no sample leaves above the ceiling, and recovers smoothly after it.
#pragma once

#include "music/StereoBuffer.h"

#include <cstddef>

class CPeakLimiter
{
public:
    CPeakLimiter(float ceiling, double lookaheadSeconds, double releaseSeconds);
    // Returns in output the input limited; no sample exceeds the ceiling in magnitude.
    void Process(const SStereoBuffer& input, float gain, SStereoBuffer& output) const;

private:
    float m_Ceiling;
    size_t m_Lookahead;
    float m_ReleaseCoef;
};
