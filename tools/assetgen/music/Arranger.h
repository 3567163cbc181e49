// Writes a whole track into a score from a style (key, chords, grooves, instruments) and
// one plan per section of the timeline (which parts play, how loud). Each section gets
// a whole number of bars at a tempo close to the style's, so every section starts
// exactly on its scene boundary.
#pragma once

#include "music/Score.h"
#include "music/Timeline.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Parts a section may play.
enum ELayer : uint32_t
{
    kLayerPad = 1u << 0,
    kLayerBass = 1u << 1,
    kLayerArp = 1u << 2,
    kLayerLead = 1u << 3,
    kLayerBell = 1u << 4,
    kLayerDrone = 1u << 5,
    kLayerKick = 1u << 6,
    kLayerSnare = 1u << 7,
    kLayerHats = 1u << 8,
    kLayerCrash = 1u << 9, // a crash on the section's first beat
    kLayerFill = 1u << 10, // a tom fill in the section's last beat, leading into the next
};

// One bar of drums on a grid of sixteen steps: 'x' a full hit, 'o' a soft one, '.' none.
struct SGroove
{
    std::string m_Kick;
    std::string m_Snare; // played by the style's snare or clap
    std::string m_Hat;
    std::string m_OpenHat;
};

struct SStyle
{
    double m_TargetBpm = 120.0;
    int m_BeatsPerBar = 4;
    int m_Root = 57;                                     // MIDI note of the key's tonic
    std::array<int, 7> m_Scale = {0, 2, 3, 5, 7, 8, 10}; // semitones of the mode
    std::vector<std::vector<int>> m_Progressions;        // chord roots as scale degrees, one per bar
    std::vector<SGroove> m_Grooves;
    EDrum m_Backbeat = EDrum::Snare;
    std::string m_BassSteps; // sixteen steps: 'r' root, 'o' octave, 'f' fifth, '.' rest
    std::string m_ArpSteps;  // sixteen steps: 'x' next arpeggio note, '.' rest
    int m_PadOctave = 0;     // octaves above the tonic for the pad voicing
    int m_LeadOctave = 1;
    int m_SeventhChords = 1; // 1: pads play the seventh too

    // Instrument indices into the score.
    int m_Pad = 0;
    int m_Bass = 1;
    int m_Arp = 2;
    int m_Lead = 3;
    int m_Bell = 4;
    int m_Drone = 5;
};

struct SSectionPlan
{
    uint32_t m_Layers = 0;
    float m_GainDb = 0.0f; // master level of the section
    int m_Progression = 0;
    int m_Groove = 0;
    uint32_t m_MelodySeed = 1;
};

// Adds the notes, hits and master gain line of all sections to score.
void ArrangeTrack(const SStyle& style, const std::array<SSectionPlan, kSectionCount>& plans, SScore& score);
