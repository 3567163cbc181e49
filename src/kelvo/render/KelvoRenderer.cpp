#include "kelvo/render/KelvoRenderer.h"

#include "kelvo/gpu/GPUEffect.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/GPUTexture.h"
#include "kelvo/gpu/Mesh.h"
#include "kelvo/gpu/ScopedResource.h"
#include "kelvo/gpu/TechniqueSelection.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/render/RayTraceClient.h"
#include "kelvo/render/RenderProcess.h"
#include "platform/Log.h"

#include <algorithm>
#include <cmath>

CKelvoRenderer* g_pKelvoRenderer = nullptr;

namespace
{
// Fill mode "solid" of the backend.
constexpr uint32_t kSolidFill = 2;
constexpr uint32_t kColorFormat = 1;
constexpr uint32_t kFloat4Format = 4;
}

CKelvoRenderer::CKelvoRenderer(IGPUImplementation* backend, C3DSpace* space)
    : m_Space(space)
    , m_Backend(backend)
{
    g_pKelvoRenderer = this;
    CMeshDebugDisplay::DefaultAids().m_Draw = this;
    LoadFont();
    CreateRenderTargets();
}

CKelvoRenderer::~CKelvoRenderer()
{
    // Everything goes back to the backend while it still exists.
    ReleaseRenderTargets();
    if (m_Font != nullptr && m_Backend != nullptr)
        m_Backend->ReleaseResource(&m_FontHandle);
    m_Font = nullptr;
    if (g_pKelvoRenderer == this)
        g_pKelvoRenderer = nullptr;
    if (CMeshDebugDisplay::DefaultAids().m_Draw == this)
        CMeshDebugDisplay::DefaultAids().m_Draw = nullptr;
}

void CKelvoRenderer::LoadFont()
{
    if (m_Backend == nullptr || m_Backend->LoadTexture("font_vc60.png", m_FontHandle) != kGPUResultOk)
    {
        DebugLog("[CKelvoRenderer::CKelvoRenderer] Failed to load font!\n");
        return;
    }
    m_Font = GPUResourceCast<IGPUTexture>(m_Backend->GetResource(m_FontHandle));
    uint32_t width = 0, height = 0, levels = 0, format = 0;
    if (m_Font != nullptr)
        m_Font->GetDesc(width, height, levels, format);
    // A 16 x 16 grid of glyphs indexed by byte value.
    m_CellWidth = width >> 4;
    m_CellHeight = height >> 4;
    m_Texts.SetCellSize(m_CellWidth, m_CellHeight);
}

void CKelvoRenderer::CreateRenderTargets()
{
    ReleaseRenderTargets();
    if (m_Backend == nullptr)
        return;
    uint32_t width = 0, height = 0;
    if (!m_Backend->GetBackBufferSize(width, height) || width == 0 || height == 0)
    {
        width = kDefaultWidth;
        height = kDefaultHeight;
    }
    auto create = [&](const char* name, uint32_t format, uint32_t rows,
                      GPUObjectHandle& handle) -> IGPUTexture* {
        if (m_Backend->CreateTexture(name, width, rows, 1, format, true, handle) != kGPUResultOk)
        {
            DebugLog("[CKelvoRenderer::CreateRenderTargets] Failed to create %s!\n", name);
            return nullptr;
        }
        return GPUResourceCast<IGPUTexture>(m_Backend->GetResource(handle));
    };
    m_ColorBuffer = create("kelvo_color_buffer", kColorFormat, height, m_ColorBufferHandle);
    if (m_ColorBuffer != nullptr)
        m_RtInputBuffer = create("kelvo_rtinput_buffer", kFloat4Format, height, m_RtInputHandle);
    if (m_RtInputBuffer != nullptr && g_pRayTraceClient != nullptr)
        g_pRayTraceClient->TakeInputBuffer();
    // The bicubic filter's rows: room for a picture up to half as tall again in texels as the
    // target in pixels, but no taller than the largest back buffer, which is the height of the
    // depth surface that stays attached beside it.
    m_BicubicRows = create("kelvo_bicubic_rows", kFloat4Format, std::min(height + height / 2, kDefaultHeight),
                           m_BicubicRowsHandle);
}

