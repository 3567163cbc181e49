// Makes the three music tracks ("velrin.mp3", "ostyn.mp3", "maruvel.mp3") into a folder:
// composes, renders, normalises to -14 LUFS under the peak ceiling and encodes each, one
// thread per track, printing progress on standard output.
#pragma once

#include <string>

// False (with a message on standard error) if a track could not be written.
bool MakeMusic(const std::string& folder);
