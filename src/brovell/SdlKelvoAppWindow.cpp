#include "brovell/SdlKelvoAppWindow.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

#include "brovell/capture/CaptureSession.h"
#include "brovell/demo/Harlune1.h"
#include "brovell/StaticObjects.h"
#include "brovell/sound/SoundManager.h"
#include "brovell/tracer/KelvoRayTracer.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/ResourceManager.h"
#include "kelvo/gpu/gl/GLBackendFactory.h"
#include "kelvo/render/KelvoRenderer.h"
#include "kelvo/tasks/TaskManager.h"
#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"
#include "platform/Log.h"

using namespace platform;

namespace
{
constexpr char kWindowTitle[] = "Brovell";
constexpr uint32_t kExitCommand = 105;
}

int CSdlKelvoAppWindow::Run(const SProgramOptions& options)
{
    const bool capture = options.m_Action == SProgramOptions::EAction::Capture;
    platform::SWindowSettings settings;
    settings.m_Windowed = options.m_Windowed;
    settings.m_Width = options.m_Width;
    settings.m_Height = options.m_Height;
    settings.m_Vsync = options.m_Vsync && !capture;
    settings.m_Offscreen = capture;
    if (g_pSoundManager)
        g_pSoundManager->SetPlayback(options.m_StartSeconds, options.m_Mute);
    if (!RegisterDataFolder())
        return 1;
    if (capture && !StartCapture(options))
        return 1;
    if (options.m_TraceScale > 0.0f && g_pKelvoRayTracer)
        g_pKelvoRayTracer->PinScale(options.m_TraceScale);
    if (!m_Window.Create(kWindowTitle, settings))
    {
        DebugLog("[CSdlKelvoAppWindow::Run] %s\n", m_Window.GetError().c_str());
        return 1;
    }
    if (WindowProc({WM_CREATE, 0, 0}) != 0)
    {
        DebugLog("[CSdlKelvoAppWindow::Run] The window could not be set up.\n");
        // The backend keeps its resources until the process ends, as after a show.
        if (m_GPUImplementation)
            m_GPUImplementation->Release();
        m_Window.Destroy();
        return 1;
    }
    int exitCode = RunMainLoop(*this);
    if (m_Capture)
    {
        // The show did not reach its end (the window was asked to close): nothing is kept.
        std::fprintf(stderr, "\nbrovell: the capture was interrupted; nothing was written\n");
        delete m_Capture;
        m_Capture = nullptr;
        exitCode = 1;
    }
    m_Game.Shutdown();
    OnShutdown();
    m_Window.Destroy();
    return exitCode;
}

int64_t CSdlKelvoAppWindow::WindowProc(const SWindowMessage& message)
{
    switch (message.message)
    {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_DESTROY:
        m_Window.PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        if (CKelvoRenderer* renderer = m_Game.GetRenderer())
            renderer->SetScreenSize(LowWord(message.lParam), HighWord(message.lParam));
        return 0;
    case WM_CLOSE:
        m_Game.RequestQuit();
        return 0;
    case WM_KEYDOWN:
        if (message.wParam == VK_ESCAPE)
            _exit(0);
        m_InputDispatcher.KeyDown(static_cast<uint32_t>(message.wParam));
        return 0;
    case WM_KEYUP:
        m_InputDispatcher.KeyUp(static_cast<uint32_t>(message.wParam));
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        OnMouseMessage(message);
        return 0;
    case WM_COMMAND:
        if (message.wParam == CWindow::kAboutCommand)
            m_Window.ShowAboutBox(kWindowTitle, "Brovell, a real-time demo.");
        else if (message.wParam == kExitCommand)
            DestroyWindow();
        return 0;
    default:
        return 0;
    }
}

void CSdlKelvoAppWindow::OnMouseMessage(const SWindowMessage& message)
{
    // The cursor as fractions of the client area (an empty area counts as one pixel).
    uint32_t width = 0, height = 0;
    GetClientSize(width, height);
    const float x = static_cast<float>(LowWord(message.lParam)) / static_cast<float>(width ? width : 1);
    const float y = static_cast<float>(HighWord(message.lParam)) / static_cast<float>(height ? height : 1);
    if (message.message == WM_MOUSEMOVE)
        m_InputDispatcher.MouseMove(x, y);
    else if (message.message == WM_LBUTTONDOWN)
        m_InputDispatcher.ButtonDown(x, y);
    else
        m_InputDispatcher.ButtonUp(x, y);
}

bool CSdlKelvoAppWindow::OnCreate()
{
    m_GPUImplementation = CreateGPUImplementationGL();
    const uint32_t result = m_GPUImplementation->Initialize(this, true);
    if (result != kGPUResultOk)
    {
        DebugLog("[CSdlKelvoAppWindow::OnCreate] The OpenGL backend did not start (code %u).\n", result);
        return false;
    }
    // Everything is drawn with the built-in effect: without it there is no show to see.
    const GPUObjectHandle* effect = m_GPUImplementation->FindByName("default", kGPUObjectEffect);
    if (effect == nullptr)
    {
        DebugLog("[CSdlKelvoAppWindow::OnCreate] The built-in effect could not be made from default.e.\n");
        return false;
    }
    const GPUObjectHandle lookUp = *effect; // the look-up's reference goes back
    m_GPUImplementation->ReleaseResource(&lookUp);
    m_Game.SetRenderer(new CKelvoRenderer(m_GPUImplementation, m_Game.GetSpace()));
    m_Game.CreateWorld();
    return true;
}

