#include "brovell/tracer/KelvoRayTracer.h"

#include "brovell/tracer/TracerTexture.h"
#include "brovell/tracer/ViewBlock.h"
#include "kelvo/core/GameObject.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/GPUTexture.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/render/KelvoRenderer.h"
#include "kelvo/world/CameraLogic.h"
#include "kelvo/world/InputDispatcher.h"
#include "platform/window/WindowMessage.h"
#include "platform/Clock.h"
#include "platform/Log.h"

#include <cmath>
#include <cstdio>

CKelvoRayTracer* g_pKelvoRayTracer = nullptr;

namespace
{
// The statistics assume a device of 192 cores at 1242 MHz; display only.
constexpr float kPixels = static_cast<float>(CKelvoRayTracer::kImageWidth * CKelvoRayTracer::kImageHeight);
constexpr float kCyclesPerMillisecond = 1242000.0f;
constexpr float kCores = 192.0f;
constexpr float kTreeHalfSize = 110.0f;
}

CKelvoRayTracer::CKelvoRayTracer(IRayTracer* tracer)
    : m_Tracer(tracer)
{
}

CKelvoRayTracer::~CKelvoRayTracer()
{
    ReleaseTextures();
    if (g_pKelvoRayTracer == this)
        g_pKelvoRayTracer = nullptr;
}

void CKelvoRayTracer::SetTracedSize(uint32_t width, uint32_t height)
{
    static CVar* scaleX = GetVariable("r_rt_scale_x", 4);
    static CVar* scaleY = GetVariable("r_rt_scale_y", 4);
    scaleX->SetFloat(static_cast<float>(width) / CKelvoRenderer::kDefaultWidth);
    scaleY->SetFloat(static_cast<float>(height) / CKelvoRenderer::kDefaultHeight);
    m_TracedWidth = width;
    m_TracedHeight = height;
    if (m_OutputAdapter != nullptr)
        m_OutputAdapter->SetUploadArea(width, height);
}

void CKelvoRayTracer::ChooseTracedSize()
{
    const double now = GetRealTimeMs();
    const bool onHost = m_Tracer->TracesOnHost();
    if (onHost && m_LastFrameStartMs >= 0.0)
        m_Resolution.AddFrame(now - m_LastFrameStartMs, m_LastTraceMs);
    m_LastFrameStartMs = now;
    const float scale = onHost || m_Resolution.IsPinned() ? m_Resolution.GetScale() : 1.0f;
    const auto width = static_cast<uint32_t>(std::lround(scale * kImageWidth));
    const auto height = static_cast<uint32_t>(std::lround(scale * kImageHeight));
    if (width == m_TracedWidth && height == m_TracedHeight)
        return;
    if (m_Tracer->SetScreenSize(width, height))
        SetTracedSize(width, height);
}

void CKelvoRayTracer::CreateRenderTargets(uint32_t /*width*/, uint32_t /*height*/)
{
    SetTracedSize(kImageWidth, kImageHeight);

    IGPUImplementation* backend = g_pGPUImplementation;
    if (m_Tracer == nullptr || backend == nullptr)
    {
        m_Width = 0;
        m_Height = 0;
        return;
    }
    if (m_Output == nullptr)
    {
        if (backend->CreateTexture("soft_raytracer_rt", kImageWidth, kImageHeight, 1, kTracerTextureFloat4,
                                   false, m_OutputHandle) != kGPUResultOk)
        {
            DebugLog("[CKelvoRayTracer::CreateRenderTargets] Failed to create the output texture!\n");
            return;
        }
        m_Output = GPUResourceCast<IGPUTexture>(backend->GetResource(m_OutputHandle));
        if (backend->LoadTexture("kelvo_rtinput_buffer", m_InputHandle) == kGPUResultOk)
            m_Input = GPUResourceCast<IGPUTexture>(backend->GetResource(m_InputHandle));
        if (m_Input == nullptr)
        {
            DebugLog("[CKelvoRenderer::CreateRenderTargets] Failed to create color buffer!\n");
            return;
        }
        if (m_Output != nullptr)
        {
            m_OutputAdapter = std::make_unique<CTracerTexture>(m_Output);
            m_InputAdapter = std::make_unique<CTracerTexture>(m_Input);
            m_Tracer->SetGLData(m_OutputAdapter.get(), m_InputAdapter.get());
        }
    }
    m_Tracer->SetScreenSize(kImageWidth, kImageHeight);
    SetTexture("white.jpg");
    m_Width = static_cast<int32_t>(kImageWidth);
    m_Height = static_cast<int32_t>(kImageHeight);
}

void CKelvoRayTracer::ReleaseTextures()
{
    if (IGPUImplementation* backend = g_pGPUImplementation)
        for (GPUObjectHandle* handle : {&m_OutputHandle, &m_InputHandle, &m_FloorHandle})
            if (handle->IsValid())
                backend->ReleaseResource(handle);
    m_OutputHandle = m_InputHandle = m_FloorHandle = GPUObjectHandle{};
    m_Output = m_Input = nullptr;
    m_OutputAdapter.reset();
    m_InputAdapter.reset();
    m_InputReleased = false;
    m_FloorAdapter.reset();
    m_FloorName.clear();
    m_Width = m_Height = 0;
}

void CKelvoRayTracer::ReleaseInputBuffer()
{
    if (m_Input == nullptr)
        return;
    if (IGPUImplementation* backend = g_pGPUImplementation)
        backend->ReleaseResource(&m_InputHandle);
    m_InputHandle = GPUObjectHandle{};
    m_Input = nullptr;
    m_InputReleased = true;
}

