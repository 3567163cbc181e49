// The application window on SDL: creates the platform window, runs the window procedure
// over its messages and the main loop over the game.
#pragma once

#include <cstdint>

#include "brovell/KelvoAppWindow.h"
#include "brovell/MainLoop.h"
#include "brovell/options/ProgramOptions.h"
#include "kelvo/gpu/gl/GLWindowSurface.h"
#include "platform/window/Window.h"

class CCaptureSession;
class IGPUImplementation;

class CSdlKelvoAppWindow : public CKelvoAppWindow, public IGLWindowSurface, private IMainLoopHost
{
public:
    // Opens the window, plays (or captures) until the loop ends and returns the process's
    // exit code.
    int Run(const SProgramOptions& options = {});

    void GetClientSize(uint32_t& width, uint32_t& height) const override;
    void SetMouseCapture(bool capture) override;

    // IGLWindowSurface
    bool MakeContextCurrent() override;
    void GetDesktopSize(uint32_t& width, uint32_t& height) const override;
    void SwapBuffers() override;

    // Handles one message as the window procedure does; returns its result.
    int64_t WindowProc(const platform::SWindowMessage& message);

    // Called once after the game has shut down.
    virtual void OnShutdown() {}

private:
    bool OnCreate();
    void OnMouseMessage(const platform::SWindowMessage& message);
    // Registers the data folder's files; false with a message when there is no data folder.
    bool RegisterDataFolder();
    void DestroyWindow();
    // Makes the show run on the capture's frame clock; false with a message when it cannot.
    bool StartCapture(const SProgramOptions& options);

    // IMainLoopHost
    bool PeekMessage(platform::SWindowMessage& message) override;
    void DispatchMessage(const platform::SWindowMessage& message) override;
    bool IsQuitRequested() const override;
    void Frame() override;
    void ShowFrameRate(const char* text) override;
    void Sleep(uint32_t milliseconds) override;

    platform::CWindow m_Window;
    CCaptureSession* m_Capture = nullptr; // owned; set while capturing
    // Created with the window and kept until the process ends: resources still held by
    // their users stay valid (they are released through their handles, never by the backend).
    IGPUImplementation* m_GPUImplementation = nullptr;
};
