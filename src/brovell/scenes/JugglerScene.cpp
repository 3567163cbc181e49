#include "brovell/scenes/JugglerScene.h"

#include "brovell/StaticObjects.h"
#include "brovell/scenes/CameraKeys.h"
#include "brovell/tracer/KelvoRayTracer.h"
#include "brovell/tracer/SceneTracer.h"
#include "kelvo/gpu/Var.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/render/ClipartPhase.h"
#include "kelvo/render/KelvoRenderer.h"
#include "kelvo/render/PresentPhase.h"
#include "kelvo/tasks/TaskManager.h"
#include "quellbeam/RayTracer.h"

#include <algorithm>

namespace
{
const SVector4 kRed{1.0f, 0.0f, 0.0f, 0.0f};
const SVector4 kWhite{1.0f, 1.0f, 1.0f, 0.0f};
const SVector4 kDarkRed{0.8f, 0.1f, 0.1f, 0.0f};

// The juggler's windows in the script memory.
enum EJugglerWindow
{
    kSingleJuggler,
    kFieldFlyBy,
    kFieldStill,
    kFieldFlyAway,
};

SScriptMemory& ProgramMemory()
{
    static SScriptMemory memory;
    return memory;
}

// A flash that fades out over the window's first half second.
float Flash(float d)
{
    return 1.0f - 2.0f * std::min(0.5f * d, 1.0f);
}

// The floor and light of one frame, as SetShading takes them.
struct SShading
{
    bool m_FloorTextured = true;
    float m_ColorA[3] = {1.0f, 1.0f, 1.0f};
    float m_ColorB[3] = {1.0f, 1.0f, 1.0f};
    float m_Light[3] = {0.0f, 60.0f, 60.0f};

    // The single juggler's untextured floor in green and yellow.
    void SetJugglerFloor()
    {
        static constexpr float kGreen[3] = {0.0f, 1.0f, 0.0f};
        static constexpr float kYellow[3] = {1.0f, 1.0f, 0.0f};
        m_FloorTextured = false;
        std::copy_n(kGreen, 3, m_ColorA);
        std::copy_n(kYellow, 3, m_ColorB);
    }
};
}

CJugglerScene::CJugglerScene()
    : CJugglerScene(kCameraJ0, nullptr, true, g_TaskManager, ProgramMemory())
{
}

CJugglerScene::CJugglerScene(ITracer* tracer, CTaskManager& tasks, SScriptMemory& memory)
    : CJugglerScene(kCameraJ0, tracer, false, tasks, memory)
{
}

CJugglerScene::CJugglerScene(const SCameraKey& startKey, ITracer* tracer, bool lookUpTracer,
                             CTaskManager& tasks, SScriptMemory& memory)
    : m_Camera(CameraFromKey(startKey))
    , m_Memory(memory)
    , m_LookUpTracer(lookUpTracer)
    , m_Tracer(tracer)
    , m_Tasks(tasks)
{
}

bool CJugglerScene::GetCameraMatrix(SMatrix& outMatrix) const
{
    outMatrix = m_Camera;
    return true;
}

void CJugglerScene::UpdateAsync()
{
    // Queued only by FinishFrame, which runs only with a tracer.
    if (m_Tracer != nullptr)
        m_Tracer->Update();
}

ITracer* CJugglerScene::GetTracer()
{
    if (m_LookUpTracer)
    {
        m_Tracer = GetSceneTracer();
        m_LookUpTracer = false;
    }
    return m_Tracer;
}

void CJugglerScene::BeginFrame(const char* floorTexture)
{
    if (g_pKelvoRayTracer != nullptr)
        g_pKelvoRayTracer->SetTexture(floorTexture);
    if (g_pKelvoRenderer != nullptr)
        g_pKelvoRenderer->SetRenderProcess(&m_Process);
}

void CJugglerScene::FinishFrame()
{
    ITracer* tracer = GetTracer();
    if (tracer == nullptr)
        return;
    // The update queued by the previous frame must be over before the spheres are read.
    m_Tasks.WaitGroup(nullptr, "Default");
    tracer->UploadSpheres();
    QueueTask(m_Tasks);
}

void CJugglerScene::TakeKey(const SCameraKey& key)
{
    m_Camera = CameraFromKey(key);
}

