// The synthesizer's building blocks: oscillators, envelope, filter, echo and reverb.
#include "music/Dsp.h"
#include "music/Envelope.h"
#include "music/Filter.h"
#include "music/Oscillator.h"
#include "music/PingPongDelay.h"
#include "music/Reverb.h"

#include "support/SignalMeasures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
std::vector<float> Sine(float hz, size_t samples)
{
    COscillator oscillator(EWaveform::Sine);
    std::vector<float> signal(samples);
    for (float& value : signal)
        value = oscillator.Next(hz);
    return signal;
}
}

TEST(SinCycles, MatchesTheLibrarySineForAnyPhase)
{
    // Phases of any sign and size, as phase modulation produces them.
    for (float cycles = -40.0f; cycles < 40.0f; cycles += 0.0137f)
        ASSERT_NEAR(SinCycles(cycles), std::sin(2.0 * kPi * cycles), 2e-5) << cycles;
}

TEST(Oscillator, EveryWaveformHasItsPitchAndStaysBounded)
{
    for (EWaveform waveform : {EWaveform::Sine, EWaveform::Triangle, EWaveform::Saw, EWaveform::Square})
        for (float hz : {55.0f, 440.0f, 3520.0f})
        {
            SCOPED_TRACE(testing::Message()
                         << "waveform " << static_cast<int>(waveform) << " at " << hz << " Hz");
            COscillator oscillator(waveform, 0.1f);
            std::vector<float> signal(kSampleRate);
            float peak = 0.0f;
            for (float& value : signal)
            {
                value = oscillator.Next(hz);
                peak = std::max(peak, std::fabs(value));
            }
            EXPECT_NEAR(MeasureFrequency(signal, kSampleRate, 0, signal.size()), hz, 1.0);
            // Band-limiting rounds the corners of a high saw or square a little, no more.
            EXPECT_GT(peak, 0.8f);
            EXPECT_LT(peak, 1.2f);
        }
}

TEST(Envelope, AttackSustainAndRelease)
{
    SEnvelopeShape shape{0.01f, 0.05f, 0.5f, 0.1f};
    const int64_t noteOff = kSampleRate / 2;
    CEnvelope envelope(shape, noteOff);
    std::vector<float> levels(static_cast<size_t>(noteOff + envelope.GetReleaseSamples()));
    for (float& level : levels)
        level = envelope.Next();
    EXPECT_NEAR(levels[kSampleRate / 100 - 1], 1.0f, 0.01f); // full at the end of the attack
    EXPECT_NEAR(levels[noteOff - 1], 0.5f, 0.01f);           // held at the sustain level
    EXPECT_LT(levels.back(), 0.5f * 0.0011f);                // 60 dB down when the release ends
    for (size_t i = static_cast<size_t>(noteOff) + 1; i < levels.size(); ++i)
        ASSERT_LE(levels[i], levels[i - 1]) << "the release rises at sample " << i;
}

TEST(Filter, EachModeKeepsItsBand)
{
    const std::vector<float> low = Sine(100.0f, kSampleRate / 2);
    const std::vector<float> high = Sine(8000.0f, kSampleRate / 2);
    const auto filtered = [](EFilterMode mode, const std::vector<float>& input) {
        CFilter filter(mode);
        filter.SetCutoff(1000.0f, 0.0f);
        std::vector<float> output(input.size());
        for (size_t i = 0; i < input.size(); ++i)
            output[i] = filter.Process(input[i]);
        return Rms(output, output.size() / 2, output.size()) / Rms(input, input.size() / 2, input.size());
    };
    EXPECT_GT(filtered(EFilterMode::LowPass, low), 0.95);
    EXPECT_LT(filtered(EFilterMode::LowPass, high), 0.03);
    EXPECT_GT(filtered(EFilterMode::HighPass, high), 0.95);
    EXPECT_LT(filtered(EFilterMode::HighPass, low), 0.03);
    EXPECT_LT(filtered(EFilterMode::BandPass, low), 0.2);
    EXPECT_LT(filtered(EFilterMode::BandPass, high), 0.2);
}

TEST(PingPongDelay, RepeatsAlternateSidesAndFade)
{
    const double delay = 0.1;
    const size_t delaySamples = kSampleRate / 10;
    std::vector<float> impulse(kSampleRate, 0.0f);
    impulse[0] = 1.0f;
    std::vector<float> left;
    std::vector<float> right;
    CPingPongDelay(delay, 0.5f).Process(impulse, left, right);
    ASSERT_EQ(left.size(), impulse.size());
    // The first repeat is on the left after one delay, the next on the right after two.
    const auto energy = [&](const std::vector<float>& side, size_t repeat) {
        return Rms(side, repeat * delaySamples, (repeat + 1) * delaySamples);
    };
    EXPECT_EQ(left[delaySamples], 1.0f);
    EXPECT_EQ(Rms(right, 0, 2 * delaySamples), 0.0);
    EXPECT_GT(energy(right, 2), 0.0);
    EXPECT_LT(energy(right, 2), energy(left, 1));
    EXPECT_LT(energy(left, 3), energy(right, 2));
    EXPECT_EQ(Rms(left, 0, delaySamples), 0.0);
}

TEST(Reverb, TailIsStereoAndDecays)
{
    std::vector<float> impulse(3 * kSampleRate, 0.0f);
    impulse[0] = 1.0f;
    std::vector<float> left;
    std::vector<float> right;
    CReverb(0.8f, 0.4f).Process(impulse, left, right);
    const double early = Rms(left, 0, kSampleRate / 2);
    const double late = Rms(left, 5 * kSampleRate / 2, 3 * kSampleRate);
    EXPECT_GT(early, 0.0);
    EXPECT_LT(late, early * 0.3);
    EXPECT_GT(late, 0.0); // a real tail, not a cut
    // The two sides differ (the right lines are longer), which gives the width.
    EXPECT_NE(Rms(left, 0, kSampleRate), Rms(right, 0, kSampleRate));
    // A quieter room dies away sooner.
    std::vector<float> smallLeft;
    std::vector<float> smallRight;
    CReverb(0.1f, 0.4f).Process(impulse, smallLeft, smallRight);
    EXPECT_LT(Rms(smallLeft, 2 * kSampleRate, 3 * kSampleRate), Rms(left, 2 * kSampleRate, 3 * kSampleRate));
}
