#include "brovell/scenes/BallsScene.h"

#include "brovell/StaticObjects.h"
#include "brovell/scenes/CameraKeys.h"
#include "quellbeam/RayTracer.h"

#include <algorithm>
#include <cmath>

namespace
{
const SVector4 kBlack{0.0f, 0.0f, 0.0f, 0.0f};
const SVector4 kWhite{1.0f, 1.0f, 1.0f, 0.0f};

// The balls scene's windows in the script memory.
enum EBallsWindow
{
    kPan,
    kSideView,
    kTopView,
    kSwing,
    kSlowSwing,
    kSwingAgain,
    kFadeOut,
};

SScriptMemory& ProgramMemory()
{
    static SScriptMemory memory;
    return memory;
}

float Flash(float d)
{
    return 1.0f - 2.0f * std::min(0.5f * d, 1.0f);
}
}

CBallsScene::CBallsScene()
    : CJugglerScene(kCameraB0, nullptr, true, g_TaskManager, ProgramMemory())
{
}

CBallsScene::CBallsScene(ITracer* tracer, CTaskManager& tasks, SScriptMemory& memory)
    : CJugglerScene(kCameraB0, tracer, false, tasks, memory)
{
}

void CBallsScene::LoadResources()
{
    for (const char* picture : {"design1.jpg", "design1-alpha.jpg", "design2.jpg", "design2-alpha.jpg",
                                "design3.jpg", "design3-alpha.jpg", "metal.jpg"})
        m_Preload.LoadTexture(picture);
}

void CBallsScene::Frame(float t)
{
    ITracer* tracer = GetTracer();
    if (tracer != nullptr)
    {
        const float white[3] = {1.0f, 1.0f, 1.0f};
        const float light[3] = {0.0f, 60.0f + std::sin(t), 30.0f};
        tracer->SetShading(true, white, white, light);
    }
    BeginFrame("metal.jpg");
    if (tracer != nullptr)
    {
        tracer->StartBallSimulation(5);
        tracer->SetTime(t);
    }

    // A key marked "once" is taken only at the window's first frame in the program run; the
    // camera keeps it afterwards. Windows exclude their bounds.
    SWindowMemory* windows = m_Memory.m_Windows;
    auto takeOnce = [&](const SCameraKey& key, EBallsWindow window) {
        if (windows[window].Enter())
            TakeKey(key);
    };
    bool hasGravity = false;
    float gravity[3] = {0.0f, -1.0f, 0.0f};
    if (t < 7.0f)
        SetOverlay(kBlack, 1.0f - std::min(0.5f * t, 1.0f));
    else if (t > 7.0f && t < 16.0f)
    {
        const float d = t - 7.0f;
        if (windows[kPan].Enter())
        {
            TakeKey(kCameraB1);
            windows[kPan].m_Captured = GetCameraPosition(m_Camera);
        }
        SetCameraPosition(m_Camera, windows[kPan].m_Captured + SVector3{5.0f * d, 0.0f, 0.0f});
    }
    else if (t > 16.0f && t < 16.5f)
    {
        takeOnce(kCameraB2, kSideView);
        SetOverlay(kWhite, Flash(t - 16.0f));
    }
    else if (t > 16.5f && t < 17.0f)
    {
        takeOnce(kCameraB3, kTopView);
        SetOverlay(kWhite, Flash(t - 16.5f));
    }
    else if (t > 17.0f && t < 20.0f)
    {
        takeOnce(kCameraB4, kSwing);
        SetOverlay(kWhite, Flash(t - 17.0f));
        hasGravity = true;
        gravity[0] = 3.0f * std::sin(t - 17.0f);
    }
    else if (t > 20.0f && t < 21.5f)
    {
        takeOnce(kCameraB3, kSlowSwing);
        SetOverlay(kWhite, Flash(t - 20.0f));
        hasGravity = true;
        gravity[0] = std::sin(0.8f * (t - 17.0f));
    }
    else if (t > 21.5f && t < 26.0f)
    {
        takeOnce(kCameraB4, kSwingAgain);
        SetOverlay(kWhite, Flash(t - 21.5f));
        hasGravity = true;
        gravity[0] = 3.0f * std::sin(t - 17.0f);
    }
    else if (t > 26.0f)
    {
        takeOnce(kCameraB4, kFadeOut);
        SetOverlay(kBlack, std::min(0.1f * (t - 26.0f), 1.0f));
        hasGravity = true;
        gravity[0] = std::sin(t - 17.0f);
    }
    if (hasGravity && tracer != nullptr)
        tracer->SetGravity(gravity);
    FinishFrame();
}
