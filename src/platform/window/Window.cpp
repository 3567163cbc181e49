#include "platform/window/Window.h"

#include <cstring>

#include <SDL.h>

#include "platform/DynamicLibrary.h"
#include "platform/window/KeyMapping.h"

namespace platform
{
namespace
{
// A cursor position in window points as packed words in the drawable's pixels, the unit of
// the client size, so that position / client size is the same fraction on any screen.
int64_t PackPixelPosition(Uint32 windowId, int x, int y)
{
    SDL_Window* window = SDL_GetWindowFromID(windowId);
    int pointsWidth = 0, pointsHeight = 0, pixelsWidth = 0, pixelsHeight = 0;
    if (window)
    {
        SDL_GetWindowSize(window, &pointsWidth, &pointsHeight);
        SDL_GL_GetDrawableSize(window, &pixelsWidth, &pixelsHeight);
    }
    if (pointsWidth > 0 && pointsHeight > 0)
    {
        x = static_cast<int>(static_cast<int64_t>(x) * pixelsWidth / pointsWidth);
        y = static_cast<int>(static_cast<int64_t>(y) * pixelsHeight / pointsHeight);
    }
    return PackWords(static_cast<uint32_t>(x), static_cast<uint32_t>(y));
}

// Turns one SDL event into a window message; false for events the program does not take.
bool TranslateEvent(const SDL_Event& event, SWindowMessage& message)
{
    message = SWindowMessage{};
    switch (event.type)
    {
    case SDL_QUIT:
        // A close request of the desktop or a termination signal.
        message.message = WM_CLOSE;
        return true;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE)
        {
            message.message = WM_CLOSE;
            return true;
        }
        if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
        {
            // The size in the drawable's pixels, which differ from the event's points on a
            // scaled (high-DPI) screen.
            message.message = WM_SIZE;
            int width = 0;
            int height = 0;
            SDL_GL_GetDrawableSize(SDL_GetWindowFromID(event.window.windowID), &width, &height);
            message.lParam = PackWords(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
            return true;
        }
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED)
        {
            message.message = WM_PAINT;
            return true;
        }
        return false;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    {
        const uint32_t virtualKey = VirtualKeyFromScancode(event.key.keysym.scancode);
        if (virtualKey == 0)
            return false;
        const bool alt = (event.key.keysym.mod & KMOD_ALT) != 0;
        if (event.type == SDL_KEYDOWN && alt && virtualKey == VK_OEM_2)
        {
            // The accelerator: Alt+'?' and Alt+'/' (the same key) ask for the About box.
            message.message = WM_COMMAND;
            message.wParam = CWindow::kAboutCommand;
            return true;
        }
        message.message = event.type == SDL_KEYDOWN ? WM_KEYDOWN : WM_KEYUP;
        message.wParam = virtualKey;
        return true;
    }
    case SDL_MOUSEMOTION:
        message.message = WM_MOUSEMOVE;
        message.lParam = PackPixelPosition(event.motion.windowID, event.motion.x, event.motion.y);
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (event.button.button != SDL_BUTTON_LEFT)
            return false;
        message.message = event.type == SDL_MOUSEBUTTONDOWN ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        message.lParam = PackPixelPosition(event.button.windowID, event.button.x, event.button.y);
        return true;
    default:
        return false;
    }
}
}

CWindow::~CWindow()
{
    Destroy();
}

