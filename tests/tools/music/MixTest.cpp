// From score to finished track: rendering, the master gain and fade, the limiter, the
// loudness normalisation and the check of the coded peak.
#include "music/Loudness.h"
#include "music/Mp3Encoder.h"
#include "music/Mp3PeakCheck.h"
#include "music/PeakLimiter.h"
#include "music/TrackRenderer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
float Peak(const SStereoBuffer& buffer, int64_t from, int64_t to)
{
    float peak = 0.0f;
    for (int64_t i = from; i < to; ++i)
        peak = std::max({peak, std::fabs(buffer.m_Left[i]), std::fabs(buffer.m_Right[i])});
    return peak;
}

// Noise with a few loud spikes: what a limiter meets in a mix with drums.
SStereoBuffer NoiseWithSpikes(int64_t samples)
{
    CRandom random(7);
    SStereoBuffer buffer(samples);
    for (int64_t i = 0; i < samples; ++i)
    {
        buffer.m_Left[i] = 0.2f * random.Bipolar();
        buffer.m_Right[i] = 0.2f * random.Bipolar();
    }
    for (int64_t spike = kSampleRate / 4; spike < samples; spike += kSampleRate)
        buffer.m_Left[spike] = buffer.m_Right[spike + 1] = 1.5f;
    return buffer;
}

// One sustained note with a master gain and a fade.
SScore OneNote(float masterDb)
{
    SScore score;
    SPatch patch;
    patch.m_ReverbSend = 0.0f;
    score.m_Instruments.push_back(patch);
    score.m_Notes.push_back({0.5, 1.0, 57.0f, 1.0f, 0});
    score.m_Master = {{0.0, masterDb}};
    score.m_Length = 2.0;
    score.m_FadeStart = 1.2;
    score.m_FadeEnd = 1.4;
    return score;
}
}

TEST(PeakLimiter, NoSampleAboveTheCeilingAndQuietPartsUntouched)
{
    const SStereoBuffer input = NoiseWithSpikes(3 * kSampleRate);
    const CPeakLimiter limiter(0.5f, 0.003, 0.1);
    SStereoBuffer output;
    limiter.Process(input, 2.0f, output);
    ASSERT_EQ(output.GetSize(), input.GetSize());
    EXPECT_LE(Peak(output, 0, output.GetSize()), 0.5f);
    // Long after a spike (nine release times) the gain is back to the one asked for.
    const int64_t calm = kSampleRate / 4 + 9 * kSampleRate / 10;
    EXPECT_NEAR(output.m_Left[calm], 2.0f * input.m_Left[calm], 1e-3f);
    // A signal under the ceiling only gets the gain.
    limiter.Process(input, 0.25f, output);
    for (int64_t i = 0; i < output.GetSize(); i += 97)
        ASSERT_FLOAT_EQ(output.m_Right[i], 0.25f * input.m_Right[i]) << i;
}

TEST(TrackRenderer, NotesMasterGainAndFade)
{
    const SScore loud = OneNote(0.0f);
    const SScore quiet = OneNote(-6.0f);
    const SStereoBuffer loudMix = CTrackRenderer(loud, 1).Render([](double) {});
    const SStereoBuffer quietMix = CTrackRenderer(quiet, 1).Render([](double) {});
    ASSERT_EQ(loudMix.GetSize(), 2 * kSampleRate);
    // Silence before the note, sound during it, silence once the fade has ended.
    EXPECT_EQ(Peak(loudMix, 0, kSampleRate / 2), 0.0f);
    EXPECT_GT(Peak(loudMix, kSampleRate / 2 + 2000, kSampleRate), 0.05f);
    EXPECT_EQ(Peak(loudMix, SecondsToSamples(1.4), loudMix.GetSize()), 0.0f);
    // -6 dB of master gain halves every sample.
    const int64_t probe = SecondsToSamples(0.9);
    EXPECT_NEAR(quietMix.m_Left[probe], loudMix.m_Left[probe] * DbToGain(-6.0f), 1e-6f);
}

TEST(Loudness, NormalisesToTheTargetUnderTheCeiling)
{
    SStereoBuffer mix = NoiseWithSpikes(20 * kSampleRate);
    const double lufs = NormaliseLoudness(mix, -14.0, -3.0f);
    EXPECT_NEAR(lufs, -14.0, 0.05);
    EXPECT_LE(Peak(mix, 0, mix.GetSize()), DbToGain(-3.0f));
}

TEST(Mp3PeakCheck, MeasuresTheDecodedTruePeak)
{
    // A 1 kHz sine at half scale: its true peak is -6 dBTP, before and after coding.
    std::vector<float> samples(2 * kSampleRate);
    for (size_t i = 0; i < samples.size() / 2; ++i)
        samples[2 * i] = samples[2 * i + 1] = 0.5f * static_cast<float>(std::sin(2.0 * kPi * 1000.0 * i / kSampleRate));
    std::vector<uint8_t> mp3;
    std::string error;
    ASSERT_TRUE(EncodeMp3(samples, kSampleRate, 2, 4.0f, mp3, error)) << error;
    EXPECT_NEAR(MeasureDecodedTruePeak(mp3, kSampleRate), -6.02, 0.3);
    // Bytes that hold no MPEG audio cannot be measured.
    EXPECT_EQ(MeasureDecodedTruePeak(std::vector<uint8_t>(5000, 'a'), kSampleRate), HUGE_VAL);
}
