#include "kelvo/core/ProgramRandom.h"

CRandom15& ProgramRandom()
{
    static CRandom15 s_Random;
    return s_Random;
}
