// The four resource stores (meshes, textures, effects, materials) and the operations on
// resources that need no device: find by name, get, release, rename and clone by handle, and
// the load notification. The backend (IGPUImplementation) derives from it and adds the
// operations that create resources on the device, through LoadOrFind and AddResource.
// Main thread only; the stores, the subscriber list and the reference counts of a resource's
// holders must not be changed from two threads at once.
#pragma once

#include "kelvo/gpu/GPUObjectContainer.h"
#include "kelvo/gpu/GPUObjectHandle.h"
#include "kelvo/gpu/GPUObjectStore.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/LoadResourceSubscriber.h"

#include <cstdint>
#include <string>
#include <vector>

class CMaterial;
class IGPUResource;
struct SMaterialDescription;

class CGPUResourceManager
{
public:
    CGPUResourceManager();
    CGPUResourceManager(const CGPUResourceManager&) = delete;
    CGPUResourceManager& operator=(const CGPUResourceManager&) = delete;
    virtual ~CGPUResourceManager() = default;

    // Store Clone: an unnamed copy with one reference for the caller; 10 for a handle not in
    // its store, 45 when the resource cannot be copied.
    virtual uint32_t CloneResource(const GPUObjectHandle& handle, GPUObjectHandle& outHandle);

    // The named resource's handle in store type, with a new reference that the caller gives
    // back with ReleaseResource; null when absent or for a type outside the four stores.
    const GPUObjectHandle* FindByName(const std::string& name, uint32_t type);
    // The resource behind the handle, no reference taken; null for an invalid or stale handle.
    IGPUResource* GetResource(const GPUObjectHandle& handle) const;
    // Gives back one reference; false for a null, invalid or stale handle.
    bool ReleaseResource(const GPUObjectHandle* handle);
    // 10 for a handle not in its store, 9 when the name is taken, 11 when the resource has no
    // name; an empty name leaves it known by handle only.
    uint32_t RenameResource(const GPUObjectHandle& handle, const std::string& name);

    // The material of that name, with a reference for the caller: the stored one (the
    // look-up's reference) or a new empty one added under the name (its one reference); null
    // when it cannot be added.
    CMaterial* GetOrCreateMaterial(const std::string& name);
    // A material for a mesh subset or a colour: effect "default", technique "d3d_material",
    // the description's texture or "white.jpg", and the variables "r_diffuse", "r_specular",
    // "r_ambient", "r_emissive", "r_power" and "r_use_texture" (1 with a texture file, else
    // 0). Added under name; the add's code, with the handle written on success.
    uint32_t CreateMaterialFromDescription(const std::string& name, const SMaterialDescription& description,
                                           GPUObjectHandle& outHandle);

    // Subscribers are not owned and never removed.
    void AddLoadResourceSubscriber(ILoadResourceSubscriber* subscriber);
    // Tells every subscriber, in the order they subscribed, that a load begins.
    void NotifyLoadResource();

protected:
    // Wraps resource (owned from here on) in a container of store type and adds it under
    // name; on success writes the handle, which holds the container's one reference. On
    // failure (9) the container and the resource are destroyed.
    template <typename T>
    uint32_t AddResource(uint32_t type, T* resource, const std::string& name, GPUObjectHandle& outHandle);

    // The resource loaded from fileName in store type. A hit hands out the same handle with a
    // new reference; otherwise the subscribers are told, create() makes a new T (owned from
    // here on), which loads fileName and is added under it. A failed load is destroyed and
    // its code returned; a file missing from the data folder is reported.
    template <typename T, typename TCreate>
    uint32_t LoadOrFind(uint32_t type, const std::string& fileName, TCreate create,
                        GPUObjectHandle& outHandle);

private:
    // Says that a requested file is not in the data folder.
    static void ReportMissingFile(const std::string& fileName);
    // The handle's store, or null when the handle names none.
    GPUObjectStore* StoreOf(const GPUObjectHandle& handle);

    GPUObjectStore m_Stores[kGPUObjectTypeCount];
    std::vector<ILoadResourceSubscriber*> m_Subscribers;
};

template <typename T>
uint32_t CGPUResourceManager::AddResource(uint32_t type, T* resource, const std::string& name,
                                          GPUObjectHandle& outHandle)
{
    auto* container = new GPUObjectContainer<T>(resource, type);
    const uint32_t result = m_Stores[type].Add(container, name);
    if (result != kGPUResultOk)
    {
        container->Release();
        return result;
    }
    outHandle = container->GetHandle();
    return kGPUResultOk;
}

template <typename T, typename TCreate>
uint32_t CGPUResourceManager::LoadOrFind(uint32_t type, const std::string& fileName, TCreate create,
                                         GPUObjectHandle& outHandle)
{
    if (const GPUObjectHandle* found = m_Stores[type].FindByName(fileName))
    {
        outHandle = *found;
        return kGPUResultOk;
    }
    NotifyLoadResource();
    T* resource = create();
    const uint32_t loaded = resource->Load(fileName);
    if (loaded != kGPUResultOk)
    {
        delete resource;
        if (loaded == kGPUResultNotFound)
            ReportMissingFile(fileName);
        return loaded;
    }
    return AddResource(type, resource, fileName, outHandle);
}
