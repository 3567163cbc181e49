// What the GL backend needs of the application window: its GL context, its client and
// desktop sizes, and showing a finished frame. The SDL application window implements it;
// the backend's Initialize refuses any window that does not.
#pragma once

#include <cstdint>

class IGLWindowSurface
{
public:
    virtual ~IGLWindowSurface() = default;

    // Makes the window's OpenGL 3.3 core context current; false when it has none.
    virtual bool MakeContextCurrent() = 0;
    virtual void GetClientSize(uint32_t& outWidth, uint32_t& outHeight) const = 0;
    // The desktop resolution: the back buffer's size, whatever the window's.
    virtual void GetDesktopSize(uint32_t& outWidth, uint32_t& outHeight) const = 0;
    // Shows the window's framebuffer without waiting for vertical retrace.
    virtual void SwapBuffers() = 0;
};