bool CSdlKelvoAppWindow::RegisterDataFolder()
{
    // "data" below the working directory; the one beside the executable when there is none.
    // Without either there is no show to play.
    std::error_code error;
    std::string folder = "data";
    if (!std::filesystem::is_directory(folder, error))
        folder = GetExecutableDirectory() + "data";
    if (!std::filesystem::is_directory(folder, error))
    {
        DebugLog("[CSdlKelvoAppWindow::Run] No data folder: neither ./data nor %s exists.\n", folder.c_str());
        return false;
    }
    CResourceManager::Instance().ScanDirectory(folder);
    return true;
}

void CSdlKelvoAppWindow::DestroyWindow()
{
    m_Window.Destroy();
    WindowProc({WM_DESTROY, 0, 0});
}

void CSdlKelvoAppWindow::GetClientSize(uint32_t& width, uint32_t& height) const
{
    m_Window.GetClientSize(width, height);
}

void CSdlKelvoAppWindow::SetMouseCapture(bool capture)
{
    m_Window.SetMouseCapture(capture);
}

bool CSdlKelvoAppWindow::MakeContextCurrent()
{
    return m_Window.MakeContextCurrent();
}

void CSdlKelvoAppWindow::GetDesktopSize(uint32_t& width, uint32_t& height) const
{
    m_Window.GetDesktopSize(width, height);
}

void CSdlKelvoAppWindow::SwapBuffers()
{
    m_Window.SwapBuffers();
}

bool CSdlKelvoAppWindow::PeekMessage(SWindowMessage& message)
{
    return m_Window.PeekMessage(message);
}

void CSdlKelvoAppWindow::DispatchMessage(const SWindowMessage& message)
{
    WindowProc(message);
}

bool CSdlKelvoAppWindow::IsQuitRequested() const
{
    return m_Game.IsQuitRequested();
}

void CSdlKelvoAppWindow::Frame()
{
    if (!m_Capture)
    {
        m_Game.Frame();
        return;
    }
    m_Capture->BeforeFrame();
    m_Game.Frame();
    // The scenes' background steps finish within their frame, so what they compute does
    // not depend on how the worker threads were scheduled.
    g_TaskManager.WaitGroup(nullptr, "Default");
    std::string error;
    if (!m_Capture->AfterFrame(error))
    {
        std::fprintf(stderr, "\nbrovell: the capture failed: %s\n", error.c_str());
        delete m_Capture; // removes what was half-written
        _exit(1);
    }
}

void CSdlKelvoAppWindow::ShowFrameRate(const char* text)
{
    // A capture shows the rate its frames play at, the same on every run.
    char captureRate[32];
    if (m_Capture)
    {
        std::snprintf(captureRate, sizeof(captureRate), "fps: %.2f", double(m_Capture->GetFramesPerSecond()));
        text = captureRate;
    }
    if (CKelvoRenderer* renderer = m_Game.GetRenderer())
        renderer->DrawText({0.0f, 0.0f, 0.0f, 0.0f}, text, 0);
}

namespace
{
CCaptureSession* s_pEndingCapture = nullptr;

// The show's end during a capture: the output is completed before the process ends.
void FinishCaptureAndExit(int code)
{
    std::string error;
    if (!s_pEndingCapture->Finish(error))
    {
        std::fprintf(stderr, "brovell: the capture failed: %s\n", error.c_str());
        code = 1;
    }
    delete s_pEndingCapture;
    _exit(code);
}
}

bool CSdlKelvoAppWindow::StartCapture(const SProgramOptions& options)
{
    if (!g_pHarlune1)
    {
        std::fprintf(stderr, "brovell: there is no show to capture\n");
        return false;
    }
    const std::string track = options.m_Track.empty() ? CDemoTimeline::kTracks[0] : options.m_Track;
    if (std::find(std::begin(CDemoTimeline::kTracks), std::end(CDemoTimeline::kTracks), track) ==
        std::end(CDemoTimeline::kTracks))
    {
        std::fprintf(stderr, "brovell: --track: \"%s\" is not one of velrin.mp3, ostyn.mp3, maruvel.mp3\n",
                     track.c_str());
        return false;
    }
    m_Capture = new CCaptureSession(options, g_pHarlune1->GetEntries());
    s_pEndingCapture = m_Capture;
    SShowOverrides overrides;
    overrides.m_Music = &m_Capture->GetClock();
    overrides.m_Track = track;
    overrides.m_FixedSeed = true;
    overrides.m_Exit = FinishCaptureAndExit;
    g_pHarlune1->Override(overrides);
    std::fprintf(stderr, "capture: %llu frames of the show from %.2f s at %u fps, %ux%u, music \"%s\"\n",
                 static_cast<unsigned long long>(m_Capture->GetFrameCount()), options.m_StartSeconds,
                 options.m_FramesPerSecond, options.m_Width, options.m_Height, overrides.m_Track.c_str());
    return true;
}

void CSdlKelvoAppWindow::Sleep(uint32_t milliseconds)
{
    SleepMs(milliseconds);
}
