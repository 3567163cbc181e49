#include "kelvo/gpu/GPUResourceManager.h"

CGPUResourceManager::CGPUResourceManager()
{
    for (uint32_t type = 0; type < kGPUObjectTypeCount; ++type)
        m_Stores[type].SetType(type);
}

uint32_t CGPUResourceManager::CloneResource(const GPUObjectHandle& handle,
                                            GPUObjectHandle& outHandle)
{
    GPUObjectStore* store = StoreOf(handle);
    return store != nullptr ? store->Clone(handle, outHandle) : kGPUResultHandleNotFound;
}

const GPUObjectHandle* CGPUResourceManager::FindByName(const std::string& name, uint32_t type)
{
    if (type >= kGPUObjectTypeCount)
        return nullptr;
    return m_Stores[type].FindByName(name);
}

IGPUResource* CGPUResourceManager::GetResource(const GPUObjectHandle& handle) const
{
    if (!handle.IsValid())
        return nullptr;
    return m_Stores[handle.m_Type].Get(handle.m_Id);
}

bool CGPUResourceManager::ReleaseResource(const GPUObjectHandle* handle)
{
    if (handle == nullptr)
        return false;
    GPUObjectStore* store = StoreOf(*handle);
    return store != nullptr && store->Release(*handle);
}

uint32_t CGPUResourceManager::RenameResource(const GPUObjectHandle& handle,
                                             const std::string& name)
{
    GPUObjectStore* store = StoreOf(handle);
    return store != nullptr ? store->Rename(handle, name) : kGPUResultHandleNotFound;
}

void CGPUResourceManager::AddLoadResourceSubscriber(ILoadResourceSubscriber* subscriber)
{
    m_Subscribers.push_back(subscriber);
}

void CGPUResourceManager::NotifyLoadResource()
{
    for (ILoadResourceSubscriber* subscriber : m_Subscribers)
        subscriber->OnLoadResource();
}

GPUObjectStore* CGPUResourceManager::StoreOf(const GPUObjectHandle& handle)
{
    return handle.IsValid() ? &m_Stores[handle.m_Type] : nullptr;
}
