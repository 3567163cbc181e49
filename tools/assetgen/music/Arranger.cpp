#include "music/Arranger.h"

#include "music/Dsp.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int kStepsPerBar = 16;

// Writes the parts of one section: knows the section's bar grid and the style's key.
class CSectionWriter
{
public:
    CSectionWriter(const SStyle& style, const SSectionPlan& plan, int section, SScore& score)
        : m_Style(style)
        , m_Plan(plan)
        , m_Score(score)
        , m_Start(SectionStart(section))
    {
        // A whole number of bars, at the tempo nearest the style's that fits them exactly.
        const double duration = SectionEnd(section) - m_Start;
        const double targetBar = m_Style.m_BeatsPerBar * 60.0 / m_Style.m_TargetBpm;
        m_Bars = std::max(1, static_cast<int>(std::lround(duration / targetBar)));
        m_StepSeconds = duration / (m_Bars * kStepsPerBar);
    }

    void Write()
    {
        const uint32_t layers = m_Plan.m_Layers;
        for (int bar = 0; bar < m_Bars; ++bar)
        {
            const int chord = ChordOf(bar);
            if (layers & kLayerPad)
                WritePad(bar, chord);
            // The drone holds the tonic two bars at a time, never past the section's end.
            if (layers & kLayerDrone && bar % 2 == 0)
                AddNote(bar * kStepsPerBar, std::min(2, m_Bars - bar) * kStepsPerBar, Pitch(0, -1), 0.7f,
                        m_Style.m_Drone);
            if (layers & kLayerBass)
                WriteBass(bar, chord);
            if (layers & kLayerArp)
                WriteArp(bar, chord);
            if (layers & kLayerBell)
                WriteBell(bar, chord);
            WriteDrums(bar);
        }
        if (layers & kLayerLead)
            WriteLead();
        if (layers & kLayerCrash)
            m_Score.m_Hits.push_back({m_Start, EDrum::Crash, 0.8f});
        if (layers & kLayerFill)
            for (int step = kStepsPerBar - 4; step < kStepsPerBar; ++step)
                AddHit((m_Bars - 1) * kStepsPerBar + step, EDrum::Tom, 0.25f + 0.05f * (step % 4));
    }

private:
    int ChordOf(int bar) const
    {
        const std::vector<int>& progression = m_Style.m_Progressions[m_Plan.m_Progression];
        return progression[bar % progression.size()];
    }

    // MIDI pitch of a scale degree (any integer) in an octave relative to the tonic.
    float Pitch(int degree, int octave) const
    {
        const int wrapped = ((degree % 7) + 7) % 7;
        const int octaves = (degree - wrapped) / 7 + octave;
        return static_cast<float>(m_Style.m_Root + m_Style.m_Scale[wrapped] + 12 * octaves);
    }

    double StepTime(int step) const { return m_Start + step * m_StepSeconds; }

    void AddNote(int step, int lengthSteps, float pitch, float velocity, int instrument)
    {
        m_Score.m_Notes.push_back({StepTime(step), lengthSteps * m_StepSeconds, pitch, velocity, instrument});
    }

    void AddHit(int step, EDrum drum, float velocity)
    {
        m_Score.m_Hits.push_back({StepTime(step), drum, velocity});
    }

    void WritePad(int bar, int chord)
    {
        const int voices = 3 + m_Style.m_SeventhChords;
        for (int voice = 0; voice < voices; ++voice)
            AddNote(bar * kStepsPerBar, kStepsPerBar, Pitch(chord + 2 * voice, m_Style.m_PadOctave), 0.55f,
                    m_Style.m_Pad);
    }

    void WriteBass(int bar, int chord)
    {
        const std::string& steps = m_Style.m_BassSteps;
        for (int step = 0; step < kStepsPerBar; ++step)
        {
            const char kind = steps[step];
            if (kind == '.')
                continue;
            // A note lasts until the next one, a little detached.
            int length = 1;
            while (step + length < kStepsPerBar && steps[step + length] == '.')
                ++length;
            const float pitch = kind == 'f' ? Pitch(chord + 4, -2) : Pitch(chord, kind == 'o' ? -1 : -2);
            AddNote(bar * kStepsPerBar + step, std::max(1, length), pitch, step % 4 == 0 ? 0.95f : 0.8f,
                    m_Style.m_Bass);
            m_Score.m_Notes.back().m_Length *= 0.85;
        }
    }

