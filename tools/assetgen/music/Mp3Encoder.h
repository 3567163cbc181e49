// Encodes PCM to MP3 with libmp3lame: variable bit rate, and the encoder's header frame
// that tells decoders the exact length (delay and padding) for gapless playback.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// samples: interleaved floats in [-1, 1], channels 1 or 2. vbrQuality: LAME's -V scale,
// 0 (best, about 245 kbit/s) to 9 (smallest); 4 gives about 165 kbit/s.
// Returns false with a message in error if the encoder refuses the format.
bool EncodeMp3(const std::vector<float>& samples, int sampleRate, int channels, float vbrQuality,
               std::vector<uint8_t>& mp3, std::string& error);
