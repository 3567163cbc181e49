#include "quellbeam/Random15.h"

namespace quellbeam
{
CRandom15& LibraryRandom()
{
    static CRandom15 random;
    return random;
}
}
