#include "kelvo/gpu/GPUResourceManager.h"

#include "kelvo/gpu/Material.h"
#include "kelvo/gpu/MaterialDescription.h"
#include "platform/Log.h"

CGPUResourceManager::CGPUResourceManager()
{
    for (uint32_t type = 0; type < kGPUObjectTypeCount; ++type)
        m_Stores[type].SetType(type);
}

uint32_t CGPUResourceManager::CloneResource(const GPUObjectHandle& handle, GPUObjectHandle& outHandle)
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

uint32_t CGPUResourceManager::RenameResource(const GPUObjectHandle& handle, const std::string& name)
{
    GPUObjectStore* store = StoreOf(handle);
    return store != nullptr ? store->Rename(handle, name) : kGPUResultHandleNotFound;
}

CMaterial* CGPUResourceManager::GetOrCreateMaterial(const std::string& name)
{
    if (const GPUObjectHandle* found = FindByName(name, kGPUObjectMaterial))
        return GPUResourceCast<CMaterial>(GetResource(*found));
    auto* material = new CMaterial();
    GPUObjectHandle handle;
    return AddResource(kGPUObjectMaterial, material, name, handle) == kGPUResultOk ? material : nullptr;
}

uint32_t CGPUResourceManager::CreateMaterialFromDescription(const std::string& name,
                                                            const SMaterialDescription& description,
                                                            GPUObjectHandle& outHandle)
{
    auto* material = new CMaterial();
    const bool textured = !description.m_TextureFile.empty();
    material->Setup("default", "d3d_material",
                    {textured ? description.m_TextureFile : std::string("white.jpg")}, {});
    material->SetVector("r_diffuse", description.m_Diffuse);
    material->SetVector("r_specular", description.m_Specular);
    material->SetVector("r_ambient", description.m_Ambient);
    material->SetVector("r_emissive", description.m_Emissive);
    material->SetFloat("r_power", description.m_Power);
    material->SetFloat("r_use_texture", textured ? 1.0f : 0.0f);
    return AddResource(kGPUObjectMaterial, material, name, outHandle);
}

void CGPUResourceManager::AddLoadResourceSubscriber(ILoadResourceSubscriber* subscriber)
{
    m_Subscribers.push_back(subscriber);
}

void CGPUResourceManager::ReportMissingFile(const std::string& fileName)
{
    // An empty name is a slot left open on purpose, not a file that went missing.
    if (fileName.empty())
        return;
    DebugLog("[CGPUResourceManager::LoadOrFind] %s: no such file in the data folder\n", fileName.c_str());
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
