// The program's one random state, like the C run time's single rand/srand state.
#pragma once

#include "platform/Random15.h"

// The generator every draw of the program uses.
CRandom15& ProgramRandom();
