#include "brovell/scenes/ScenePreload.h"

#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/GPUResult.h"

CScenePreload::~CScenePreload()
{
    if (!g_pGPUImplementation)
        return;
    for (const GPUObjectHandle& handle : m_Handles)
        g_pGPUImplementation->ReleaseResource(&handle);
}

void CScenePreload::LoadTexture(const std::string& fileName)
{
    GPUObjectHandle handle;
    if (g_pGPUImplementation && g_pGPUImplementation->LoadTexture(fileName, handle) == kGPUResultOk)
        m_Handles.push_back(handle);
}

void CScenePreload::LoadEffect(const std::string& fileName)
{
    GPUObjectHandle handle;
    if (g_pGPUImplementation && g_pGPUImplementation->LoadEffect(fileName, handle) == kGPUResultOk)
        m_Handles.push_back(handle);
}
