#include "music/Arranger.h"
#include "music/Tracks.h"

namespace
{
std::vector<SPatch> MakeInstruments()
{
    SPatch pad;
    pad.m_Wave1 = EWaveform::Triangle;
    pad.m_Wave2 = EWaveform::Saw;
    pad.m_Detune = 9.0f;
    pad.m_Cutoff = 800.0f;
    pad.m_Width = 0.8f;
    pad.m_Amp = {1.2f, 1.5f, 0.85f, 1.8f};
    pad.m_GainDb = -7.0f;
    pad.m_ReverbSend = 0.7f;

    SPatch bass;
    bass.m_Wave1 = EWaveform::Sine;
    bass.m_Wave2 = EWaveform::Triangle;
    bass.m_Detune = 2.0f;
    bass.m_Width = 0.0f;
    bass.m_Cutoff = 500.0f;
    bass.m_KeyTrack = 0.0f;
    bass.m_Amp = {0.01f, 0.5f, 0.7f, 0.2f};
    bass.m_GainDb = 0.0f;
    bass.m_ReverbSend = 0.05f;

    SPatch pluck;
    pluck.m_FmRatio = 2.0f;
    pluck.m_FmIndex = 0.9f;
    pluck.m_FmDecay = 0.12f;
    pluck.m_Detune = 5.0f;
    pluck.m_Cutoff = 5000.0f;
    pluck.m_Amp = {0.002f, 0.25f, 0.0f, 0.3f};
    pluck.m_GainDb = -9.0f;
    pluck.m_Pan = -0.2f;
    pluck.m_ReverbSend = 0.4f;
    pluck.m_DelaySend = 0.6f;

    SPatch lead;
    lead.m_Wave1 = EWaveform::Triangle;
    lead.m_Wave2 = EWaveform::Square;
    lead.m_Detune = 4.0f;
    lead.m_Cutoff = 1500.0f;
    lead.m_FilterEnv = 0.7f;
    lead.m_FilterDecay = 0.4f;
    lead.m_Width = 0.3f;
    lead.m_Amp = {0.08f, 0.6f, 0.75f, 0.6f};
    lead.m_GainDb = -8.0f;
    lead.m_Pan = 0.15f;
    lead.m_ReverbSend = 0.5f;
    lead.m_DelaySend = 0.35f;

    SPatch bell;
    bell.m_FmRatio = 3.5f;
    bell.m_FmIndex = 1.8f;
    bell.m_FmDecay = 0.8f;
    bell.m_Detune = 3.0f;
    bell.m_Cutoff = 9000.0f;
    bell.m_KeyTrack = 0.0f;
    bell.m_Amp = {0.002f, 1.6f, 0.0f, 1.6f};
    bell.m_GainDb = -11.0f;
    bell.m_ReverbSend = 0.7f;
    bell.m_DelaySend = 0.4f;

    SPatch drone;
    drone.m_Transpose2 = 7.0f;
    drone.m_Detune = 6.0f;
    drone.m_Cutoff = 280.0f;
    drone.m_KeyTrack = 0.0f;
    drone.m_Resonance = 0.4f;
    drone.m_Amp = {3.0f, 1.0f, 1.0f, 3.0f};
    drone.m_GainDb = -6.0f;
    drone.m_ReverbSend = 0.6f;

    return {pad, bass, pluck, lead, bell, drone};
}

SStyle MakeStyle()
{
    SStyle style;
    style.m_TargetBpm = 84.0;
    style.m_Root = 50; // D dorian
    style.m_Scale = {0, 2, 3, 5, 7, 9, 10};
    style.m_Progressions = {{0, 3, 0, 6}, {2, 3, 0, 6}, {3, 3, 0, 0}};
    style.m_Grooves = {
        {"x.........x.....", "........x.......", "x.o.x.o.x.o.x.o.", "................"},
        {"x......x..x.....", "........x......o", "xoooxoooxoooxooo", "......x.......x."},
        {"x...............", "................", "....x.......x...", "................"},
    };
    style.m_Backbeat = EDrum::Snare;
    style.m_BassSteps = "r.......f.....o.";
    style.m_ArpSteps = "x..x..x.x..x..x.";
    style.m_PadOctave = 0;
    style.m_LeadOctave = 1;
    return style;
}
}

SScore ComposeOstyn()
{
    SScore score;
    score.m_Instruments = MakeInstruments();
    score.m_Effects = {0.93f, 0.55f, -3.0f, 60.0 / 84.0 * 0.75, 0.5f, -7.0f, -3.0f, 0.2f};
    const uint32_t beat = kLayerKick | kLayerSnare | kLayerHats;
    const std::array<SSectionPlan, kSectionCount> plans = {{
        {kLayerDrone | kLayerBell, -9.0f, 0, 0, 0},
        {kLayerDrone | kLayerPad | kLayerArp, -4.0f, 0, 2, 0},
        {kLayerPad | kLayerBass | kLayerArp | kLayerLead | beat, 0.0f, 0, 0, 5},
        {kLayerDrone | kLayerBell | kLayerArp, -9.0f, 2, 2, 0},
        {kLayerPad | kLayerBass | kLayerLead | kLayerArp | beat | kLayerCrash, 0.0f, 1, 1, 17},
        {kLayerPad | kLayerBell | kLayerKick | kLayerHats | kLayerFill, -7.0f, 2, 2, 0},
        {kLayerPad | kLayerBass | kLayerLead | kLayerBell | kLayerArp | beat | kLayerCrash, 1.0f, 1, 1, 29},
        {kLayerDrone | kLayerPad | kLayerBell, -9.0f, 0, 0, 0},
    }};
    ArrangeTrack(MakeStyle(), plans, score);
    return score;
}
