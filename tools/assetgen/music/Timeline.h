// The show's timeline as the music must follow it: the scene boundaries (seconds) where
// a track changes section, the end of the show and the length of every track.
#pragma once

#include <array>

inline constexpr std::array<double, 7> kSceneBoundaries = {22.6, 53.4, 82.0, 111.43, 151.43, 175.4, 202.0};
inline constexpr int kSectionCount = static_cast<int>(kSceneBoundaries.size()) + 1;
inline constexpr double kShowEnd = 220.0;
inline constexpr double kFadeStart = 212.0;
inline constexpr double kFadeEnd = 219.5;     // silent from here, before the show ends
inline constexpr double kTrackLength = 223.0; // a little silence after the show

// Start and end of section index (0 .. kSectionCount - 1); the last one ends with the show.
inline double SectionStart(int section)
{
    return section == 0 ? 0.0 : kSceneBoundaries[section - 1];
}

inline double SectionEnd(int section)
{
    return section == kSectionCount - 1 ? kShowEnd : kSceneBoundaries[section];
}