void CKelvoRenderer::ReleaseRenderTargets()
{
    // The tracer's reference would keep the old buffer, and its name, alive.
    if (m_RtInputBuffer != nullptr && g_pRayTraceClient != nullptr)
        g_pRayTraceClient->ReleaseInputBuffer();
    if (m_Backend != nullptr)
    {
        m_Backend->SetDefaultRenderTarget();
        if (m_ColorBuffer != nullptr)
            m_Backend->ReleaseResource(&m_ColorBufferHandle);
        if (m_RtInputBuffer != nullptr)
            m_Backend->ReleaseResource(&m_RtInputHandle);
        if (m_BicubicRows != nullptr)
            m_Backend->ReleaseResource(&m_BicubicRowsHandle);
    }
    m_ColorBuffer = nullptr;
    m_RtInputBuffer = nullptr;
    m_BicubicRows = nullptr;
}

void CKelvoRenderer::SetScreenSize(uint32_t width, uint32_t height)
{
    m_ScreenWidth = width;
    m_ScreenHeight = height;
    if (m_Backend != nullptr && g_pGPUImplementation == m_Backend)
    {
        m_Backend->OnResize(width, height);
        // Texts are laid out in the area the backend draws for the window: the window's size,
        // or that size shrunk to fit the back buffer when the window is larger.
        m_Backend->GetSize(m_ScreenWidth, m_ScreenHeight);
    }
}

void CKelvoRenderer::RenderFrame()
{
    if (m_Backend == nullptr)
        return;
    m_Backend->SetDefaultRenderTarget();
    m_Backend->BeginScene();
    if (m_Process != nullptr)
        m_Process->Run();
    m_Backend->EndScene();
    m_Backend->Present();
}

bool CKelvoRenderer::BeginScenePass()
{
    static CVar* clearColor = GetVariable("r_clear_color", 16);
    const float inputClear[4] = {-1.0f, -1.0f, -1.0f, -1.0f};
    clearColor->SetVector(SVector4{inputClear[0], inputClear[1], inputClear[2], inputClear[3]});
    if (m_Backend == nullptr)
        return false;
    // The input buffer is filled with "r_clear_color" as a second target of the scene pass
    // rather than as a target of its own: that saves a target switch per frame, and a
    // software driver keeps what each in-flight pass binned until it reuses that pass, so a
    // pass drawn while the separate clear was still running held its memory long after.
    m_Backend->SetDefaultRenderTarget();
    const bool inputBound = m_RtInputBuffer != nullptr && m_RtInputBuffer->SetRenderTarget(1) == kGPUResultOk;
    m_Backend->Clear(true, true);
    if (inputBound)
        m_Backend->ClearRenderTarget(1, inputClear);
    return inputBound;
}

void CKelvoRenderer::DrawMesh(const std::string& meshName, const std::string& effectName,
                              const std::string& technique, const std::string& pass)
{
    SetTechnique(technique);
    SetPass(pass);
    if (m_Backend == nullptr)
        return;
    CScopedResource meshRef(m_Backend);
    if (m_Backend->LoadMesh(meshName, meshRef.Receive()) != kGPUResultOk)
    {
        DebugLog("[CKelvoRenderer::DrawMesh] Error loading mesh!\n");
        return;
    }
    CScopedResource effectRef(m_Backend);
    if (m_Backend->LoadEffect(effectName, effectRef.Receive()) != kGPUResultOk)
    {
        DebugLog("[CKelvoRenderer::DrawMesh] Error loading effect!\n");
        return;
    }
    auto* mesh = meshRef.Get<CMesh>();
    auto* effect = effectRef.Get<IGPUEffect>();
    if (mesh != nullptr && effect != nullptr && effect->Begin() == kGPUResultOk)
    {
        mesh->Render();
        effect->End();
    }
}

