// Loudness by EBU R 128 (libebur128): measuring a mix and bringing it to a target
// integrated loudness under a peak ceiling.
#pragma once

#include "music/StereoBuffer.h"

struct SLoudness
{
    double m_IntegratedLufs = 0.0;
    double m_TruePeakDb = 0.0; // dBTP, over both channels
};

SLoudness MeasureLoudness(const SStereoBuffer& mix);

// Scales and limits mix so its integrated loudness is targetLufs within a tenth of a LU
// and no sample rises above ceilingDb (dBFS). Returns the loudness of the result.
SLoudness NormaliseLoudness(SStereoBuffer& mix, double targetLufs, float ceilingDb);
