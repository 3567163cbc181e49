#include "brovell/MainLoop.h"

#include <cstdio>

#include "brovell/FrameRateMeter.h"
#include "platform/Clock.h"

int RunMainLoop(IMainLoopHost& host)
{
    constexpr uint32_t kSettlingPasses = 6;
    CFrameRateMeter frameRate;
    uint32_t passCount = 0;
    for (;;)
    {
        if (host.IsQuitRequested())
            return 0;
        CStopwatch passTime;

        platform::SWindowMessage message;
        bool quitTaken = false;
        int quitCode = 0;
        while (host.PeekMessage(message))
        {
            quitTaken = message.message == platform::WM_QUIT;
            if (quitTaken)
                quitCode = static_cast<int>(message.wParam);
            else
                host.DispatchMessage(message);
        }
        if (quitTaken)
            return quitCode;

        if (passCount++ < kSettlingPasses)
        {
            host.Sleep(10);
            continue;
        }
        host.Frame();
        frameRate.AddPass(passTime.GetElapsedMs());
        char text[32];
        std::snprintf(text, sizeof(text), "fps: %.2f", frameRate.GetRate());
        host.ShowFrameRate(text);
    }
}
