#include "music/DrumKit.h"

#include "music/Filter.h"

#include <cmath>

namespace
{
// A sine whose pitch falls from startHz to endHz: kicks and toms.
std::vector<float> MakePitchedDrum(float startHz, float endHz, float sweepSeconds, float decaySeconds,
                                   float seconds, float clickLevel, CRandom& random)
{
    std::vector<float> sample(static_cast<size_t>(seconds * kSampleRate));
    float phase = 0.0f;
    for (size_t i = 0; i < sample.size(); ++i)
    {
        const float t = static_cast<float>(i) / kSampleRate;
        const float hz = endHz + (startHz - endHz) * std::exp(-t / sweepSeconds);
        phase += hz / kSampleRate;
        const float body = std::sin(2.0f * static_cast<float>(kPi) * phase) * std::exp(-t / decaySeconds);
        const float click = random.Bipolar() * clickLevel * std::exp(-t / 0.003f);
        sample[i] = std::tanh(1.5f * (body + click)) / std::tanh(1.5f);
    }
    return sample;
}

// Filtered noise with an exponential decay, optionally with a tone under it and repeated
// onsets (a clap is a few quick slaps).
std::vector<float> MakeNoiseDrum(EFilterMode mode, float cutoff, float resonance, float decaySeconds,
                                 float seconds, float toneHz, float toneLevel, int slaps, CRandom& random)
{
    std::vector<float> sample(static_cast<size_t>(seconds * kSampleRate));
    CFilter filter(mode);
    filter.SetCutoff(cutoff, resonance);
    const float slapSpacing = 0.011f;
    for (size_t i = 0; i < sample.size(); ++i)
    {
        const float t = static_cast<float>(i) / kSampleRate;
        float level = std::exp(-t / decaySeconds);
        if (slaps > 1 && t < slapSpacing * slaps)
            level = std::exp(-std::fmod(t, slapSpacing) / 0.004f);
        const float noise = filter.Process(random.Bipolar()) * level;
        const float tone =
            toneLevel * std::sin(2.0f * static_cast<float>(kPi) * toneHz * t) * std::exp(-t / 0.06f);
        sample[i] = noise + tone;
    }
    return sample;
}

// Scales a sample so that its peak is 1.
void Normalise(std::vector<float>& sample)
{
    float peak = 0.0f;
    for (float value : sample)
        peak = std::max(peak, std::fabs(value));
    if (peak > 0.0f)
        for (float& value : sample)
            value /= peak;
}
}

CDrumKit::CDrumKit(uint32_t seed)
{
    CRandom random(seed);
    auto& samples = m_Samples;
    samples[static_cast<int>(EDrum::Kick)] =
        MakePitchedDrum(160.0f, 46.0f, 0.035f, 0.22f, 0.6f, 0.35f, random);
    samples[static_cast<int>(EDrum::Tom)] = MakePitchedDrum(150.0f, 95.0f, 0.08f, 0.28f, 0.8f, 0.1f, random);
    samples[static_cast<int>(EDrum::Snare)] =
        MakeNoiseDrum(EFilterMode::HighPass, 1800.0f, 0.1f, 0.12f, 0.5f, 185.0f, 0.9f, 1, random);
    samples[static_cast<int>(EDrum::Clap)] =
        MakeNoiseDrum(EFilterMode::BandPass, 1300.0f, 0.4f, 0.16f, 0.6f, 0.0f, 0.0f, 3, random);
    samples[static_cast<int>(EDrum::ClosedHat)] =
        MakeNoiseDrum(EFilterMode::HighPass, 7500.0f, 0.2f, 0.025f, 0.15f, 0.0f, 0.0f, 1, random);
    samples[static_cast<int>(EDrum::OpenHat)] =
        MakeNoiseDrum(EFilterMode::HighPass, 6500.0f, 0.3f, 0.22f, 0.9f, 0.0f, 0.0f, 1, random);
    samples[static_cast<int>(EDrum::Crash)] =
        MakeNoiseDrum(EFilterMode::HighPass, 3500.0f, 0.1f, 0.9f, 3.5f, 0.0f, 0.0f, 1, random);
    for (auto& sample : samples)
        Normalise(sample);
}

float CDrumKit::GetPan(EDrum drum) const
{
    switch (drum)
    {
    case EDrum::ClosedHat:
        return 0.3f;
    case EDrum::OpenHat:
        return 0.25f;
    case EDrum::Tom:
        return -0.35f;
    case EDrum::Crash:
        return -0.2f;
    default:
        return 0.0f;
    }
}