    void WriteArp(int bar, int chord)
    {
        // Up through the chord over two octaves and back, one note per marked step.
        static constexpr std::array<int, 8> kWalk = {0, 2, 4, 7, 9, 7, 4, 2};
        const std::string& steps = m_Style.m_ArpSteps;
        for (int step = 0; step < kStepsPerBar; ++step)
        {
            if (steps[step] == '.')
                continue;
            const int degree = chord + kWalk[(bar * kStepsPerBar + step) % kWalk.size()];
            AddNote(bar * kStepsPerBar + step, 1, Pitch(degree, 1), step % 4 == 0 ? 0.9f : 0.65f,
                    m_Style.m_Arp);
        }
    }

    void WriteBell(int bar, int chord)
    {
        static constexpr std::array<int, 4> kTones = {4, 2, 7, 4};
        for (int half = 0; half < 2; ++half)
            AddNote(bar * kStepsPerBar + half * 8 + (half ? 2 : 0), 6,
                    Pitch(chord + kTones[(bar + half) % 4], 2), 0.6f, m_Style.m_Bell);
    }

    void WriteDrums(int bar)
    {
        const uint32_t layers = m_Plan.m_Layers;
        const SGroove& groove = m_Style.m_Grooves[m_Plan.m_Groove];
        const auto hits = [&](const std::string& steps, EDrum drum, float full) {
            for (int step = 0; step < kStepsPerBar; ++step)
                if (steps[step] != '.')
                    AddHit(bar * kStepsPerBar + step, drum, steps[step] == 'x' ? full : 0.5f * full);
        };
        // The fill takes over the last beat of the section.
        const bool fillBar = (layers & kLayerFill) && bar == m_Bars - 1;
        if (layers & kLayerKick)
            hits(fillBar ? groove.m_Kick.substr(0, 12) + "...." : groove.m_Kick, EDrum::Kick, 1.0f);
        if (layers & kLayerSnare)
            hits(fillBar ? groove.m_Snare.substr(0, 12) + "...." : groove.m_Snare, m_Style.m_Backbeat, 0.8f);
        if (layers & kLayerHats)
        {
            hits(groove.m_Hat, EDrum::ClosedHat, 0.2f);
            hits(groove.m_OpenHat, EDrum::OpenHat, 0.17f);
        }
    }

    // A two-bar motif from the section's seed, repeated over the chords: onsets on
    // eighths, pitches a small walk over the scale starting from the chord's root.
    void WriteLead()
    {
        CRandom random(m_Plan.m_MelodySeed);
        struct SMotifNote
        {
            int m_Step;
            int m_Degree;
        };
        std::vector<SMotifNote> motif;
        int degree = 0;
        for (int step = 0; step < 2 * kStepsPerBar; step += 2)
        {
            if (step != 0 && random.Unit() < 0.45f)
                continue;
            degree = std::clamp(degree + random.Below(5) - 2, -2, 5);
            motif.push_back({step, degree});
        }
        for (int bar = 0; bar + 1 < m_Bars; bar += 2)
            for (size_t i = 0; i < motif.size(); ++i)
            {
                const int next = i + 1 < motif.size() ? motif[i + 1].m_Step : 2 * kStepsPerBar;
                const int chord = ChordOf(bar + motif[i].m_Step / kStepsPerBar);
                AddNote(bar * kStepsPerBar + motif[i].m_Step, next - motif[i].m_Step,
                        Pitch(chord + motif[i].m_Degree, m_Style.m_LeadOctave), i == 0 ? 0.9f : 0.75f,
                        m_Style.m_Lead);
            }
    }

    const SStyle& m_Style;
    const SSectionPlan& m_Plan;
    SScore& m_Score;
    double m_Start;
    int m_Bars = 1;
    double m_StepSeconds = 0.1;
};
}

void ArrangeTrack(const SStyle& style, const std::array<SSectionPlan, kSectionCount>& plans, SScore& score)
{
    for (int section = 0; section < kSectionCount; ++section)
    {
        CSectionWriter(style, plans[section], section, score).Write();
        // Each section holds its level to 20 ms before its end, then steps to the next one.
        const float gain = plans[section].m_GainDb;
        score.m_Master.push_back({SectionStart(section), gain});
        score.m_Master.push_back({SectionEnd(section) - 0.02, gain});
    }
    score.m_Length = kTrackLength;
    score.m_FadeStart = kFadeStart;
    score.m_FadeEnd = kFadeEnd;
}
