// Checks the three generated music tracks as the demo will play them: decoded by the
// project's audio layer, then measured with libebur128.
#include "platform/audio/Mp3Decoder.h"

#include <ebur128.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <random>
#include <vector>

namespace
{
// Where the show changes scene; every track must change section there.
constexpr std::array<double, 7> kBoundaries = {22.6, 53.4, 82.0, 111.43, 151.43, 175.4, 202.0};
constexpr double kWindow = 2.0;       // seconds compared on either side of a point
constexpr double kLastSteady = 210.0; // the closing fade may begin after this

struct SMeasurement
{
    double m_IntegratedLufs = 0.0;
    double m_TruePeakDb = 0.0;
    int m_LargestSample = 0;
    std::map<double, double> m_WindowLoudness; // end time -> loudness of the window before it
};

// Loudness of the kWindow seconds that end at each of times, with the integrated loudness
// and true peak of the whole track, in one pass over the audio.
SMeasurement Measure(const SPcmAudio& audio, std::vector<double> times)
{
    SMeasurement result;
    ebur128_state* state =
        ebur128_init(static_cast<unsigned>(audio.m_Channels), static_cast<unsigned long>(audio.m_SampleRate),
                     EBUR128_MODE_S | EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK);
    std::sort(times.begin(), times.end());
    uint64_t fed = 0;
    const auto feedTo = [&](uint64_t frame) {
        frame = std::min(frame, audio.GetFrameCount());
        if (frame > fed)
            ebur128_add_frames_short(state, audio.m_Samples.data() + fed * audio.m_Channels, frame - fed);
        fed = std::max(fed, frame);
    };
    for (double time : times)
    {
        feedTo(static_cast<uint64_t>(std::llround(time * audio.m_SampleRate)));
        double loudness = -HUGE_VAL;
        ebur128_loudness_window(state, static_cast<unsigned long>(kWindow * 1000), &loudness);
        result.m_WindowLoudness[time] = std::max(loudness, -70.0);
    }
    feedTo(audio.GetFrameCount());
    ebur128_loudness_global(state, &result.m_IntegratedLufs);
    double peak = 0.0;
    for (int channel = 0; channel < audio.m_Channels; ++channel)
    {
        double channelPeak = 0.0;
        ebur128_true_peak(state, static_cast<unsigned>(channel), &channelPeak);
        peak = std::max(peak, channelPeak);
    }
    result.m_TruePeakDb = 20.0 * std::log10(std::max(peak, 1e-10));
    ebur128_destroy(&state);
    for (int16_t sample : audio.m_Samples)
        result.m_LargestSample = std::max(result.m_LargestSample, std::abs(static_cast<int>(sample)));
    return result;
}

// Loudness change from the window before point to the window after it.
double Contrast(const SMeasurement& measurement, double point)
{
    return std::fabs(measurement.m_WindowLoudness.at(point + kWindow) -
                     measurement.m_WindowLoudness.at(point));
}

// Points at least a window and a half away from every boundary, in the steady part of the track.
std::vector<double> PointsInsideSections(int count)
{
    std::mt19937 random(2203);
    std::uniform_real_distribution<double> anywhere(1.5 * kWindow, kLastSteady - kWindow);
    std::vector<double> points;
    while (static_cast<int>(points.size()) < count)
    {
        const double point = anywhere(random);
        const bool nearBoundary = std::any_of(kBoundaries.begin(), kBoundaries.end(), [&](double boundary) {
            return std::fabs(point - boundary) < 1.5 * kWindow;
        });
        if (!nearBoundary)
            points.push_back(point);
    }
    return points;
}

class MusicTrack : public testing::TestWithParam<const char*>
{};
}

TEST_P(MusicTrack, DecodesLoudnessPeaksAndSectionChanges)
{
    const std::string path = std::string(BROVELL_DATA_DIR) + "/" + GetParam();
    SPcmAudio audio;
    std::string error;
    ASSERT_TRUE(DecodeMp3File(path, audio, error)) << error;
    EXPECT_EQ(audio.m_SampleRate, 44100);
    EXPECT_EQ(audio.m_Channels, 2);
    EXPECT_GE(audio.GetFrameCount(), 222u * 44100u);

    const std::vector<double> inside = PointsInsideSections(60);
    std::vector<double> times;
    for (double point : kBoundaries)
        times.insert(times.end(), {point, point + kWindow});
    for (double point : inside)
        times.insert(times.end(), {point, point + kWindow});
    times.push_back(222.0); // the fade has ended: silence from 220 s
    const SMeasurement measurement = Measure(audio, times);

    EXPECT_NEAR(measurement.m_IntegratedLufs, -14.0, 1.0);
    EXPECT_LE(measurement.m_TruePeakDb, -1.0);
    EXPECT_LT(measurement.m_LargestSample, 32767);
    EXPECT_LE(measurement.m_WindowLoudness.at(222.0), -70.0);

    // Every boundary stands out against the changes seen inside sections.
    std::vector<double> insideContrasts;
    for (double point : inside)
        insideContrasts.push_back(Contrast(measurement, point));
    std::sort(insideContrasts.begin(), insideContrasts.end());
    const double typicalInside = insideContrasts[insideContrasts.size() / 2];
    const double largestInside = insideContrasts.back();
    double smallestBoundary = HUGE_VAL;
    for (double boundary : kBoundaries)
    {
        const double contrast = Contrast(measurement, boundary);
        smallestBoundary = std::min(smallestBoundary, contrast);
        EXPECT_GE(contrast, 3.0) << "no audible change at " << boundary << " s";
        EXPECT_GE(contrast, 3.0 * typicalInside) << "the change at " << boundary << " s does not stand out";
    }
    EXPECT_GT(smallestBoundary, largestInside);
    std::printf(
        "%s: %.2f LUFS, %.2f dBTP, boundary contrast >= %.1f LU, inside median %.2f LU, max %.2f LU\n",
        GetParam(), measurement.m_IntegratedLufs, measurement.m_TruePeakDb, smallestBoundary, typicalInside,
        largestInside);
}

INSTANTIATE_TEST_SUITE_P(Tracks, MusicTrack, testing::Values("velrin.mp3", "ostyn.mp3", "maruvel.mp3"),
                         [](const testing::TestParamInfo<const char*>& track) {
                             std::string name = track.param;
                             return name.substr(0, name.find('.'));
                         });
