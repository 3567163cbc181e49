// Writes short MP3 files of known content for the audio tests: a 440 Hz sine on the first
// channel and a 660 Hz sine on the second, at half of full scale.
#pragma once

#include <string>

inline constexpr double kLeftHz = 440.0;
inline constexpr double kRightHz = 660.0;

// Encodes frameCount frames at sampleRate with channels (1 or 2) into a file named name in
// the test's temporary folder and returns its path.
std::string WriteTestMp3(const std::string& name, int sampleRate, int channels, int frameCount);
