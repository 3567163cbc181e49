// The single door from the program to the graphics device: creates the device for the
// application window, loads and creates named resources into the four stores, sets the few
// device states the program changes outside effect files, and presents frames. Exactly one
// backend object exists; its constructor registers it in g_pGPUImplementation and its
// destructor clears the pointer. Every call comes from the main thread, which owns the
// device; handles given out carry one reference each, given back with ReleaseResource.
#pragma once

#include "kelvo/gpu/GPUObjectHandle.h"
#include "kelvo/gpu/GPUResourceManager.h"

#include <cstdint>
#include <string>
#include <vector>

class CMesh;
class CRttiObject;

class IGPUImplementation : public CGPUResourceManager
{
public:
    // Clears the whole target with the stored colour, depth and stencil values.
    virtual uint32_t Clear(bool color, bool depth) = 0;
    // Fills bound colour target index (0..3) with rgba, within the current binding and leaving
    // the other targets as they are; kGPUResultSetRenderTarget with nothing bound there.
    virtual uint32_t ClearRenderTarget(uint32_t index, const float (&rgba)[4]) = 0;
    // Shows the back buffer's client-sized top-left part; nothing on an empty client area.
    virtual uint32_t Present() = 0;
    // Load-or-find by file name; a hit adds a reference to the stored resource.
    virtual uint32_t LoadMesh(const std::string& fileName, GPUObjectHandle& outHandle) = 0;
    virtual uint32_t LoadEffect(const std::string& fileName, GPUObjectHandle& outHandle) = 0;
    // Store look-up only; 12 when absent.
    virtual uint32_t FindMaterial(const std::string& name, GPUObjectHandle& outHandle) = 0;
    virtual uint32_t LoadTexture(const std::string& fileName, GPUObjectHandle& outHandle) = 0;
    // A texture created empty; an existing name gives that texture when it was created with
    // the same description, else 9; an empty name always creates a new one.
    virtual uint32_t CreateTexture(const std::string& name, uint32_t width, uint32_t height, uint32_t levels,
                                   uint32_t format, bool renderTarget, GPUObjectHandle& outHandle) = 0;
    virtual void ResetTexture(uint32_t stage) = 0;
    // Mode 0 linear, 1 point magnification, with linear mip filtering.
    virtual uint32_t SetTextureFilter(uint32_t stage, uint32_t mode) = 0;
    // 0 point, 1 wireframe, 2 solid.
    virtual uint32_t SetFillMode(uint32_t mode) = 0;
    virtual uint32_t GetFillMode(uint32_t& outMode) = 0;
    // 0 meshes, 1 textures (none), 2 effects, 3 materials, 4 all four.
    virtual uint32_t CreateBuiltIns(uint32_t kind) = 0;
    virtual uint32_t BeginScene() = 0;
    virtual uint32_t EndScene() = 0;
    // On: source factor inverse source alpha, destination factor source alpha.
    virtual uint32_t SetAlphaBlend(bool enable) = 0;
    virtual uint32_t SetViewport(uint32_t x, uint32_t y, uint32_t width, uint32_t height, float minDepth,
                                 float maxDepth) = 0;
    // Back to the back buffer with the depth surface and a viewport over the area drawn for
    // the window: the client size, shrunk to fit the back buffer when larger.
    virtual uint32_t SetDefaultRenderTarget() = 0;
    // The size of that area, as the last SetDefaultRenderTarget found it.
    virtual void GetSize(uint32_t& outWidth, uint32_t& outHeight) const = 0;
    virtual uint32_t OnResize(uint32_t width, uint32_t height) = 0;
    // Height over width of the client area; 1 when either is 0.
    virtual float GetAspect() const = 0;
    virtual bool GetBackBufferSize(uint32_t& outWidth, uint32_t& outHeight) const = 0;
    // The last frame drawn for the window (the area GetSize gives) as 8-bit RGBA rows, top
    // row first, for capture to files. False when the backend cannot read it.
    virtual bool ReadFrame(std::vector<uint8_t>& outRgba, uint32_t& outWidth, uint32_t& outHeight)
    {
        (void)outRgba, (void)outWidth, (void)outHeight;
        return false;
    }
    // A new empty mesh in the mesh store under name; its one reference is never given back by
    // the program. Null when the name is taken.
    virtual CMesh* CreateMesh(const std::string& name) = 0;
    virtual void SetDepthTest(bool enable) = 0;
    virtual void Release() = 0;
    virtual uint32_t Initialize(CRttiObject* window, bool windowed) = 0;
};

// The registered backend; null before its construction and after its destruction.
extern IGPUImplementation* g_pGPUImplementation;
