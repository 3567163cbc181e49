// The program run headless (SDL's offscreen driver, llvmpipe) with the real window, game,
// renderer and main loop. After a few seconds and frames past loading it reads the frame back
// through the GPU backend just before it is shown, checks that the frame-rate text is drawn in the
// top-left corner (and saves the picture when a path is given), then presses Escape, which
// ends the process with code 0. Any failure ends it with code 1.
//   brovell_headless [SCREENSHOT.png]
#include "brovell/SdlKelvoAppWindow.h"
#include "brovell/StaticObjects.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/tasks/TaskManager.h"
#include "kelvo/tasks/UpdateManager.h"
#include "platform/Clock.h"

#include <stb/stb_image_write.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
constexpr double kRunSeconds = 3.0;
constexpr int kMinimumFrames = 5;

// Near-white pixels in the rows above the logo's letters (which start a quarter down the
// logo, 0.0834 of the height): only the text can put them there, as the band is blue to
// violet.
int TextPixels(const std::vector<uint8_t>& rgba, uint32_t width, uint32_t height)
{
    const uint32_t rows = std::min<uint32_t>(14, static_cast<uint32_t>(0.02 * height));
    const uint32_t columns = std::min<uint32_t>(width, 200);
    int count = 0;
    for (uint32_t y = 0; y < rows; ++y)
        for (uint32_t x = 0; x < columns; ++x)
        {
            const uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
            count += p[0] > 200 && p[1] > 200 && p[2] > 200;
        }
    return count;
}

class CCapturingWindow : public CSdlKelvoAppWindow
{
public:
    std::string m_ScreenshotPath;

    void SwapBuffers() override
    {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - m_Start).count();
        if (m_Frames >= kMinimumFrames && seconds >= kRunSeconds)
            CheckFrame();
        CSdlKelvoAppWindow::SwapBuffers();
    }

private:
    // Counts the main loop's frames only: the loader also presents, from inside the first
    // frame, for as long as loading takes.
    void Frame() override
    {
        ++m_Frames;
        GetGame().Frame();
    }

    void CheckFrame()
    {
        uint32_t width = 0, height = 0;
        std::vector<uint8_t> rgba;
        if (g_pGPUImplementation == nullptr || !g_pGPUImplementation->ReadFrame(rgba, width, height))
        {
            std::fprintf(stderr, "brovell_headless: FAIL: the frame cannot be read back\n");
            _exit(1);
        }
        const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
        if (!m_ScreenshotPath.empty())
            stbi_write_png(m_ScreenshotPath.c_str(), static_cast<int>(width), static_cast<int>(height), 4,
                           rgba.data(), static_cast<int>(rowBytes));
        const int textPixels = TextPixels(rgba, width, height);
        std::fprintf(stderr, "brovell_headless: %d frames, %ux%u, %d text pixels in the top-left corner\n",
                     m_Frames, width, height, textPixels);
        if (textPixels < 40)
        {
            std::fprintf(stderr, "brovell_headless: FAIL: no frame-rate text in the top-left corner\n");
            _exit(1);
        }
        WindowProc({platform::WM_KEYDOWN, platform::VK_ESCAPE, 0});
        std::fprintf(stderr, "brovell_headless: FAIL: Escape did not end the program\n");
        _exit(1);
    }

    int m_Frames = 0;
    std::chrono::steady_clock::time_point m_Start = std::chrono::steady_clock::now();
};

struct SClockStart
{
    SClockStart() { StartClock(); }
};
}

// The program's static objects in the program's order, with the capturing window.
static CCapturingWindow s_Window;
CUpdateManager g_UpdateManager(&g_TaskManager);
static SClockStart s_ClockStart;
CTaskManager g_TaskManager(4);

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (argc > 1)
        s_Window.m_ScreenshotPath = argv[1];
    s_Window.Run();
    std::fprintf(stderr, "brovell_headless: FAIL: the main loop ended before the check\n");
    return 1;
}
