#include "kelvo/gpu/gl/GPUImplementationGL.h"

#include "kelvo/gpu/BuiltInMaterials.h"
#include "kelvo/gpu/BuiltInMeshes.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/gl/EffectGL.h"
#include "kelvo/gpu/gl/GLBackendFactory.h"
#include "kelvo/gpu/gl/GLWindowSurface.h"
#include "kelvo/gpu/gl/MeshGL.h"
#include "kelvo/gpu/gl/SamplerStages.h"
#include "kelvo/gpu/gl/TextureFormat.h"
#include "kelvo/gpu/gl/TextureGL.h"
#include "platform/Log.h"

#include <epoxy/gl.h>

namespace
{
constexpr uint32_t kFillModes = 3;
}

CGPUImplementationGL::CGPUImplementationGL()
{
    g_pGPUImplementation = this;
}

CGPUImplementationGL::~CGPUImplementationGL()
{
    g_pGPUImplementation = nullptr;
}

uint32_t CGPUImplementationGL::Initialize(CRttiObject* window, bool /*windowed*/)
{
    Release();
    auto* surface = dynamic_cast<IGLWindowSurface*>(window);
    if (surface == nullptr)
        return kGPUResultWrongWindow;
    m_Window = surface;
    if (!surface->MakeContextCurrent() || epoxy_gl_version() < 33)
        return kGPUResultNoGraphics;
    const uint32_t created = CreateDevice();
    if (created != kGPUResultOk)
        return created;
    const uint32_t target = SetDefaultRenderTarget();
    if (target != kGPUResultOk)
        return target;
    CreateBuiltIns(4);
    for (uint32_t stage = 0; stage < kPixelStageCount; ++stage)
        SetTextureFilter(stage, 0);
    return kGPUResultOk;
}

uint32_t CGPUImplementationGL::CreateDevice()
{
    // The back buffer has the desktop's size, shrunk to fit the shared depth surface on a
    // larger desktop; Present scales it to the window.
    SPixelSize desktop;
    m_Window->GetDesktopSize(desktop.m_Width, desktop.m_Height);
    const SPixelSize backBuffer =
        FitInside(desktop, {CGLDevice::kDepthSurfaceWidth, CGLDevice::kDepthSurfaceHeight});
    GLenum error = GL_NO_ERROR;
    uint32_t failure = kGPUResultOk;
    if (!m_Device.Create(error))
        failure = kGPUResultDeviceCreation;
    else if (!m_Device.CreateBackBuffer(backBuffer.m_Width, backBuffer.m_Height, error))
        failure = kGPUResultRenderTarget0;
    else if (!m_Device.CreateDepthSurface(error))
        failure = kGPUResultDepthSurface;
    if (failure != kGPUResultOk)
    {
        DebugLog("[TEST_HRESULT] HRESULT: %08x\n", static_cast<unsigned>(error));
        Release();
        return failure;
    }
    m_AvailableTextureMemory = m_Device.GetAvailableTextureMemory();
    for (uint32_t sampler = 0; sampler < kVertexStageCount; ++sampler)
        SetTextureFilter(kFirstVertexStage + sampler, 0);
    return kGPUResultOk;
}

void CGPUImplementationGL::Release()
{
    m_ClearColor = 0;
    m_ClearDepth = 1.0f;
    m_ClearStencil = 0;
    m_Window = nullptr;
    // The device object stays, emptied, so resources that point to it stay safe to use.
    m_Device.Destroy();
}

uint32_t CGPUImplementationGL::Clear(bool color, bool depth)
{
    if (!m_Device.IsCreated())
        return kGPUResultNoDevice;
    m_Device.Clear(color, depth, m_ClearColor, m_ClearDepth, m_ClearStencil);
    return kGPUResultOk;
}

uint32_t CGPUImplementationGL::ClearRenderTarget(uint32_t index, const float (&rgba)[4])
{
    if (!m_Device.IsCreated())
        return kGPUResultNoDevice;
    return m_Device.ClearTarget(index, rgba) ? kGPUResultOk : kGPUResultSetRenderTarget;
}

uint32_t CGPUImplementationGL::Present()
{
    if (m_Window == nullptr || !m_Device.IsCreated())
        return kGPUResultNoDevice;
    SPixelSize client;
    m_Window->GetClientSize(client.m_Width, client.m_Height);
    if (uint64_t{client.m_Width} * client.m_Height == 0)
        return kGPUResultOk;
    // The drawn area scaled to the whole drawable, as the window reports it now.
    m_Device.Present(m_DrawArea.m_Width, m_DrawArea.m_Height, client.m_Width, client.m_Height);
    m_Window->SwapBuffers();
    return kGPUResultOk;
}

uint32_t CGPUImplementationGL::LoadEffect(const std::string& fileName, GPUObjectHandle& outHandle)
{
    return LoadOrFind<CEffectGL>(
        kGPUObjectEffect, fileName, [this] { return new CEffectGL(&m_Device); }, outHandle);
}

uint32_t CGPUImplementationGL::LoadMesh(const std::string& fileName, GPUObjectHandle& outHandle)
{
    return LoadOrFind<CMeshGL>(
        kGPUObjectMesh, fileName, [this] { return new CMeshGL(&m_Device, this); }, outHandle);
}

