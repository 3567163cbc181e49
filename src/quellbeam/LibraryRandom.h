// The library's own random state, apart from the program's, like the one C run-time state
// of a library: seeded sequences (the juggler field after seed 123) come out the same on
// every run.
#pragma once

#include "platform/Random15.h"

namespace quellbeam
{
// The generator every draw of the library uses.
CRandom15& LibraryRandom();
}
