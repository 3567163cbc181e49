#include "music/Loudness.h"

#include "music/Dsp.h"
#include "music/PeakLimiter.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr size_t kChunkFrames = 65536;

double MeasureIntegrated(const SStereoBuffer& mix, bool truePeak, double& peakDb)
{
    const int mode = EBUR128_MODE_I | (truePeak ? EBUR128_MODE_TRUE_PEAK : 0);
    ebur128_state* state = ebur128_init(2, kSampleRate, mode);
    std::vector<float> interleaved(2 * kChunkFrames);
    const size_t count = mix.m_Left.size();
    for (size_t first = 0; first < count; first += kChunkFrames)
    {
        const size_t frames = std::min(kChunkFrames, count - first);
        for (size_t i = 0; i < frames; ++i)
        {
            interleaved[2 * i] = mix.m_Left[first + i];
            interleaved[2 * i + 1] = mix.m_Right[first + i];
        }
        ebur128_add_frames_float(state, interleaved.data(), frames);
    }
    double lufs = 0.0;
    ebur128_loudness_global(state, &lufs);
    peakDb = -HUGE_VAL;
    if (truePeak)
        for (unsigned channel = 0; channel < 2; ++channel)
        {
            double peak = 0.0;
            ebur128_true_peak(state, channel, &peak);
            peakDb = std::max(peakDb, 20.0 * std::log10(std::max(peak, 1e-10)));
        }
    ebur128_destroy(&state);
    return lufs;
}
}

SLoudness MeasureLoudness(const SStereoBuffer& mix)
{
    SLoudness loudness;
    loudness.m_IntegratedLufs = MeasureIntegrated(mix, true, loudness.m_TruePeakDb);
    return loudness;
}

SLoudness NormaliseLoudness(SStereoBuffer& mix, double targetLufs, float ceilingDb)
{
    // 3 ms look-ahead catches a drum's attack; 120 ms release avoids audible pumping.
    const CPeakLimiter limiter(DbToGain(ceilingDb), 0.003, 0.12);
    double unusedPeak = 0.0;
    double gainDb = targetLufs - MeasureIntegrated(mix, false, unusedPeak);
    SStereoBuffer limited;
    // Limiting takes a little loudness away; a few rounds of correction settle it.
    for (int round = 0; round < 4; ++round)
    {
        limiter.Process(mix, DbToGain(static_cast<float>(gainDb)), limited);
        const double error = targetLufs - MeasureIntegrated(limited, false, unusedPeak);
        if (std::fabs(error) < 0.05)
            break;
        gainDb += error;
    }
    mix = std::move(limited);
    return MeasureLoudness(mix);
}
