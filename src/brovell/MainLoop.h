// The program's message loop: each pass drains the window's messages and then runs one
// frame, back to back, with no frame limiter. The first six passes only sleep 10 ms, so
// the window settles before the first frame.
#pragma once

#include <cstdint>

#include "platform/window/WindowMessage.h"

// What the loop drives; the application window implements it.
class IMainLoopHost
{
public:
    virtual bool PeekMessage(platform::SWindowMessage& message) = 0;
    virtual void DispatchMessage(const platform::SWindowMessage& message) = 0;
    virtual bool IsQuitRequested() const = 0;
    virtual void Frame() = 0;
    // Shows the frame-rate text ("fps: %.2f") with the next frame.
    virtual void ShowFrameRate(const char* text) = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;

protected:
    ~IMainLoopHost() = default;
};

// Runs passes until quit is requested or a quit message is taken; returns the quit
// message's code (0 when the loop ended on the quit request).
int RunMainLoop(IMainLoopHost& host);