void CKelvoRayTracer::TakeInputBuffer()
{
    IGPUImplementation* backend = g_pGPUImplementation;
    if (m_Tracer == nullptr || m_OutputAdapter == nullptr || backend == nullptr)
        return;
    GPUObjectHandle handle;
    if (backend->LoadTexture("kelvo_rtinput_buffer", handle) != kGPUResultOk)
        return;
    auto* input = GPUResourceCast<IGPUTexture>(backend->GetResource(handle));
    if (input == nullptr || input == m_Input)
    {
        backend->ReleaseResource(&handle);
        return;
    }
    auto adapter = std::make_unique<CTracerTexture>(input);
    m_Tracer->SetGLData(m_OutputAdapter.get(), adapter.get());
    if (m_InputHandle.IsValid())
        backend->ReleaseResource(&m_InputHandle);
    m_InputHandle = handle;
    m_Input = input;
    m_InputAdapter = std::move(adapter);
    m_InputReleased = false;
}

void CKelvoRayTracer::SetTexture(const std::string& name)
{
    if (name == m_FloorName)
        return;
    m_FloorName = name;
    IGPUImplementation* backend = g_pGPUImplementation;
    if (m_Tracer == nullptr || backend == nullptr)
        return;
    GPUObjectHandle handle;
    if (backend->LoadTexture(name, handle) != kGPUResultOk)
        return;
    auto* texture = GPUResourceCast<IGPUTexture>(backend->GetResource(handle));
    if (texture == nullptr)
    {
        DebugLog("[CKelvoRayTracer::SetTexture] FAILED: Can't cast texture!\n");
        backend->ReleaseResource(&handle);
        return;
    }
    auto adapter = std::make_unique<CTracerTexture>(texture);
    m_Tracer->SetTexture(adapter.get());
    // The previous floor stays alive until the tracer has the new one.
    if (m_FloorHandle.IsValid())
        backend->ReleaseResource(&m_FloorHandle);
    m_FloorHandle = handle;
    m_FloorAdapter = std::move(adapter);
}

void CKelvoRayTracer::Render(CGameObject* cameraObject)
{
    if (m_Tracer == nullptr)
        return;
    if (m_InputReleased)
        TakeInputBuffer();
    if (m_InputReleased)
        return;
    if (m_InputQueries.IsHeld(platform::VK_LCONTROL) && g_pInputDispatcher != nullptr)
    {
        m_Tracer->debug_pixel[0] = static_cast<int32_t>(g_pInputDispatcher->GetLastCursorX() * 1920.0f);
        m_Tracer->debug_pixel[1] = static_cast<int32_t>(g_pInputDispatcher->GetLastCursorY() * 1080.0f);
    }
    ChooseTracedSize();
    m_Tracer->Prepare();

    CKelvoRenderer* renderer = g_pKelvoRenderer;
    auto debugVector = [this](int i) {
        const float* v = m_Tracer->debug_info[i];
        return SVector4{v[0], v[1], v[2], v[3]};
    };
    if (renderer != nullptr)
    {
        renderer->AddLine(debugVector(0), debugVector(0) + debugVector(1) * 10.0f, 0xffffff, 0xff);
        renderer->AddLine(debugVector(2), debugVector(2) + debugVector(3) * 10.0f, 0xffffff, 0xff0000);
    }

    CStopwatch stopwatch;
    const double traceStartMs = GetRealTimeMs();
    if (const auto* camera = FindLogic(cameraObject, CCameraLogic::StaticTypeId()))
    {
        static constexpr float kCorners[4][2] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}};
        SVector4 directions[4];
        for (int i = 0; i < 4; ++i)
        {
            SInputEvent event;
            static_cast<const CCameraLogic*>(camera)->GetCursorRay(kCorners[i][0], kCorners[i][1], event);
            m_CornerRays[i] = event.ray;
            directions[i] = event.ray.direction;
        }
        const SViewBlock view = MakeViewBlock(m_CornerRays[0].origin, directions);
        m_Tracer->SetView(&view);
    }
    m_Tracer->Trace();
    m_LastTraceMs = GetRealTimeMs() - traceStartMs;
    ++m_TracedFrames;
    const float kTree = kTreeHalfSize;
    if (renderer != nullptr)
        renderer->DrawBox(SBox{{-kTree, -kTree, -kTree, 1.0f}, {kTree, kTree, kTree, 1.0f}}, 0x5f5f5f);
    DrawStatistics(static_cast<float>(stopwatch.GetElapsedMs()));
    m_Tracer->Finish();
}

void CKelvoRayTracer::DrawStatistics(float milliseconds)
{
    // A frame faster than the clock's resolution counts as one microsecond.
    const float t = milliseconds > 0.0f ? milliseconds : 0.001f;
    const float cyclesPerRay = t * kCyclesPerMillisecond / kPixels * kCores;
    const float megapixels = kPixels / t * 0.001f;
    if (m_CyclesPerRay < 0.0f)
    {
        m_CyclesPerRay = cyclesPerRay;
        m_MegapixelsPerSecond = megapixels;
    }
    else
    {
        m_CyclesPerRay = 0.9f * m_CyclesPerRay + 0.1f * cyclesPerRay;
        m_MegapixelsPerSecond = 0.95f * m_MegapixelsPerSecond + 0.05f * megapixels;
    }
    if (g_pKelvoRenderer == nullptr)
        return;
    char text[128];
    std::snprintf(text, sizeof(text), "%0.0f Mpx/s %0.3f ms %i cpr %08x", m_MegapixelsPerSecond, milliseconds,
                  static_cast<int>(m_CyclesPerRay), m_Tracer->status);
    g_pKelvoRenderer->DrawText(SVector4{0.0f, 0.0f, 0.0f, 0.0f}, text, 3);
}
