// The backend over OpenGL 3.3 core: the device (CGLDevice) on the application window's
// context, the resource stores with textures (CTextureGL) and effects (CEffectGL), and the
// built-in resources. Constructing it registers it as g_pGPUImplementation. Main thread only.
#pragma once

#include "kelvo/gpu/FitInside.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/gl/GLDevice.h"

#include <cstdint>
#include <string>

class IGLWindowSurface;

class CGPUImplementationGL : public IGPUImplementation
{
public:
    CGPUImplementationGL();
    ~CGPUImplementationGL() override;

    uint32_t Clear(bool color, bool depth) override;
    uint32_t ClearRenderTarget(uint32_t index, const float (&rgba)[4]) override;
    uint32_t Present() override;
    uint32_t LoadMesh(const std::string& fileName, GPUObjectHandle& outHandle) override;
    uint32_t LoadEffect(const std::string& fileName, GPUObjectHandle& outHandle) override;
    uint32_t FindMaterial(const std::string& name, GPUObjectHandle& outHandle) override;
    uint32_t LoadTexture(const std::string& fileName, GPUObjectHandle& outHandle) override;
    uint32_t CreateTexture(const std::string& name, uint32_t width, uint32_t height, uint32_t levels,
                           uint32_t format, bool renderTarget, GPUObjectHandle& outHandle) override;
    void ResetTexture(uint32_t stage) override;
    uint32_t SetTextureFilter(uint32_t stage, uint32_t mode) override;
    uint32_t SetFillMode(uint32_t mode) override;
    uint32_t GetFillMode(uint32_t& outMode) override;
    uint32_t CreateBuiltIns(uint32_t kind) override;
    uint32_t BeginScene() override;
    uint32_t EndScene() override;
    uint32_t SetAlphaBlend(bool enable) override;
    uint32_t SetViewport(uint32_t x, uint32_t y, uint32_t width, uint32_t height, float minDepth,
                         float maxDepth) override;
    uint32_t SetDefaultRenderTarget() override;
    void GetSize(uint32_t& outWidth, uint32_t& outHeight) const override;
    uint32_t OnResize(uint32_t width, uint32_t height) override;
    float GetAspect() const override;
    bool GetBackBufferSize(uint32_t& outWidth, uint32_t& outHeight) const override;
    bool ReadFrame(std::vector<uint8_t>& outRgba, uint32_t& outWidth, uint32_t& outHeight) override;
    CMesh* CreateMesh(const std::string& name) override;
    void SetDepthTest(bool enable) override;
    void Release() override;
    // The window must implement IGLWindowSurface (else 3); its context must be OpenGL 3.3
    // core or later (else 4).
    uint32_t Initialize(CRttiObject* window, bool windowed) override;

    // The device, for the resource classes and tests; valid while the backend lives.
    CGLDevice* GetDevice() { return &m_Device; }

private:
    uint32_t CreateDevice();
    // The eight built-in meshes, in order; stops at the first that cannot be added.
    uint32_t CreateBuiltInMeshes();

    CGLDevice m_Device;
    IGLWindowSurface* m_Window = nullptr;
    uint64_t m_AvailableTextureMemory = 0;
    uint32_t m_ClearColor = 0;
    float m_ClearDepth = 1.0f;
    uint32_t m_ClearStencil = 0;
    // The window's drawable size (its shape gives the aspect) and the part of the back
    // buffer drawn for it: the drawable's size, shrunk to fit the back buffer if larger.
    SPixelSize m_ClientSize;
    SPixelSize m_DrawArea;
};
