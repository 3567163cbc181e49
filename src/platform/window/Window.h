// The program's one window: a borderless full-screen window with an OpenGL 3.3 core
// context, built on SDL2. It turns the platform's events into window messages (see
// WindowMessage.h) and answers key-state and cursor queries. Main thread only.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "platform/window/WindowMessage.h"

struct SDL_Window;

namespace platform
{
// How the window is made. The defaults: borderless full screen over the display, no wait for
// the display's refresh.
struct SWindowSettings
{
    bool m_Windowed = false;
    uint32_t m_Width = 0; // with m_Height: the window's size, or full screen the size drawn at
    uint32_t m_Height = 0;
    bool m_Vsync = false;
    // No display at all: an invisible window of the given size on SDL's offscreen driver,
    // for rendering to files.
    bool m_Offscreen = false;
};

class CWindow
{
public:
    CWindow() = default;
    ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    // Opens the window and its GL context. False with a message in GetError on failure.
    bool Create(const char* title, const SWindowSettings& settings = {});
    void Destroy();
    bool IsOpen() const { return m_Window != nullptr; }
    const std::string& GetError() const { return m_Error; }

    // Takes the next message without waiting: first those posted by the program, then the
    // platform's events, translated. Alt+'?' and Alt+'/' arrive as WM_COMMAND kAboutCommand.
    bool PeekMessage(SWindowMessage& message);
    void PostMessage(const SWindowMessage& message) { m_Posted.push_back(message); }
    void PostQuitMessage(int exitCode);

    void GetClientSize(uint32_t& width, uint32_t& height) const;
    void SetTitle(const char* title);
    void SetMouseCapture(bool capture);
    void ShowAboutBox(const char* title, const char* text);

    // Makes the window's GL context current on this thread; false when it has none.
    bool MakeContextCurrent();
    // The resolution of the desktop the window is on; the size asked for, when one was.
    void GetDesktopSize(uint32_t& width, uint32_t& height) const;
    // Shows the window's framebuffer (no vertical sync).
    void SwapBuffers();

    static constexpr uint32_t kAboutCommand = 104;

private:
    SDL_Window* m_Window = nullptr;
    void* m_GLContext = nullptr;
    uint32_t m_RequestedWidth = 0;
    uint32_t m_RequestedHeight = 0;
    std::deque<SWindowMessage> m_Posted;
    std::string m_Error;
};

// Like the classic key-state query: negative while the key or mouse button is held.
int16_t KeyState(uint32_t virtualKey);
// The cursor position in screen pixels.
void CursorPos(int32_t& x, int32_t& y);
}
