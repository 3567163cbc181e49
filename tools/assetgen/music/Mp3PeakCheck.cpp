#include "music/Mp3PeakCheck.h"

#include <ebur128.h>
#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace
{
constexpr size_t kSliceBytes = 256;
constexpr size_t kMaxFrameSamples = 4608;

// LAME's decoder rebuilds process-wide tables whenever a decoder starts: one at a time.
std::mutex g_DecoderLock;
}

double MeasureDecodedTruePeak(const std::vector<uint8_t>& mp3, int sampleRate)
{
    const std::lock_guard<std::mutex> guard(g_DecoderLock);
    hip_t decoder = hip_decode_init();
    ebur128_state* meter = ebur128_init(2, static_cast<unsigned long>(sampleRate), EBUR128_MODE_TRUE_PEAK);
    std::vector<short> left(kMaxFrameSamples);
    std::vector<short> right(kMaxFrameSamples);
    std::vector<short> interleaved(2 * kMaxFrameSamples);
    bool failed = false;
    // Takes every frame the decoder can give from what it holds plus data. It answers 0
    // both when it needs more bytes and for frames without output (the header frame and
    // the first frames of the bit reservoir), so the bytes go in small slices and a final
    // call with none drains what is left.
    const auto decode = [&](const uint8_t* data, size_t length) {
        for (;;)
        {
            // LAME's interface wants a writable pointer; it only copies from it.
            const int samples =
                hip_decode1(decoder, const_cast<uint8_t*>(data), length, left.data(), right.data());
            length = 0;
            if (samples < 0)
                failed = true;
            if (samples <= 0)
                return;
            for (int i = 0; i < samples; ++i)
            {
                interleaved[2 * i] = left[i];
                interleaved[2 * i + 1] = right[i];
            }
            ebur128_add_frames_short(meter, interleaved.data(), static_cast<size_t>(samples));
        }
    };
    for (size_t offset = 0; offset < mp3.size() && !failed; offset += kSliceBytes)
        decode(mp3.data() + offset, std::min(kSliceBytes, mp3.size() - offset));
    decode(nullptr, 0);
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
