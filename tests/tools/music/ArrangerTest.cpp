// The arranger and the three compositions: sections that start on the scene boundaries,
// whole bars at a tempo near the style's, and the same score on every run.
#include "music/Arranger.h"
#include "music/Tracks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr uint32_t kEveryLayer = (kLayerFill << 1) - 1;

SStyle TestStyle()
{
    SStyle style;
    style.m_TargetBpm = 100.0;
    style.m_Progressions = {{0, 3, 4, 0}};
    style.m_Grooves = {{"x...x...x...x...", "....x.......x...", "x.x.x.x.x.x.x.x.", "..x...x...x...x."}};
    style.m_BassSteps = "r...o...f...r...";
    style.m_ArpSteps = "x.x.x.x.x.x.x.x.";
    return style;
}

int SectionOf(double time)
{
    int section = 0;
    while (section + 1 < kSectionCount && time >= SectionStart(section + 1) - 1e-9)
        ++section;
    return section;
}
}

TEST(Arranger, SectionsStartOnTheBoundariesInWholeBars)
{
    std::array<SSectionPlan, kSectionCount> plans;
    for (int section = 0; section < kSectionCount; ++section)
        plans[section] = {kEveryLayer, -static_cast<float>(section), 0, 0,
                          static_cast<uint32_t>(section + 1)};
    SScore score;
    ArrangeTrack(TestStyle(), plans, score);

    for (int section = 0; section < kSectionCount; ++section)
    {
        SCOPED_TRACE(testing::Message() << "section " << section);
        const double start = SectionStart(section);
        const double end = SectionEnd(section);
        // A kick on the first downbeat, exactly at the boundary.
        const auto onDownbeat =
            std::find_if(score.m_Hits.begin(), score.m_Hits.end(), [&](const SDrumHit& hit) {
                return hit.m_Drum == EDrum::Kick && std::fabs(hit.m_Time - start) < 1e-9;
            });
        EXPECT_NE(onDownbeat, score.m_Hits.end());
        // The kicks fall on every beat, so their spacing is the section's beat: within 10 %
        // of the style's tempo, and the section holds a whole number of bars of it.
        std::vector<double> kicks;
        for (const SDrumHit& hit : score.m_Hits)
            if (hit.m_Drum == EDrum::Kick && hit.m_Time >= start && hit.m_Time < end)
                kicks.push_back(hit.m_Time);
        ASSERT_GE(kicks.size(), 8u);
        const double beat = kicks[1] - kicks[0];
        EXPECT_NEAR(60.0 / beat, 100.0, 10.0);
        const double bars = (end - start) / (4 * beat);
        EXPECT_NEAR(bars, std::round(bars), 1e-6);
        // The master gain holds the section's level up to its end.
        const auto level = std::find_if(score.m_Master.begin(), score.m_Master.end(),
                                        [&](const SGainPoint& point) { return point.m_Time == start; });
        ASSERT_NE(level, score.m_Master.end());
        EXPECT_EQ(level->m_GainDb, plans[section].m_GainDb);
    }
    // Notes begin inside the section that wrote them, never before the first boundary's
    // section starts, and nothing is written past the show.
    for (const SNote& note : score.m_Notes)
    {
        ASSERT_GE(note.m_Start, 0.0);
        ASSERT_LT(note.m_Start, kShowEnd);
        ASSERT_LE(note.m_Start + note.m_Length, SectionEnd(SectionOf(note.m_Start)) + 1e-6)
            << "a note at " << note.m_Start << " s rings over its section's end";
    }
    EXPECT_EQ(score.m_Length, kTrackLength);
    EXPECT_LE(score.m_FadeEnd, kShowEnd);
}

TEST(Arranger, PartsFollowThePlan)
{
    std::array<SSectionPlan, kSectionCount> plans;
    plans.fill({kLayerPad, 0.0f, 0, 0, 1});
    plans[3].m_Layers = kLayerBass | kLayerSnare;
    SScore score;
    const SStyle style = TestStyle();
    ArrangeTrack(style, plans, score);
    for (const SNote& note : score.m_Notes)
        ASSERT_EQ(note.m_Instrument, SectionOf(note.m_Start) == 3 ? style.m_Bass : style.m_Pad)
            << note.m_Start;
    for (const SDrumHit& hit : score.m_Hits)
    {
        ASSERT_EQ(SectionOf(hit.m_Time), 3);
        ASSERT_EQ(hit.m_Drum, style.m_Backbeat);
    }
    EXPECT_FALSE(score.m_Hits.empty());
}

TEST(Tracks, ComposedAlikeOnEveryRunAndDifferentFromEachOther)
{
    const SScore velrin = ComposeVelrin();
    const SScore again = ComposeVelrin();
    ASSERT_EQ(velrin.m_Notes.size(), again.m_Notes.size());
    for (size_t i = 0; i < velrin.m_Notes.size(); ++i)
    {
        ASSERT_EQ(velrin.m_Notes[i].m_Start, again.m_Notes[i].m_Start);
        ASSERT_EQ(velrin.m_Notes[i].m_Pitch, again.m_Notes[i].m_Pitch);
    }
    const SScore ostyn = ComposeOstyn();
    const SScore maruvel = ComposeMaruvel();
    for (const SScore* score : {&velrin, &ostyn, &maruvel})
    {
        EXPECT_FALSE(score->m_Notes.empty());
        EXPECT_GE(score->m_Length, 222.0);
        for (const SNote& note : score->m_Notes)
            ASSERT_LT(note.m_Instrument, static_cast<int>(score->m_Instruments.size()));
    }
    EXPECT_NE(velrin.m_Notes.size(), ostyn.m_Notes.size());
    EXPECT_NE(ostyn.m_Notes.size(), maruvel.m_Notes.size());
}
