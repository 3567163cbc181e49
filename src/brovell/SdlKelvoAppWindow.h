// The application window on SDL: creates the platform window, runs the window procedure
// over its messages and the main loop over the game.
#pragma once

#include <cstdint>

#include "brovell/KelvoAppWindow.h"
#include "brovell/MainLoop.h"
#include "platform/window/Window.h"

class CSdlKelvoAppWindow : public CKelvoAppWindow, private IMainLoopHost
{
public:
    // Opens the window, plays until the loop ends and returns the process's exit code.
    int Run();

    void GetClientSize(uint32_t& width, uint32_t& height) const override;
    void SetMouseCapture(bool capture) override;

    // Handles one message as the window procedure does; returns its result.
    int64_t WindowProc(const platform::SWindowMessage& message);

    // Called once after the game has shut down.
    virtual void OnShutdown() {}

private:
    bool OnCreate();
    void OnMouseMessage(const platform::SWindowMessage& message);
    void DestroyWindow();

    // IMainLoopHost
    bool PeekMessage(platform::SWindowMessage& message) override;
    void DispatchMessage(const platform::SWindowMessage& message) override;
    bool IsQuitRequested() const override;
    void Frame() override;
    void ShowFrameRate(const char* text) override;
    void Sleep(uint32_t milliseconds) override;

    platform::Window m_Window;
};