SVector3 CJugglerScene::TakeKeyAndCapture(const SCameraKey& key, SWindowMemory& window)
{
    TakeKey(key);
    if (window.Enter())
        window.m_Captured = GetCameraPosition(m_Camera);
    return window.m_Captured;
}

void CJugglerScene::SetOverlay(const SVector4& color, float amount)
{
    m_Process.GetPresentPhase()->SetOverlay(color, amount);
}

void CJugglerScene::AddClipart(const SVector4& rectangle, const std::string& color, const std::string& alpha)
{
    m_Process.GetClipartPhase()->AddClipart(SClipartItem{rectangle, color, alpha});
}

void CJugglerScene::Frame(float t)
{
    ITracer* tracer = GetTracer();
    SShading shading;
    float cameraNoise = 0.0f;
    BeginFrame("floor.jpg");
    if (tracer != nullptr)
        tracer->SetTime(1.9f * t);

    // Windows exclude their bounds: at a bound the previous frame's camera, overlay and mode stay.
    SWindowMemory* windows = m_Memory.m_Windows;
    if (t < 9.7f)
    {
        if (tracer != nullptr)
            tracer->StartSingleJuggler();
        const SVector3 captured = TakeKeyAndCapture(kCameraJ1, windows[kSingleJuggler]);
        SetCameraPosition(m_Camera, captured + SVector3{0.0f, 1.6f * t, 0.0f});
        shading.SetJugglerFloor();
        AddClipart({0.0f, 0.7f, 1.0f, 1.0f}, "design3.jpg", "design3-alpha.jpg");
    }
    else if (t > 9.7f && t < 11.1f)
    {
        TakeKey(kCameraJ2);
        SetOverlay(kRed, Flash(t - 9.7f));
        shading.SetJugglerFloor();
    }
    else if (t > 11.1f && t < 12.1f)
    {
        if (tracer != nullptr)
            tracer->StartJugglerField();
        SetOverlay(kWhite, Flash(t - 11.1f));
        cameraNoise = 1.0f;
    }
    else if (t > 12.1f && t < 14.0f)
    {
        const float d = t - 12.1f;
        if (tracer != nullptr)
            tracer->StartJugglerField();
        const SVector3 captured = TakeKeyAndCapture(kCameraJ3, windows[kFieldFlyBy]);
        SetCameraPosition(m_Camera, captured - SVector3{0.18f * d * 122.3f, 0.0f, 0.0f});
        SetOverlay(kWhite, Flash(d));
        cameraNoise = 1.0f;
    }
    else if (t > 14.0f && t < 17.467f)
    {
        const float d = t - 14.0f;
        // The field stands still: its clock goes back to 0 after the frame's time was set.
        if (tracer != nullptr)
        {
            tracer->StartJugglerField();
            tracer->SetTime(0.0f);
        }
        const SVector3 captured = TakeKeyAndCapture(kCameraJ2, windows[kFieldStill]);
        SetCameraPosition(m_Camera, captured - SVector3{0.17f * d * 42.3f, 0.0f, 0.17f * d * 40.3f});
        SetOverlay(kDarkRed, 1.0f - 0.7f * std::min(0.5f * d, 1.0f));
        cameraNoise = 1.0f;
        AddClipart({-0.3f, 0.0f, 1.0f, 1.0f}, "design1.jpg", "design1-alpha.jpg");
    }
    else if (t > 17.467f && t < 57.0f)
    {
        const float d = t - 17.467f;
        if (tracer != nullptr)
            tracer->StartJugglerField();
        const SVector3 captured = TakeKeyAndCapture(kCameraJ3, windows[kFieldFlyAway]);
        SetCameraPosition(m_Camera, captured - SVector3{0.1f * d * 122.3f, 0.0f, 0.1f * d * 100.3f});
        SetOverlay(kWhite, Flash(d));
        cameraNoise = 1.0f;
    }

    static CVar* noise = GetVariable("r_camera_noise", 4);
    noise->SetFloat(cameraNoise);
    if (tracer != nullptr)
        tracer->SetShading(shading.m_FloorTextured, shading.m_ColorA, shading.m_ColorB, shading.m_Light);
    FinishFrame();
}
