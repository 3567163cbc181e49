// Test doubles of the resource interface. Each counts its live instances so that tests can
// see when a container destroyed its resource. CTestResourceManager stores them.
#pragma once

#include "kelvo/gpu/GPUResource.h"
#include "kelvo/gpu/GPUResourceManager.h"
#include "kelvo/gpu/GPUResult.h"

#include <string>

#include <gtest/gtest.h>

// Loads any file name except those starting with "missing" (code 12); cannot be copied.
class CFakeResource : public IGPUResource
{
    KELVO_RTTI(CFakeResource, IGPUResource)

public:
    static constexpr uint32_t kMissingFileCode = 12;
    static inline int s_LiveCount = 0;

    CFakeResource() { ++s_LiveCount; }
    ~CFakeResource() override { --s_LiveCount; }

    bool Update() override { return true; }
    bool Refresh() override { return true; }
    bool Release() override { return true; }
    uint32_t Load(const std::string& fileName) override
    {
        m_FileName = fileName;
        return fileName.starts_with("missing") ? kMissingFileCode : kGPUResultOk;
    }

    std::string m_FileName;
};

// Copies its data, as meshes do.
class CFakeCopyableResource : public CFakeResource
{
    KELVO_RTTI(CFakeCopyableResource, CFakeResource)

public:
    IGPUResource* Clone() const override
    {
        auto* copy = new CFakeCopyableResource();
        copy->m_FileName = m_FileName;
        return copy;
    }
};

// A faulty copy: answers with an object of its base class.
class CFakeMiscopiedResource : public CFakeResource
{
    KELVO_RTTI(CFakeMiscopiedResource, CFakeResource)

public:
    IGPUResource* Clone() const override { return new CFakeResource(); }
};

// The manager as the backend sees it: loads fake resources and adds ready-made ones.
class CTestResourceManager : public CGPUResourceManager
{
public:
    template <typename T = CFakeCopyableResource>
    uint32_t Load(uint32_t type, const std::string& fileName, GPUObjectHandle& outHandle)
    {
        return LoadOrFind<T>(
            type, fileName, [] { return new T(); }, outHandle);
    }
    template <typename T = CFakeResource>
    uint32_t Add(uint32_t type, const std::string& name, GPUObjectHandle& outHandle)
    {
        return AddResource(type, new T(), name, outHandle);
    }
    GPUObjectHandle AddMaterial(const std::string& name)
    {
        GPUObjectHandle handle;
        EXPECT_EQ(Add(kGPUObjectMaterial, name, handle), kGPUResultOk);
        return handle;
    }
};
