#include "music/Loudness.h"

#include "music/Dsp.h"
#include "music/PeakLimiter.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr size_t kChunkFrames = 65536;

double MeasureIntegrated(const SStereoBuffer& mix)
{
    ebur128_state* state = ebur128_init(2, kSampleRate, EBUR128_MODE_I);
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
    double lufs = -HUGE_VAL;
    ebur128_loudness_global(state, &lufs);
    ebur128_destroy(&state);
    return lufs;
}
}

double NormaliseLoudness(SStereoBuffer& mix, double targetLufs, float ceilingDb)
{
    // 3 ms look-ahead catches a drum's attack; 120 ms release avoids audible pumping.
    const CPeakLimiter limiter(DbToGain(ceilingDb), 0.003, 0.12);
    double gainDb = targetLufs - MeasureIntegrated(mix);
    SStereoBuffer limited;
    double lufs = 0.0;
    // Limiting takes a little loudness away; a few rounds of correction settle it.
    for (int round = 0; round < 4; ++round)
    {
        limiter.Process(mix, DbToGain(static_cast<float>(gainDb)), limited);
        lufs = MeasureIntegrated(limited);
        if (std::fabs(targetLufs - lufs) < 0.05)
            break;
        gainDb += targetLufs - lufs;
    }
    mix = std::move(limited);
    return lufs;
}
