// A mouse event as the input targets receive it: the picking ray through the cursor (zero
// when there is no camera) and the cursor position as fractions of the client area.
#pragma once

#include "kelvo/core/Ray.h"

struct SInputEvent
{
    SRay ray;
    // 0 at the left and top, 1 at the right and bottom.
    float cursorX = 0.0f;
    float cursorY = 0.0f;
};
