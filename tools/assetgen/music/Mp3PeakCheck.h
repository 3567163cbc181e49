// Measures an encoded MP3 the way a player will hear it: decodes it (with LAME's own
// decoder) and returns its true peak in dBTP. MP3 coding adds overshoot to the peaks of
// the input, so the generator checks its result with this.
#pragma once

#include <cstdint>
#include <vector>

// The decoded stereo track's true peak in dBTP, or +HUGE_VAL if it does not decode.
// Thread-safe; calls from several threads take turns.
double MeasureDecodedTruePeak(const std::vector<uint8_t>& mp3, int sampleRate);
