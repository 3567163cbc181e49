// What a traced-ball script keeps for the whole program run, per window of its script:
// whether the window's first frame has passed, and the camera position captured then.
// Nothing ever resets it, so a scene entered a second time does not take its "once" keys again.
#pragma once

#include "kelvo/core/Math.h"

struct SWindowMemory
{
    // True at the first frame of the window in the program run, false afterwards.
    bool Enter()
    {
        const bool first = !m_Entered;
        m_Entered = true;
        return first;
    }

    bool m_Entered = false;
    SVector3 m_Captured;
};

struct SScriptMemory
{
    static constexpr int kWindows = 8;
    SWindowMemory m_Windows[kWindows];
};
