#include "music/TrackRenderer.h"

#include "music/DrumKit.h"
#include "music/PingPongDelay.h"
#include "music/Reverb.h"

#include <algorithm>
#include <cmath>

namespace
{
// Filter coefficients are recomputed every this many samples (tan is costly).
constexpr int kControlInterval = 16;

// Constant-power pan: left and right gains for pan -1..1.
void PanGains(float pan, float& left, float& right)
{
    const float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * 0.25f * static_cast<float>(kPi);
    left = std::cos(angle) * std::sqrt(2.0f);
    right = std::sin(angle) * std::sqrt(2.0f);
}
}

CTrackRenderer::CTrackRenderer(const SScore& score, uint32_t drumSeed)
    : m_Score(score)
    , m_DrumSeed(drumSeed)
{
}

SStereoBuffer CTrackRenderer::Render(const ProgressFunction& progress) const
{
    const int64_t length = SecondsToSamples(m_Score.m_Length);
    SBuses buses{SStereoBuffer(length), std::vector<float>(length), std::vector<float>(length)};
    const size_t noteCount = m_Score.m_Notes.size();
    for (size_t i = 0; i < noteCount; ++i)
    {
        RenderNote(m_Score.m_Notes[i], buses);
        if (i % 256 == 0)
            progress(0.8 * static_cast<double>(i) / static_cast<double>(noteCount));
    }
    RenderDrums(buses);
    progress(0.85);
    ApplyEffects(buses);
    ApplyMasterGain(buses.m_Dry);
    progress(1.0);
    return std::move(buses.m_Dry);
}

void CTrackRenderer::RenderNote(const SNote& note, SBuses& buses) const
{
    const SPatch& patch = m_Score.m_Instruments[note.m_Instrument];
    const int64_t start = SecondsToSamples(note.m_Start);
    CEnvelope amp(patch.m_Amp, SecondsToSamples(note.m_Length));
    const int64_t end =
        std::min(start + SecondsToSamples(note.m_Length) + amp.GetReleaseSamples(), buses.m_Dry.GetSize());

    const float hz1 = MidiToHz(note.m_Pitch - patch.m_Detune / 200.0f);
    const float hz2 = MidiToHz(note.m_Pitch + patch.m_Transpose2 + patch.m_Detune / 200.0f);
    const bool fm = patch.m_FmRatio > 0.0f;
    COscillator osc1(fm ? EWaveform::Sine : patch.m_Wave1);
    COscillator osc2(fm ? EWaveform::Sine : patch.m_Wave2, 0.37f);
    COscillator modulator1(EWaveform::Sine);
    COscillator modulator2(EWaveform::Sine);
    const float fmDecay = std::exp(-1.0f / (patch.m_FmDecay * kSampleRate));
    float fmIndex = patch.m_FmIndex;

    CFilter filterLeft(patch.m_FilterMode);
    CFilter filterRight(patch.m_FilterMode);
    const float restCutoff =
        patch.m_Cutoff * std::pow(2.0f, patch.m_KeyTrack * (note.m_Pitch - 60.0f) / 12.0f);
    const float filterDecay =
        std::exp(-static_cast<float>(kControlInterval) / (patch.m_FilterDecay * kSampleRate));
    float filterEnv = patch.m_FilterEnv;

    // Oscillator 1 leans left and oscillator 2 right by the patch's width.
    const float near = 0.5f + 0.5f * patch.m_Width;
    const float far = 1.0f - near;
    float panLeft = 0.0f;
    float panRight = 0.0f;
    PanGains(patch.m_Pan, panLeft, panRight);
    const float gain = DbToGain(patch.m_GainDb) * note.m_Velocity * 0.5f;

    float* dryLeft = buses.m_Dry.m_Left.data();
    float* dryRight = buses.m_Dry.m_Right.data();
    float* reverb = buses.m_ReverbSend.data();
    float* delay = buses.m_DelaySend.data();
    for (int64_t i = start; i < end; ++i)
    {
        if ((i - start) % kControlInterval == 0)
        {
            const float cutoff = restCutoff * std::exp2(filterEnv);
            filterLeft.SetCutoff(cutoff, patch.m_Resonance);
            filterRight.SetCutoff(cutoff, patch.m_Resonance);
            filterEnv *= filterDecay;
        }
        float a = 0.0f;
        float b = 0.0f;
        if (fm)
        {
            a = osc1.Next(hz1, fmIndex * modulator1.Next(hz1 * patch.m_FmRatio));
            b = osc2.Next(hz2, fmIndex * modulator2.Next(hz2 * patch.m_FmRatio));
            fmIndex *= fmDecay;
        }
        else
        {
            a = osc1.Next(hz1);
            b = osc2.Next(hz2);
        }
        const float level = amp.Next() * gain;
        const float left = filterLeft.Process(a * near + b * far) * level * panLeft;
        const float right = filterRight.Process(a * far + b * near) * level * panRight;
        dryLeft[i] += left;
        dryRight[i] += right;
        reverb[i] += (left + right) * patch.m_ReverbSend;
        delay[i] += (left + right) * patch.m_DelaySend;
    }
}