uint32_t CGPUImplementationGL::LoadTexture(const std::string& fileName, GPUObjectHandle& outHandle)
{
    return LoadOrFind<CTextureGL>(
        kGPUObjectTexture, fileName, [this] { return new CTextureGL(&m_Device); }, outHandle);
}

uint32_t CGPUImplementationGL::FindMaterial(const std::string& name, GPUObjectHandle& outHandle)
{
    const GPUObjectHandle* found = FindByName(name, kGPUObjectMaterial);
    if (found == nullptr)
        return kGPUResultNotFound;
    outHandle = *found;
    return kGPUResultOk;
}

uint32_t CGPUImplementationGL::CreateTexture(const std::string& name, uint32_t width, uint32_t height,
                                             uint32_t levels, uint32_t format, bool renderTarget,
                                             GPUObjectHandle& outHandle)
{
    if (!name.empty())
        if (const GPUObjectHandle* found = FindByName(name, kGPUObjectTexture))
        {
            const GPUObjectHandle existing = *found;
            auto* texture = GPUResourceCast<CTextureGL>(GetResource(existing));
            uint32_t w = 0, h = 0, l = 0, f = 0;
            if (texture != nullptr)
                texture->GetDesc(w, h, l, f);
            // A loaded picture (format 0) never matches a request.
            if (texture != nullptr && f != kTextureFormatFile && w == width && h == height && l == levels &&
                f == format && texture->IsRenderTarget() == renderTarget)
            {
                outHandle = existing;
                return kGPUResultOk;
            }
            ReleaseResource(&existing);
            return kGPUResultNameInUse;
        }
    auto* texture = new CTextureGL(&m_Device);
    const uint32_t created = texture->CreateTexture(width, height, levels, format, renderTarget);
    if (created != kGPUResultOk)
    {
        delete texture;
        return created;
    }
    return AddResource(kGPUObjectTexture, texture, name, outHandle);
}

void CGPUImplementationGL::ResetTexture(uint32_t stage)
{
    if (!m_Device.IsCreated())
    {
        DebugLog("[CGPUImplementationGL::ResetTexture] m_Device is null!\n");
        return;
    }
    m_Device.SetTexture(stage, nullptr);
}

uint32_t CGPUImplementationGL::SetTextureFilter(uint32_t stage, uint32_t mode)
{
    if (mode > 1)
        return kGPUResultBadFilterMode;
    m_Device.SetSamplerFilter(stage, mode == 0 ? CGLDevice::EFilter::Linear : CGLDevice::EFilter::Point,
                              CGLDevice::EFilter::Linear);
    return kGPUResultOk;
}

uint32_t CGPUImplementationGL::SetFillMode(uint32_t mode)
{
    if (mode >= kFillModes)
        return kGPUResultBadFillMode;
    if (!m_Device.IsCreated())
    {
        DebugLog("[CGPUImplementationGL::SetFillMode] Failed with code: %08x!\n",
                 static_cast<unsigned>(GL_INVALID_OPERATION));
        return kGPUResultSetFillMode;
    }
    m_Device.SetFillMode(static_cast<CGLDevice::EFillMode>(mode));
    return kGPUResultOk;
}

uint32_t CGPUImplementationGL::GetFillMode(uint32_t& outMode)
{
    if (!m_Device.IsCreated())
    {
        DebugLog("[CGPUImplementationGL::GetFillMode] Failed with code: %08x!\n",
                 static_cast<unsigned>(GL_INVALID_OPERATION));
        return kGPUResultGetFillMode;
    }
    const auto mode = static_cast<uint32_t>(m_Device.GetFillMode());
    if (mode >= kFillModes)
        return kGPUResultUnknownFillMode;
    outMode = mode;
    return kGPUResultOk;
}

uint32_t CGPUImplementationGL::CreateBuiltIns(uint32_t kind)
{
    switch (kind)
    {
    case 0:
        return CreateBuiltInMeshes();
    case 1: // textures: none
        return kGPUResultOk;
    case 3:
        return CreateColorMaterials(*this);
    case 2:
    {
        GPUObjectHandle handle;
        const uint32_t loaded = LoadEffect("default.e", handle);
        if (loaded != kGPUResultOk)
            return loaded;
        return RenameResource(handle, "default");
    }
    case 4:
    {
        uint32_t last = kGPUResultOk;
        for (uint32_t part = 0; part < 4; ++part)
            if (const uint32_t result = CreateBuiltIns(part); result != kGPUResultOk)
                last = result;
        return last;
    }
    default:
        return kGPUResultOk;
    }
}

CMesh* CGPUImplementationGL::CreateMesh(const std::string& name)
{
    auto* mesh = new CMeshGL(&m_Device, this);
    GPUObjectHandle handle;
    return AddResource(kGPUObjectMesh, mesh, name, handle) == kGPUResultOk ? mesh : nullptr;
}

