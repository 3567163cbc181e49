// The program's rand/srand: the classic 15-bit linear congruential generator (values 0 to
// 32767) with the program's own state, so a seed gives the same draws on every platform.
// Main thread only (the timeline and the scenes draw from it).
#pragma once

#include <cstdint>

inline constexpr int kProgramRandomMax = 32767;

void SeedProgramRandom(uint32_t seed);
int ProgramRandom();
