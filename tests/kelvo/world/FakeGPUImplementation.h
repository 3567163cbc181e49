// A GPU implementation without a device for the world tests: meshes are device-neutral
// meshes that record what they are asked to draw, made by CreateMesh and found by
// LoadMesh under their names; materials come from GetOrCreateMaterial. Every other call
// does nothing and succeeds. What it made is given back when it is destroyed, so the
// objects that use it (surfaces, particle groups) must go first.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/Mesh.h"
#include "kelvo/gpu/Material.h"

// A mesh that records the first primitive of every range it draws.
class CRecordingMesh : public CMesh
{
public:
    explicit CRecordingMesh(CGPUResourceManager* resources)
        : CMesh(resources)
    {
    }
    uint32_t Render(uint32_t, uint32_t, uint32_t firstPrimitive, uint32_t) override
    {
        m_DrawnRanges.push_back(firstPrimitive);
        return 0;
    }
    uint32_t UploadBuffers() override
    {
        ++m_Uploads;
        return 0;
    }

    std::vector<uint32_t> m_DrawnRanges;
    int m_Uploads = 0;
};

class CFakeGPUImplementation : public IGPUImplementation
{
public:
    CFakeGPUImplementation() { g_pGPUImplementation = this; }
    ~CFakeGPUImplementation() override
    {
        // Each made resource: the look-up's reference and its own.
        for (const auto& [type, name] : m_Made)
            if (const GPUObjectHandle* found = FindByName(name, type))
            {
                const GPUObjectHandle handle = *found;
                ReleaseResource(&handle);
                ReleaseResource(&handle);
            }
        g_pGPUImplementation = nullptr;
    }

    uint32_t LoadMesh(const std::string& fileName, GPUObjectHandle& outHandle) override
    {
        return LoadOrFind<CRecordingMesh>(
            kGPUObjectMesh, fileName, [this] { return new CRecordingMesh(this); }, outHandle);
    }
    CMesh* CreateMesh(const std::string& name) override
    {
        auto* mesh = new CRecordingMesh(this);
        GPUObjectHandle handle;
        if (AddResource(kGPUObjectMesh, mesh, name, handle) != kGPUResultOk)
            return nullptr;
        m_Made.emplace_back(kGPUObjectMesh, name);
        return mesh;
    }
    uint32_t FindMaterial(const std::string& name, GPUObjectHandle& outHandle) override
    {
        const GPUObjectHandle* found = FindByName(name, kGPUObjectMaterial);
        if (!found)
            return kGPUResultNotFound;
        outHandle = *found;
        return kGPUResultOk;
    }
    float GetAspect() const override { return m_Aspect; }

    uint32_t Clear(bool, bool) override { return 0; }
    uint32_t ClearRenderTarget(uint32_t, const float (&)[4]) override { return 0; }
    uint32_t Present() override { return 0; }
    uint32_t LoadEffect(const std::string&, GPUObjectHandle&) override { return kGPUResultNotFound; }
    uint32_t LoadTexture(const std::string&, GPUObjectHandle&) override { return kGPUResultNotFound; }
    uint32_t CreateTexture(const std::string&, uint32_t, uint32_t, uint32_t, uint32_t, bool,
                           GPUObjectHandle&) override
    {
        return kGPUResultNotFound;
    }
    void ResetTexture(uint32_t) override {}
    uint32_t SetTextureFilter(uint32_t, uint32_t) override { return 0; }
    uint32_t SetFillMode(uint32_t) override { return 0; }
    uint32_t GetFillMode(uint32_t& outMode) override
    {
        outMode = 2;
        return 0;
    }
    uint32_t CreateBuiltIns(uint32_t) override { return 0; }
    uint32_t BeginScene() override { return 0; }
    uint32_t EndScene() override { return 0; }
    uint32_t SetAlphaBlend(bool) override { return 0; }
    uint32_t SetViewport(uint32_t, uint32_t, uint32_t, uint32_t, float, float) override { return 0; }
    uint32_t SetDefaultRenderTarget() override { return 0; }
    void GetSize(uint32_t& outWidth, uint32_t& outHeight) const override
    {
        outWidth = 640;
        outHeight = 480;
    }
    uint32_t OnResize(uint32_t, uint32_t) override { return 0; }
    bool GetBackBufferSize(uint32_t& outWidth, uint32_t& outHeight) const override
    {
        GetSize(outWidth, outHeight);
        return true;
    }
    void SetDepthTest(bool) override {}
    void Release() override {}
    uint32_t Initialize(CRttiObject*, bool) override { return 0; }

    // A triangle-list mesh made of positions and 32-bit indices, updated.
    CRecordingMesh* MakeMesh(const std::string& name, const std::vector<SVector4>& positions,
                             const std::vector<uint32_t>& indices)
    {
        auto* mesh = static_cast<CRecordingMesh*>(CreateMesh(name));
        const auto count = [](const auto& list) { return static_cast<uint32_t>(list.size()); };
        mesh->GetBuffer("position", 16)->CopyStrided(positions.data(), 0, 16, 16, count(positions));
        mesh->GetBuffer("indices", 4)->CopyStrided(indices.data(), 0, 4, 4, count(indices));
        mesh->Update();
        return mesh;
    }
    // A stored material of that name; the store keeps its reference.
    GPUObjectHandle MakeMaterial(const std::string& name)
    {
        GetOrCreateMaterial(name);
        m_Made.emplace_back(kGPUObjectMaterial, name);
        GPUObjectHandle handle;
        FindMaterial(name, handle);
        ReleaseResource(&handle);
        return handle;
    }

    float m_Aspect = 1.0f;

private:
    std::vector<std::pair<uint32_t, std::string>> m_Made;
};

// The square from (-1, -1) to (1, 1) in the plane z = 0, as two triangles.
inline CRecordingMesh* MakeSquare(CFakeGPUImplementation& gpu, const std::string& name, float z = 0.0f)
{
    return gpu.MakeMesh(name, {{-1, -1, z, 1}, {1, -1, z, 1}, {-1, 1, z, 1}, {1, 1, z, 1}},
                        {0, 1, 2, 2, 1, 3});
}
