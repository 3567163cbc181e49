#include "quellbeam/LibraryRandom.h"

namespace quellbeam
{
CRandom15& LibraryRandom()
{
    static CRandom15 s_Random;
    return s_Random;
}
}