void CTrackRenderer::RenderDrums(SBuses& buses) const
{
    const CDrumKit kit(m_DrumSeed);
    const float drumGain = DbToGain(m_Score.m_Effects.m_DrumGainDb) * 0.5f;
    for (const SDrumHit& hit : m_Score.m_Hits)
    {
        const std::vector<float>& sample = kit.GetSample(hit.m_Drum);
        float panLeft = 0.0f;
        float panRight = 0.0f;
        PanGains(kit.GetPan(hit.m_Drum), panLeft, panRight);
        const int64_t start = SecondsToSamples(hit.m_Time);
        const int64_t count =
            std::min<int64_t>(static_cast<int64_t>(sample.size()), buses.m_Dry.GetSize() - start);
        const float gain = drumGain * hit.m_Velocity;
        for (int64_t i = 0; i < count; ++i)
        {
            const float value = sample[i] * gain;
            buses.m_Dry.m_Left[start + i] += value * panLeft;
            buses.m_Dry.m_Right[start + i] += value * panRight;
            buses.m_ReverbSend[start + i] += value * m_Score.m_Effects.m_DrumReverbSend;
        }
    }
}

void CTrackRenderer::ApplyEffects(SBuses& buses) const
{
    const SEffectSettings& effects = m_Score.m_Effects;
    SStereoBuffer wet;
    CReverb(effects.m_ReverbRoom, effects.m_ReverbDamping)
        .Process(buses.m_ReverbSend, wet.m_Left, wet.m_Right);
    buses.m_Dry.Add(wet, DbToGain(effects.m_ReverbReturnDb));
    CPingPongDelay(effects.m_DelaySeconds, effects.m_DelayFeedback)
        .Process(buses.m_DelaySend, wet.m_Left, wet.m_Right);
    buses.m_Dry.Add(wet, DbToGain(effects.m_DelayReturnDb));
}

void CTrackRenderer::ApplyMasterGain(SStereoBuffer& mix) const
{
    const std::vector<SGainPoint>& points = m_Score.m_Master;
    size_t next = 0;
    for (int64_t i = 0; i < mix.GetSize(); ++i)
    {
        const double t = static_cast<double>(i) / kSampleRate;
        while (next < points.size() && points[next].m_Time <= t)
            ++next;
        // Straight line in dB between the points around t; flat before the first and after the last.
        float db = 0.0f;
        if (next == 0)
            db = points.empty() ? 0.0f : points.front().m_GainDb;
        else if (next == points.size())
            db = points.back().m_GainDb;
        else
        {
            const SGainPoint& from = points[next - 1];
            const SGainPoint& to = points[next];
            db = from.m_GainDb + static_cast<float>((t - from.m_Time) / (to.m_Time - from.m_Time)) *
                                     (to.m_GainDb - from.m_GainDb);
        }
        // The closing fade: a raised-cosine from full to silence.
        float fade = 1.0f;
        if (t >= m_Score.m_FadeEnd)
            fade = 0.0f;
        else if (t > m_Score.m_FadeStart)
            fade = 0.5f + 0.5f * static_cast<float>(std::cos(kPi * (t - m_Score.m_FadeStart) /
                                                             (m_Score.m_FadeEnd - m_Score.m_FadeStart)));
        const float gain = DbToGain(db) * fade;
        mix.m_Left[i] *= gain;
        mix.m_Right[i] *= gain;
    }
}