bool CWindow::Create(const char* title, const SWindowSettings& settings)
{
    if (settings.m_Offscreen)
        SDL_setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        m_Error = std::string("cannot open a display: ") + SDL_GetError();
        return false;
    }
    // SDL falls back to a window nobody sees when no display answers; the program only
    // runs there when it was asked for by name (SDL_VIDEODRIVER), as the tests do.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* requested = SDL_getenv("SDL_VIDEODRIVER");
    const bool invisible =
        driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    if (invisible && !(requested && std::strcmp(requested, driver) == 0))
    {
        m_Error =
            "cannot open a display: no X11 or Wayland display answers (is DISPLAY or WAYLAND_DISPLAY set?)";
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);

    // Full screen, the window is made at the display's position and size, so that it covers
    // the display even where no window manager carries out the full-screen request.
    SDL_Rect display{SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 1920, 1080};
    SDL_GetDisplayBounds(0, &display);
    m_RequestedWidth = settings.m_Width;
    m_RequestedHeight = settings.m_Height;
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI;
    if (settings.m_Windowed || settings.m_Offscreen)
    {
        display.w = settings.m_Width ? static_cast<int>(settings.m_Width) : display.w * 3 / 4;
        display.h = settings.m_Height ? static_cast<int>(settings.m_Height) : display.h * 3 / 4;
        display.x = display.y = SDL_WINDOWPOS_CENTERED;
        m_RequestedWidth = static_cast<uint32_t>(display.w);
        m_RequestedHeight = static_cast<uint32_t>(display.h);
    }
    else
    {
        // A size asked for full screen is the size drawn at, scaled to the display.
        flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    m_Window = SDL_CreateWindow(title, display.x, display.y, display.w, display.h, flags);
    if (!m_Window)
    {
        m_Error = std::string("cannot create the window: ") + SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    m_GLContext = SDL_GL_CreateContext(m_Window);
    if (!m_GLContext)
    {
        m_Error = std::string("cannot create an OpenGL 3.3 core context: ") + SDL_GetError();
        Destroy();
        return false;
    }
    SDL_GL_SetSwapInterval(settings.m_Vsync ? 1 : 0);
    SDL_ShowCursor(SDL_DISABLE);
    return true;
}

void CWindow::Destroy()
{
    // Destroying the GL window closes its display, and the GL driver unloads itself with it.
    // Kept mapped, the driver's memory stays attributable to it when the leak checker looks
    // at exit.
    if (m_Window)
        KeepLoadedLibrariesUntilExit();
    if (m_GLContext)
    {
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(m_GLContext));
        m_GLContext = nullptr;
    }
    if (m_Window)
    {
        // The video subsystem stays up until the process ends: shutting it down unloads the
        // GL driver, under the GL objects that the backend keeps to the end.
        SDL_DestroyWindow(m_Window);
        m_Window = nullptr;
    }
}

bool CWindow::PeekMessage(SWindowMessage& message)
{
    if (!m_Posted.empty())
    {
        message = m_Posted.front();
        m_Posted.pop_front();
        return true;
    }
    if (!m_Window)
        return false;
    SDL_Event event;
    while (SDL_PollEvent(&event))
    {
        if (TranslateEvent(event, message))
            return true;
    }
    return false;
}

void CWindow::PostQuitMessage(int exitCode)
{
    SWindowMessage quit;
    quit.message = WM_QUIT;
    quit.wParam = static_cast<uint64_t>(exitCode);
    m_Posted.push_back(quit);
}

void CWindow::GetClientSize(uint32_t& width, uint32_t& height) const
{
    int w = 0;
    int h = 0;
    if (m_Window)
        SDL_GL_GetDrawableSize(m_Window, &w, &h);
    width = static_cast<uint32_t>(w);
    height = static_cast<uint32_t>(h);
}

void CWindow::SetTitle(const char* title)
{
    if (m_Window)
        SDL_SetWindowTitle(m_Window, title);
}

void CWindow::SetMouseCapture(bool capture)
{
    SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
}

void CWindow::ShowAboutBox(const char* title, const char* text)
{
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title, text, m_Window);
}

bool CWindow::MakeContextCurrent()
{
    return m_GLContext && SDL_GL_MakeCurrent(m_Window, static_cast<SDL_GLContext>(m_GLContext)) == 0;
}

void CWindow::GetDesktopSize(uint32_t& width, uint32_t& height) const
{
    if (m_RequestedWidth && m_RequestedHeight)
    {
        width = m_RequestedWidth;
        height = m_RequestedHeight;
        return;
    }
    SDL_DisplayMode mode{};
    const int display = m_Window ? SDL_GetWindowDisplayIndex(m_Window) : 0;
    if (SDL_GetDesktopDisplayMode(display < 0 ? 0 : display, &mode) != 0)
    {
        width = height = 0;
        return;
    }
    width = static_cast<uint32_t>(mode.w);
    height = static_cast<uint32_t>(mode.h);
}

void CWindow::SwapBuffers()
{
    if (m_Window)
        SDL_GL_SwapWindow(m_Window);
}

int16_t KeyState(uint32_t virtualKey)
{
    bool held = false;
    if (virtualKey == VK_LBUTTON || virtualKey == VK_RBUTTON)
    {
        const Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
        held = (buttons & SDL_BUTTON(virtualKey == VK_LBUTTON ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT)) != 0;
    }
    else
    {
        int count = 0;
        const Uint8* keys = SDL_GetKeyboardState(&count);
        for (SDL_Scancode scancode : ScancodesOfVirtualKey(virtualKey))
            if (scancode != SDL_SCANCODE_UNKNOWN && scancode < count && keys[scancode])
                held = true;
    }
    return held ? static_cast<int16_t>(-32768) : 0;
}

void CursorPos(int32_t& x, int32_t& y)
{
    int px = 0;
    int py = 0;
    SDL_GetGlobalMouseState(&px, &py);
    x = px;
    y = py;
}
}
