#include "music/Mp3PeakCheck.h"

#include <ebur128.h>
#include <lame/lame.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr size_t kFeedBytes = 4096;
constexpr size_t kMaxFrameSamples = 4608;
}

double MeasureDecodedTruePeak(const std::vector<uint8_t>& mp3, int sampleRate)
{
    hip_t decoder = hip_decode_init();
    ebur128_state* meter = ebur128_init(2, static_cast<unsigned long>(sampleRate), EBUR128_MODE_TRUE_PEAK);
    std::vector<short> left(kMaxFrameSamples);
    std::vector<short> right(kMaxFrameSamples);
    std::vector<short> interleaved(2 * kMaxFrameSamples);
    bool failed = false;
    // Hand the decoder a slice, then take every frame it can give before the next slice.
    std::vector<uint8_t> bytes = mp3;
    for (size_t offset = 0; offset < bytes.size() && !failed; offset += kFeedBytes)
    {
        size_t length = std::min(kFeedBytes, bytes.size() - offset);
        for (;;)
        {
            const int samples = hip_decode1(decoder, bytes.data() + offset, length, left.data(), right.data());
            length = 0;
            if (samples < 0)
                failed = true;
            if (samples <= 0)
                break;
            for (int i = 0; i < samples; ++i)
            {
                interleaved[2 * i] = left[i];
                interleaved[2 * i + 1] = right[i];
            }
            ebur128_add_frames_short(meter, interleaved.data(), static_cast<size_t>(samples));
        }
    }
    double peak = 0.0;
    for (unsigned channel = 0; channel < 2; ++channel)
    {
        double channelPeak = 0.0;
        ebur128_true_peak(meter, channel, &channelPeak);
        peak = std::max(peak, channelPeak);
    }
    ebur128_destroy(&meter);
    hip_decode_exit(decoder);
    return failed || peak <= 0.0 ? HUGE_VAL : 20.0 * std::log10(peak);
}
