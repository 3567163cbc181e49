#include "kelvo/render/RenderPhase.h"

#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/GPUTexture.h"
#include "kelvo/gpu/ScopedResource.h"
#include "platform/Log.h"

CRenderPhase::~CRenderPhase()
{
    ReleaseTextures();
}

bool CRenderPhase::SetTexture(uint32_t slot, bool isInput, const std::string& name)
{
    if (isInput && slot >= kMaxInputs)
    {
        DebugLog("[CRenderPhase::SetTexture] Error: input slot: %i texture: %s\n", static_cast<int>(slot),
                 name.c_str());
        return false;
    }
    if (!isInput && slot >= kMaxOutputs)
    {
        DebugLog("[CRenderPhase::SetTexture] Error: output slot: %i texture: %s\n", static_cast<int>(slot),
                 name.c_str());
        return false;
    }
    std::vector<std::string>& names = isInput ? m_InputNames : m_OutputNames;
    if (names.size() < slot + 1)
        names.resize(slot + 1);
    if (isInput && names[slot] != name)
        ReleaseTextures();
    names[slot] = name;
    return true;
}

bool CRenderPhase::AddTexture(const std::string& name)
{
    IGPUImplementation* backend = g_pGPUImplementation;
    CScopedResource textureRef(backend);
    if (backend == nullptr || backend->LoadTexture(name, textureRef.Receive()) != kGPUResultOk)
    {
        DebugLog("[CRenderPhase::AddTexture] Failed to load texture: %s!\n", name.c_str());
        return false;
    }
    auto* texture = textureRef.Get<IGPUTexture>();
    if (texture == nullptr)
    {
        DebugLog("[CRenderPhase::AddTexture] Failed to get itexture: %s!\n", name.c_str());
        return false;
    }
    m_Handles.push_back(textureRef.Detach());
    m_Textures.push_back(texture);
    return true;
}

bool CRenderPhase::LoadTextures()
{
    if (IsResolved())
        return true;
    for (const std::vector<std::string>* names : {&m_InputNames, &m_OutputNames})
        for (const std::string& name : *names)
            if (!AddTexture(name))
            {
                ReleaseTextures();
                return false;
            }
    m_Flags |= kResolvedFlag;
    return true;
}

bool CRenderPhase::BindTextures()
{
    if (!LoadTextures())
        return false;
    const std::size_t inputs = m_InputNames.size();
    for (std::size_t i = 0; i < inputs && i < kMaxInputs; ++i)
        m_Textures[i]->SetTexture(static_cast<uint32_t>(i));
    for (std::size_t j = 0; j < m_OutputNames.size() && j < kMaxOutputs; ++j)
        m_Textures[inputs + j]->SetRenderTarget(static_cast<uint32_t>(j));
    return true;
}

void CRenderPhase::ReleaseTextures()
{
    m_Flags &= ~kResolvedFlag;
    if (IGPUImplementation* backend = g_pGPUImplementation)
        for (const GPUObjectHandle& handle : m_Handles)
            backend->ReleaseResource(&handle);
    m_Handles.clear();
    m_Textures.clear();
}
