#include "kelvo/gpu/GPUObjectStore.h"

#include "kelvo/gpu/GPUResult.h"

uint32_t GPUObjectStore::Add(GPUObjectContainerBase* container, const std::string& name)
{
    if (!name.empty())
    {
        if (!m_ByName.try_emplace(name, container).second)
            return kGPUResultNameInUse;
    }
    m_ById[container->GetHandle().m_Id] = container;
    container->SetName(name);
    return kGPUResultOk;
}

const GPUObjectHandle* GPUObjectStore::FindByName(const std::string& name)
{
    auto found = m_ByName.find(name);
    if (found == m_ByName.end())
        return nullptr;
    found->second->AddRef();
    return &found->second->GetHandle();
}

IGPUResource* GPUObjectStore::Get(uint32_t id) const
{
    GPUObjectContainerBase* container = Find(id);
    return container != nullptr ? container->GetResource() : nullptr;
}

bool GPUObjectStore::Release(const GPUObjectHandle& handle)
{
    GPUObjectContainerBase* container = Find(handle.m_Id);
    if (container == nullptr)
        return false;
    // The container may destroy itself, and handle may be its own (FindByName's result), so
    // id and name are copied first.
    const uint32_t id = handle.m_Id;
    const std::string name = container->GetName();
    if (container->Release() == 0)
    {
        if (!name.empty())
            m_ByName.erase(name);
        m_ById.erase(id);
    }
    return true;
}

uint32_t GPUObjectStore::Rename(const GPUObjectHandle& handle, const std::string& newName)
{
    GPUObjectContainerBase* container = Find(handle.m_Id);
    if (container == nullptr)
        return kGPUResultHandleNotFound;
    if (m_ByName.contains(newName))
        return kGPUResultNameInUse;
    auto current = m_ByName.find(container->GetName());
    if (current == m_ByName.end())
        return kGPUResultNameNotFound;
    m_ByName.erase(current);
    container->SetName(newName);
    // An empty name would make the container findable by "": it stays unnamed instead.
    if (!newName.empty())
        m_ByName.emplace(newName, container);
    return kGPUResultOk;
}

uint32_t GPUObjectStore::Clone(const GPUObjectHandle& handle, GPUObjectHandle& outHandle)
{
    const GPUObjectContainerBase* container = Find(handle.m_Id);
    if (container == nullptr)
        return kGPUResultHandleNotFound;
    GPUObjectContainerBase* copy = container->Clone();
    if (copy == nullptr)
        return kGPUResultCannotCopy;
    m_ById[copy->GetHandle().m_Id] = copy;
    outHandle = copy->GetHandle();
    return kGPUResultOk;
}

GPUObjectContainerBase* GPUObjectStore::Find(uint32_t id) const
{
    auto found = m_ById.find(id);
    return found != m_ById.end() ? found->second : nullptr;
}
