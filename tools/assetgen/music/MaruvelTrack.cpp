#include "music/Arranger.h"
#include "music/Tracks.h"

namespace
{
std::vector<SPatch> MakeInstruments()
{
    SPatch pad;
    pad.m_Wave1 = EWaveform::Square;
    pad.m_Detune = 18.0f;
    pad.m_Cutoff = 1500.0f;
    pad.m_Resonance = 0.45f;
    pad.m_Amp = {0.25f, 0.8f, 0.7f, 0.5f};
    pad.m_GainDb = -11.0f;
    pad.m_ReverbSend = 0.35f;

    SPatch bass;
    bass.m_Wave1 = EWaveform::Square;
    bass.m_Wave2 = EWaveform::Saw;
    bass.m_Transpose2 = -12.0f;
    bass.m_Detune = 6.0f;
    bass.m_Width = 0.0f;
    bass.m_Cutoff = 220.0f;
    bass.m_FilterEnv = 3.2f;
    bass.m_FilterDecay = 0.09f;
    bass.m_Resonance = 0.5f;
    bass.m_KeyTrack = 0.2f;
    bass.m_Amp = {0.002f, 0.15f, 0.5f, 0.04f};
    bass.m_GainDb = -3.0f;
    bass.m_ReverbSend = 0.02f;

    SPatch arp;
    arp.m_Cutoff = 900.0f;
    arp.m_FilterEnv = 2.5f;
    arp.m_FilterDecay = 0.06f;
    arp.m_Resonance = 0.65f;
    arp.m_Amp = {0.001f, 0.08f, 0.1f, 0.05f};
    arp.m_GainDb = -10.0f;
    arp.m_Pan = -0.25f;
    arp.m_DelaySend = 0.4f;
    arp.m_ReverbSend = 0.1f;

    SPatch lead;
    lead.m_Wave1 = EWaveform::Square;
    lead.m_Wave2 = EWaveform::Square;
    lead.m_Transpose2 = 12.0f;
    lead.m_Detune = 5.0f;
    lead.m_Width = 0.2f;
    lead.m_Cutoff = 2200.0f;
    lead.m_FilterEnv = 1.2f;
    lead.m_FilterDecay = 0.2f;
    lead.m_Resonance = 0.3f;
    lead.m_Amp = {0.005f, 0.2f, 0.6f, 0.12f};
    lead.m_GainDb = -11.0f;
    lead.m_Pan = 0.15f;
    lead.m_ReverbSend = 0.25f;
    lead.m_DelaySend = 0.3f;

    SPatch bell;
    bell.m_FmRatio = 1.41f;
    bell.m_FmIndex = 2.5f;
    bell.m_FmDecay = 0.3f;
    bell.m_Detune = 8.0f;
    bell.m_Cutoff = 6000.0f;
    bell.m_KeyTrack = 0.0f;
    bell.m_Amp = {0.002f, 0.6f, 0.0f, 0.6f};
    bell.m_GainDb = -13.0f;
    bell.m_ReverbSend = 0.45f;
    bell.m_DelaySend = 0.2f;

    SPatch drone;
    drone.m_Transpose2 = 0.1f;
    drone.m_Detune = 20.0f;
    drone.m_Cutoff = 350.0f;
    drone.m_KeyTrack = 0.0f;
    drone.m_Resonance = 0.6f;
    drone.m_Amp = {1.5f, 1.0f, 1.0f, 1.5f};
    drone.m_GainDb = -8.0f;
    drone.m_ReverbSend = 0.4f;

    return {pad, bass, arp, lead, bell, drone};
}

SStyle MakeStyle()
{
    SStyle style;
    style.m_TargetBpm = 138.0;
    style.m_Root = 52; // E phrygian
    style.m_Scale = {0, 1, 3, 5, 7, 8, 10};
    style.m_Progressions = {{0, 1, 0, 6}, {5, 6, 0, 0}, {0, 0, 1, 1}};
    style.m_Grooves = {
        {"x.....x...x.....", "....x.......x..o", "xoxoxoxoxoxoxoxo", "................"},
        {"x.x...x...x..x..", "....x..o....x...", "xxoxxxoxxxoxxxox", "..............x."},
        {"x...............", "................", "x.x.x.x.x.x.x.x.", "................"},
    };
    style.m_Backbeat = EDrum::Snare;
    style.m_BassSteps = "r.rr.r.rr.r.r.or";
    style.m_ArpSteps = "x.xx.xx.x.xx.xx.";
    style.m_PadOctave = 0;
    style.m_LeadOctave = 1;
    style.m_SeventhChords = 0;
    return style;
}
}

SScore ComposeMaruvel()
{
    SScore score;
    score.m_Instruments = MakeInstruments();
    score.m_Effects = {0.6f, 0.3f, -8.0f, 60.0 / 138.0 * 0.75, 0.35f, -10.0f, 0.0f, 0.06f};
    const uint32_t beat = kLayerKick | kLayerSnare | kLayerHats;
    const std::array<SSectionPlan, kSectionCount> plans = {{
        {kLayerDrone | kLayerArp, -11.0f, 2, 2, 0},
        {kLayerDrone | kLayerBass | kLayerKick | kLayerHats | kLayerPad | kLayerFill, -4.5f, 2, 2, 0},
        {kLayerBass | kLayerArp | kLayerLead | kLayerPad | beat | kLayerCrash, 0.0f, 0, 0, 7},
        {kLayerDrone | kLayerBell | kLayerPad, -10.0f, 1, 2, 0},
        {kLayerBass | kLayerArp | kLayerLead | beat | kLayerCrash, 0.0f, 0, 1, 13},
        {kLayerDrone | kLayerBass | kLayerBell | kLayerHats | kLayerFill, -8.0f, 2, 2, 0},
        {kLayerBass | kLayerArp | kLayerLead | kLayerPad | kLayerBell | beat | kLayerCrash, 1.0f, 1, 1, 31},
        {kLayerDrone | kLayerPad | kLayerArp, -10.0f, 0, 2, 0},
    }};
    ArrangeTrack(MakeStyle(), plans, score);
    return score;
}
