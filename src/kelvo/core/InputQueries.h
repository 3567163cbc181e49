// The keyboard and cursor queries that components read during their update: the
// platform's by default, replaceable so that the behaviour can be driven without a window.
#pragma once

#include <cstdint>

#include "platform/window/Window.h"

struct SInputQueries
{
    // Negative while the key or mouse button is held.
    int16_t (*keyState)(uint32_t virtualKey) = platform::KeyState;
    // The cursor position in screen pixels.
    void (*cursorPos)(int32_t& x, int32_t& y) = platform::CursorPos;

    bool IsHeld(uint32_t virtualKey) const { return keyState(virtualKey) < 0; }
};
