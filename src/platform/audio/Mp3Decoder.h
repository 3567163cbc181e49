// Decodes an MP3 file completely into memory with libmpg123: 16-bit PCM at the file's own
// sample rate and channel count, gapless (encoder delay and padding removed when the file
// says how much there is). Needs no audio device; safe to call from any thread.
#pragma once

#include "platform/audio/PcmAudio.h"

#include <string>

// Fills audio and returns true, or returns false with a message naming the file in error
// (audio is then empty). A file that yields no audio frame counts as a failure.
bool DecodeMp3File(const std::string& path, SPcmAudio& audio, std::string& error);
