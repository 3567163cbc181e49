// A reference-counted owner of one GPU resource, known by its handle and, once a store holds
// it, by its name. The concrete container (GPUObjectContainer<T>) knows the resource class.
#pragma once

#include "kelvo/gpu/GPUObjectHandle.h"
#include "kelvo/gpu/RefCounter.h"

#include <cstdint>
#include <string>

class IGPUResource;

class GPUObjectContainerBase : public CRefCounter
{
public:
    // Draws a fresh id from the process-wide counter; type is the index of the store that
    // will hold the container.
    explicit GPUObjectContainerBase(uint32_t type);

    const GPUObjectHandle& GetHandle() const { return m_Handle; }
    const std::string& GetName() const { return m_Name; }
    // Only the store that holds the container names it.
    void SetName(const std::string& name) { m_Name = name; }

    // Type number of the resource class held.
    virtual uint32_t GetResourceTypeId() const = 0;
    // The resource, null when empty.
    virtual IGPUResource* GetResource() const = 0;
    // The resource's Update, Release and Refresh; false when empty.
    virtual bool UpdateResource() = 0;
    virtual bool ReleaseResource() = 0;
    virtual bool RefreshResource() = 0;
    // A new container (one reference, unnamed, same type) holding a copy of the resource;
    // null when empty or when the resource cannot be copied.
    virtual GPUObjectContainerBase* Clone() const = 0;

private:
    GPUObjectHandle m_Handle;
    std::string m_Name;
};
