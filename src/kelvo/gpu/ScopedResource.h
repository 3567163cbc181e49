// One reference on a GPU resource, given back to its manager when the holder goes out of
// scope or is reset. Moving hands the reference on; copying is not allowed, since every
// reference goes back exactly once. The manager must outlive the holder.
#pragma once

#include "kelvo/gpu/GPUObjectHandle.h"
#include "kelvo/gpu/GPUResource.h"
#include "kelvo/gpu/GPUResourceManager.h"

class CScopedResource
{
public:
    CScopedResource() = default;
    // Holds nothing yet; Receive takes what a load writes.
    explicit CScopedResource(CGPUResourceManager* manager)
        : m_Manager(manager)
    {
    }
    CScopedResource(const CScopedResource&) = delete;
    CScopedResource& operator=(const CScopedResource&) = delete;
    CScopedResource(CScopedResource&& other) noexcept
        : m_Manager(other.m_Manager)
        , m_Handle(other.Detach())
    {
    }
    CScopedResource& operator=(CScopedResource&& other) noexcept
    {
        if (this != &other)
        {
            Reset();
            m_Manager = other.m_Manager;
            m_Handle = other.Detach();
        }
        return *this;
    }
    ~CScopedResource() { Reset(); }

    // Gives back what is held, then lends the handle for a load or create call to write; the
    // reference it writes is held from then on (an unwritten handle holds nothing).
    GPUObjectHandle& Receive()
    {
        Reset();
        return m_Handle;
    }
    // Gives the reference back now.
    void Reset()
    {
        if (m_Manager != nullptr && m_Handle.IsValid())
            m_Manager->ReleaseResource(&m_Handle);
        m_Handle = {};
    }
    // Hands the reference to the caller, who gives it back.
    GPUObjectHandle Detach()
    {
        const GPUObjectHandle handle = m_Handle;
        m_Handle = {};
        return handle;
    }

    const GPUObjectHandle& GetHandle() const { return m_Handle; }
    // The resource as a T; null when nothing is held or it is no T.
    template <typename T>
    T* Get() const
    {
        return m_Manager != nullptr ? GPUResourceCast<T>(m_Manager->GetResource(m_Handle)) : nullptr;
    }

private:
    CGPUResourceManager* m_Manager = nullptr;
    GPUObjectHandle m_Handle;
};
