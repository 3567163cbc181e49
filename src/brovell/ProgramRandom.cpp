#include "brovell/ProgramRandom.h"

namespace
{
uint32_t s_State = 1;
}

void SeedProgramRandom(uint32_t seed)
{
    s_State = seed;
}

int ProgramRandom()
{
    s_State = s_State * 214013u + 2531011u;
    return static_cast<int>((s_State >> 16) & 0x7fffu);
}
