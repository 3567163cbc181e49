// Diagnostics: every message of the program goes through DebugLog to standard error.
// A message is formatted into a 16384-byte buffer (longer text is cut, never overrun) and
// written with one write, so lines from several threads do not interleave.
#pragma once

#include <cstddef>

inline constexpr std::size_t kDebugLogBufferSize = 16384;

void DebugLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
