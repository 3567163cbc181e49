#include "music/Arranger.h"
#include "music/Tracks.h"

namespace
{
std::vector<SPatch> MakeInstruments()
{
    SPatch pad;
    pad.m_Detune = 14.0f;
    pad.m_Cutoff = 1100.0f;
    pad.m_Resonance = 0.15f;
    pad.m_Amp = {0.5f, 1.0f, 0.8f, 0.9f};
    pad.m_GainDb = -9.0f;
    pad.m_ReverbSend = 0.5f;

    SPatch bass;
    bass.m_Wave2 = EWaveform::Square;
    bass.m_Transpose2 = -12.0f;
    bass.m_Detune = 4.0f;
    bass.m_Width = 0.1f;
    bass.m_Cutoff = 300.0f;
    bass.m_FilterEnv = 2.5f;
    bass.m_FilterDecay = 0.12f;
    bass.m_Resonance = 0.35f;
    bass.m_KeyTrack = 0.3f;
    bass.m_Amp = {0.003f, 0.25f, 0.6f, 0.05f};
    bass.m_GainDb = -2.0f;
    bass.m_ReverbSend = 0.03f;

    SPatch arp;
    arp.m_Wave1 = EWaveform::Square;
    arp.m_Cutoff = 1800.0f;
    arp.m_FilterEnv = 1.5f;
    arp.m_FilterDecay = 0.08f;
    arp.m_Resonance = 0.3f;
    arp.m_Amp = {0.002f, 0.12f, 0.2f, 0.08f};
    arp.m_GainDb = -11.0f;
    arp.m_Pan = 0.2f;
    arp.m_DelaySend = 0.45f;

    SPatch lead;
    lead.m_Detune = 10.0f;
    lead.m_Cutoff = 2600.0f;
    lead.m_FilterEnv = 1.0f;
    lead.m_Amp = {0.02f, 0.3f, 0.7f, 0.25f};
    lead.m_GainDb = -8.0f;
    lead.m_Pan = -0.1f;
    lead.m_ReverbSend = 0.3f;
    lead.m_DelaySend = 0.25f;

    SPatch bell;
    bell.m_FmRatio = 3.5f;
    bell.m_FmIndex = 1.2f;
    bell.m_FmDecay = 0.4f;
    bell.m_Detune = 6.0f;
    bell.m_Cutoff = 8000.0f;
    bell.m_KeyTrack = 0.0f;
    bell.m_Amp = {0.002f, 0.9f, 0.0f, 0.9f};
    bell.m_GainDb = -12.0f;
    bell.m_ReverbSend = 0.5f;
    bell.m_DelaySend = 0.3f;

    SPatch drone;
    drone.m_Wave1 = EWaveform::Triangle;
    drone.m_Transpose2 = 12.0f;
    drone.m_Cutoff = 600.0f;
    drone.m_KeyTrack = 0.0f;
    drone.m_Amp = {2.0f, 1.0f, 1.0f, 2.0f};
    drone.m_GainDb = -10.0f;
    drone.m_ReverbSend = 0.4f;

    return {pad, bass, arp, lead, bell, drone};
}

SStyle MakeStyle()
{
    SStyle style;
    style.m_TargetBpm = 120.0;
    style.m_Root = 57; // A minor
    style.m_Scale = {0, 2, 3, 5, 7, 8, 10};
    style.m_Progressions = {{0, 5, 2, 6}, {3, 0, 5, 4}, {5, 6, 0, 0}};
    style.m_Grooves = {
        {"x...x...x...x...", "....x.......x...", "..x...x...x...x.", "................"},
        {"x...x...x...x..o", "....x.......x...", "xoxoxoxoxoxoxoxo", "..x...x...x...x."},
        {"x...x...x...x...", "................", "..x...x...x...x.", "................"},
    };
    style.m_Backbeat = EDrum::Clap;
    style.m_BassSteps = "..r...r...r...o.";
    style.m_ArpSteps = "xxxxxxxxxxxxxxxx";
    return style;
}
}

SScore ComposeVelrin()
{
    SScore score;
    score.m_Instruments = MakeInstruments();
    score.m_Effects = {0.82f, 0.4f, -5.0f, 0.375, 0.35f, -9.0f, -1.0f, 0.08f};
    const uint32_t beat = kLayerKick | kLayerSnare | kLayerHats;
    const std::array<SSectionPlan, kSectionCount> plans = {{
        {kLayerDrone | kLayerPad | kLayerBell, -11.0f, 0, 0, 0},
        {kLayerPad | kLayerArp | kLayerBass | kLayerKick | kLayerFill, -4.5f, 0, 2, 0},
        {kLayerPad | kLayerArp | kLayerBass | kLayerLead | beat | kLayerCrash, 0.0f, 1, 0, 11},
        {kLayerDrone | kLayerPad | kLayerBell | kLayerArp, -10.0f, 2, 0, 0},
        {kLayerPad | kLayerBass | kLayerLead | kLayerArp | beat | kLayerCrash, 0.0f, 0, 1, 23},
        {kLayerPad | kLayerBass | kLayerBell | kLayerHats | kLayerFill, -8.0f, 1, 1, 0},
        {kLayerPad | kLayerArp | kLayerBass | kLayerLead | kLayerBell | beat | kLayerCrash, 1.0f, 1, 1, 37},
        {kLayerDrone | kLayerPad | kLayerBell, -10.0f, 0, 0, 0},
    }};
    ArrangeTrack(MakeStyle(), plans, score);
    return score;
}
