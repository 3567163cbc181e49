#include "kelvo/core/Random15.h"

CRandom15& ProgramRandom()
{
    static CRandom15 s_Random;
    return s_Random;
}
