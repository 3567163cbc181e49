// Writes 16-bit PCM audio as a RIFF WAVE file.
#pragma once

#include "platform/audio/PcmAudio.h"

#include <cstdint>
#include <string>

// Writes frames [firstFrame, firstFrame + frameCount) of audio (clamped to what it has);
// false with a message naming the file when it cannot.
bool WriteWavFile(const std::string& path, const SPcmAudio& audio, uint64_t firstFrame, uint64_t frameCount,
                  std::string& error);
