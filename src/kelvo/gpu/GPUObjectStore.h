// The containers of one resource kind, by id and by name. A container is in the by-id map for
// its whole life and in the by-name map while it has a name. The store holds no reference of
// its own: each container's references belong to the callers that loaded or found it, and the
// last release removes it. Not thread-safe: one thread at a time (the main thread).
#pragma once

#include "kelvo/gpu/GPUObjectContainerBase.h"
#include "kelvo/gpu/GPUObjectHandle.h"

#include <cstdint>
#include <map>
#include <string>

class IGPUResource;

class GPUObjectStore
{
public:
    GPUObjectStore() = default;
    GPUObjectStore(const GPUObjectStore&) = delete;
    GPUObjectStore& operator=(const GPUObjectStore&) = delete;
    // Containers still referenced are left alone: their resources may need a device that is
    // already gone.
    ~GPUObjectStore() = default;

    uint32_t GetType() const { return m_Type; }
    void SetType(uint32_t type) { m_Type = type; }

    // Enters container under name (by id only when name is empty), taking no reference.
    // 9 when the name is taken.
    uint32_t Add(GPUObjectContainerBase* container, const std::string& name);
    // The named container's handle with a new reference for the caller; null when absent.
    const GPUObjectHandle* FindByName(const std::string& name);
    // The resource of the container with that id, or null; no reference is taken.
    IGPUResource* Get(uint32_t id) const;
    // Gives back one reference; the last one destroys the container and forgets it. False
    // when the id is not in the store.
    bool Release(const GPUObjectHandle& handle);
    // 10 for an unknown id, 9 when newName is taken, 11 when the container has no name.
    // An empty newName leaves the container unnamed (known by id only).
    uint32_t Rename(const GPUObjectHandle& handle, const std::string& newName);
    // Enters an unnamed copy of the container, with one reference for the caller, and writes
    // its handle. 10 for an unknown id, 45 when the resource cannot be copied.
    uint32_t Clone(const GPUObjectHandle& handle, GPUObjectHandle& outHandle);

private:
    GPUObjectContainerBase* Find(uint32_t id) const;

    uint32_t m_Type = kGPUObjectTypeCount;
    std::map<uint32_t, GPUObjectContainerBase*> m_ById;
    std::map<std::string, GPUObjectContainerBase*> m_ByName;
};
