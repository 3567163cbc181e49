// The container of one resource of class T, which it owns and destroys with itself.
#pragma once

#include "kelvo/gpu/GPUObjectContainerBase.h"
#include "kelvo/gpu/GPUResource.h"

template <typename T>
class GPUObjectContainer : public GPUObjectContainerBase
{
public:
    // Takes ownership of resource (which may be null: an empty container).
    GPUObjectContainer(T* resource, uint32_t type)
        : GPUObjectContainerBase(type)
        , m_Resource(resource)
    {
    }

    uint32_t GetResourceTypeId() const override { return T::StaticTypeId(); }
    IGPUResource* GetResource() const override { return m_Resource; }
    bool UpdateResource() override { return m_Resource != nullptr && m_Resource->Update(); }
    bool ReleaseResource() override { return m_Resource != nullptr && m_Resource->Release(); }
    bool RefreshResource() override { return m_Resource != nullptr && m_Resource->Refresh(); }

    GPUObjectContainerBase* Clone() const override
    {
        if (m_Resource == nullptr)
            return nullptr;
        IGPUResource* copy = m_Resource->Clone();
        T* typedCopy = GPUResourceCast<T>(copy);
        if (typedCopy == nullptr)
        {
            // A copy of another class cannot live in this container; it would leak otherwise.
            delete copy;
            return nullptr;
        }
        return new GPUObjectContainer<T>(typedCopy, GetHandle().m_Type);
    }

protected:
    ~GPUObjectContainer() override { delete m_Resource; }

private:
    T* m_Resource;
};