void CKelvoRenderer::AddCameraLine(const SVector4& from, const SVector4& to, uint32_t colorFrom,
                                   uint32_t colorTo)
{
    m_Lines.AddCameraLine(from, to, colorFrom, colorTo);
}

void CKelvoRenderer::AddLine(const SVector4& from, const SVector4& to, uint32_t colorFrom, uint32_t colorTo)
{
    m_Lines.AddLine(from, to, colorFrom, colorTo);
}

void CKelvoRenderer::DrawBox(const SBox& box, uint32_t color)
{
    m_Lines.AddBox(box.min, box.max, color);
}

void CKelvoRenderer::DrawText(const SVector4& position, const std::string& text, int anchor)
{
    uint32_t width = m_ScreenWidth, height = m_ScreenHeight;
    if ((width == 0 || height == 0) && m_Backend != nullptr)
        m_Backend->GetSize(width, height);
    m_Texts.Add(position, text, anchor, width > 0 ? width : kDefaultWidth,
                height > 0 ? height : kDefaultHeight);
}

void CKelvoRenderer::DrawDebugTexture(float x, float y, float width, float height, const SVector4& scale,
                                      const SVector4& base, IGPUTexture* texture)
{
    static CVar* position = GetVariable("r_dbg_tex_pos", 16);
    static CVar* scaleVariable = GetVariable("r_dbg_tex_scale", 16);
    static CVar* baseVariable = GetVariable("r_dbg_tex_base", 16);
    position->SetVector(SVector4{x, y, width, height});
    scaleVariable->SetVector(scale);
    baseVariable->SetVector(base);
    if (m_Backend == nullptr)
        return;
    if (texture != nullptr)
        texture->SetTexture(0);
    uint32_t savedFillMode = kSolidFill;
    m_Backend->GetFillMode(savedFillMode);
    m_Backend->SetFillMode(kSolidFill);
    m_Backend->SetAlphaBlend(true);
    DrawMesh("bilboard", "default", "dbg_tex", "P0");
    m_Backend->SetAlphaBlend(false);
    m_Backend->ResetTexture(0);
    m_Backend->SetFillMode(savedFillMode);
}

bool CKelvoRenderer::DrawRayTracerImage()
{
    if (m_Backend == nullptr)
        return false;
    CScopedResource textureRef(m_Backend);
    if (m_Backend->LoadTexture("soft_raytracer_rt", textureRef.Receive()) != kGPUResultOk)
        return false;
    auto* texture = textureRef.Get<IGPUTexture>();
    uint32_t width = 0, height = 0, levels = 0, format = 0;
    if (texture != nullptr)
    {
        texture->SetTexture(0);
        texture->GetDesc(width, height, levels, format);
    }
    // Only the traced share, in units of a 1920 x 1080 screen, holds this frame's picture;
    // unset scales take the whole texture.
    static CVar* scaleX = GetVariable("r_rt_scale_x", 4);
    static CVar* scaleY = GetVariable("r_rt_scale_y", 4);
    float shareX = 0.0f, shareY = 0.0f;
    scaleX->GetFloat(shareX);
    scaleY->GetFloat(shareY);
    if (shareX > 0.0f && shareY > 0.0f && width > 0 && height > 0)
    {
        auto traced = [](float share, float screen, uint32_t size) {
            return static_cast<uint32_t>(
                std::clamp(std::floor(share * screen + 0.5f), 1.0f, static_cast<float>(size)));
        };
        width = traced(shareX, 1920.0f, width);
        height = traced(shareY, 1080.0f, height);
    }
    uint32_t savedFillMode = kSolidFill;
    m_Backend->GetFillMode(savedFillMode);
    m_Backend->SetFillMode(kSolidFill);
    m_Backend->SetTextureFilter(0, 0);
    DrawBicubic(SVector4{0.0f, 0.0f, 1.0f, 1.0f}, width, height, "traced_image");
    m_Backend->SetTextureFilter(0, 1);
    m_Backend->ResetTexture(0);
    m_Backend->SetFillMode(savedFillMode);
    return true;
}