uint32_t CGPUImplementationGL::CreateBuiltInMeshes()
{
    using BuildFunction = bool (*)(CMesh&);
    struct SBuiltInMesh
    {
        const char* m_Name;
        BuildFunction m_Build;
    };
    static const SBuiltInMesh kMeshes[] = {
        {"line_mesh", BuildLineMesh},
        {"text_mesh", BuildTextMesh},
        {"ball", [](CMesh& mesh) { return BuildBall(mesh, 3); }},
        {"twotris", BuildTwoTriangles},
        {"cube", [](CMesh& mesh) { return mesh.CreateBox(1.0f, 1.0f, 1.0f); }},
        {"bilboard", BuildBillboard},
        {"teapot", BuildTeapot},
        {"torus", [](CMesh& mesh) { return mesh.CreateTorus(30, 18, 0.3f, 1.0f); }},
    };
    for (const SBuiltInMesh& builtIn : kMeshes)
    {
        auto* mesh = new CMeshGL(&m_Device, this);
        builtIn.m_Build(*mesh);
        GPUObjectHandle handle;
        if (const uint32_t added = AddResource(kGPUObjectMesh, mesh, builtIn.m_Name, handle);
            added != kGPUResultOk)
            return added;
    }
    return kGPUResultOk;
}

uint32_t CGPUImplementationGL::BeginScene()
{
    return m_Device.IsCreated() && m_Device.BeginScene() ? kGPUResultOk : kGPUResultBeginScene;
}

uint32_t CGPUImplementationGL::EndScene()
{
    return m_Device.IsCreated() && m_Device.EndScene() ? kGPUResultOk : kGPUResultEndScene;
}

uint32_t CGPUImplementationGL::SetAlphaBlend(bool enable)
{
    CGLDevice::SRenderStates states = m_Device.GetRenderStates();
    states.m_BlendEnable = enable;
    if (enable)
    {
        states.m_SourceBlend = CGLDevice::EBlendFactor::InvSrcAlpha;
        states.m_DestBlend = CGLDevice::EBlendFactor::SrcAlpha;
    }
    m_Device.SetRenderStates(states);
    return kGPUResultOk;
}

uint32_t CGPUImplementationGL::SetViewport(uint32_t x, uint32_t y, uint32_t width, uint32_t height,
                                           float minDepth, float maxDepth)
{
    if (uint64_t{width} * height == 0 || !m_Device.IsCreated() ||
        !m_Device.SetViewport(x, y, width, height, minDepth, maxDepth))
        return kGPUResultViewport;
    return kGPUResultOk;
}

uint32_t CGPUImplementationGL::SetDefaultRenderTarget()
{
    m_Device.SetRenderTarget(0, nullptr);
    for (uint32_t index = 1; index < CGLDevice::kRenderTargetCount; ++index)
        m_Device.SetRenderTarget(index, nullptr);
    m_Device.SetDepthSurface(true);
    if (m_Window == nullptr)
        return kGPUResultViewport;
    m_Window->GetClientSize(m_ClientSize.m_Width, m_ClientSize.m_Height);
    SPixelSize backBuffer;
    m_Device.GetBackBufferSize(backBuffer.m_Width, backBuffer.m_Height);
    m_DrawArea = FitInside(m_ClientSize, backBuffer);
    return SetViewport(0, 0, m_DrawArea.m_Width, m_DrawArea.m_Height, 0.0f, 1.0f);
}

void CGPUImplementationGL::GetSize(uint32_t& outWidth, uint32_t& outHeight) const
{
    outWidth = m_DrawArea.m_Width;
    outHeight = m_DrawArea.m_Height;
}

uint32_t CGPUImplementationGL::OnResize(uint32_t /*width*/, uint32_t /*height*/)
{
    return SetDefaultRenderTarget();
}

float CGPUImplementationGL::GetAspect() const
{
    if (m_ClientSize.m_Width == 0 || m_ClientSize.m_Height == 0)
        return 1.0f;
    return static_cast<float>(m_ClientSize.m_Height) / static_cast<float>(m_ClientSize.m_Width);
}

bool CGPUImplementationGL::GetBackBufferSize(uint32_t& outWidth, uint32_t& outHeight) const
{
    if (!m_Device.GetBackBufferSize(outWidth, outHeight))
    {
        outWidth = 0;
        outHeight = 0;
        return false;
    }
    return true;
}

bool CGPUImplementationGL::ReadFrame(std::vector<uint8_t>& outRgba, uint32_t& outWidth, uint32_t& outHeight)
{
    if (!m_Device.IsCreated() || m_DrawArea.m_Width == 0 || m_DrawArea.m_Height == 0)
        return false;
    outWidth = m_DrawArea.m_Width;
    outHeight = m_DrawArea.m_Height;
    return m_Device.ReadBackBuffer(outWidth, outHeight, outRgba);
}

void CGPUImplementationGL::SetDepthTest(bool enable)
{
    m_Device.SetDepthSurface(enable);
    CGLDevice::SRenderStates states = m_Device.GetRenderStates();
    states.m_DepthEnable = enable;
    m_Device.SetRenderStates(states);
}

IGPUImplementation* CreateGPUImplementationGL()
{
    return new CGPUImplementationGL();
}
