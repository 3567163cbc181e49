#include "kelvo/gpu/PixelTaskDesc.h"

#include "kelvo/gpu/GPUEffect.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/GPUTexture.h"
#include "kelvo/gpu/ScopedResource.h"
#include "kelvo/gpu/Mesh.h"
#include "kelvo/gpu/TechniqueSelection.h"
#include "platform/Log.h"

#include <cstring>
#include <vector>

CPixelTaskDesc::~CPixelTaskDesc()
{
    ReleaseTargets();
    ReleaseEffect();
}

bool CPixelTaskDesc::SetEffect(const std::string& effectName, const std::string& technique,
                               const std::string& pass)
{
    if (effectName != m_EffectName)
    {
        ReleaseEffect();
        IGPUImplementation* backend = g_pGPUImplementation;
        CScopedResource effectRef(backend);
        if (backend == nullptr || backend->LoadEffect(effectName, effectRef.Receive()) != kGPUResultOk)
            return false;
        auto* effect = effectRef.Get<IGPUEffect>();
        if (effect == nullptr)
            return false;
        m_EffectHandle = effectRef.Detach();
        m_Effect = effect;
        m_EffectName = effectName;
    }
    m_Technique = technique;
    m_Pass = pass;
    return true;
}

bool CPixelTaskDesc::SetRTDesc(uint32_t size, uint32_t format, const std::string& name, uint32_t count)
{
    if (format == m_Format && size == m_Size && count == m_TargetCount)
        return true;
    ReleaseTargets();
    IGPUImplementation* backend = g_pGPUImplementation;
    if (backend == nullptr || count > kMaxTargets)
    {
        DebugLog("[CPixelTaskDesc::SetRTDesc] Failed creating render target!\n");
        return false;
    }
    for (uint32_t i = 0; i < count; ++i)
    {
        STarget& target = m_Targets[i];
        if (backend->CreateTexture(name, size, size, 1, format, true, target.m_Handle) != kGPUResultOk)
        {
            DebugLog("[CPixelTaskDesc::SetRTDesc] Failed creating render target!\n");
            ReleaseTargets();
            return false;
        }
        target.m_Texture = GPUResourceCast<IGPUTexture>(backend->GetResource(target.m_Handle));
        if (target.m_Texture == nullptr)
        {
            DebugLog("[CPixelTaskDesc::SetRTDesc] Failed casting render target!\n");
            backend->ReleaseResource(&target.m_Handle);
            target.m_Handle = {};
            ReleaseTargets();
            return false;
        }
    }
    m_Format = format;
    m_Size = size;
    m_TargetCount = count;
    return true;
}

void CPixelTaskDesc::Run()
{
    IGPUImplementation* backend = g_pGPUImplementation;
    if (m_Effect == nullptr || backend == nullptr)
        return;
    SetTechnique(m_Technique);
    SetPass(m_Pass);

    // The store keeps the built-in quad, so the handle goes back at once.
    GPUObjectHandle meshHandle;
    if (backend->LoadMesh("bilboard", meshHandle) != kGPUResultOk)
    {
        DebugLog("[CPixelTaskDesc::Run] Can't load bilboard mesh!\n");
        return;
    }
    auto* mesh = GPUResourceCast<CMesh>(backend->GetResource(meshHandle));
    backend->ReleaseResource(&meshHandle);
    if (mesh == nullptr)
    {
        DebugLog("[CPixelTaskDesc::Run] Can't cast bilboard mesh!\n");
        return;
    }

    BindTargetsAndInputs();
    uint32_t savedFillMode = 2;
    backend->GetFillMode(savedFillMode);
    backend->SetFillMode(2);
    backend->SetTextureFilter(0, 1);
    backend->SetDepthTest(false);

    backend->BeginScene();
    if (m_Effect->Begin() == kGPUResultOk)
    {
        mesh->Render();
        m_Effect->End();
    }
    backend->EndScene();

    backend->SetDepthTest(true);
    backend->SetTextureFilter(0, 0);
    backend->SetFillMode(savedFillMode);
    UnbindTargetsAndInputs();
}

void CPixelTaskDesc::LogResult(uint32_t count)
{
    // Each target as rows of four floats; a target that cannot be read logs zeros.
    std::vector<std::vector<uint8_t>> contents(m_TargetCount);
    for (uint32_t i = 0; i < m_TargetCount; ++i)
        m_Targets[i].m_Texture->ReadBack(contents[i]);
    DebugLog("\n");
    for (uint32_t r = 0; r < count; ++r)
    {
        for (uint32_t i = 0; i < m_TargetCount; ++i)
        {
            float value[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            const std::size_t offset = static_cast<std::size_t>(r) * sizeof(value);
            if (offset + sizeof(value) <= contents[i].size())
                std::memcpy(value, contents[i].data() + offset, sizeof(value));
            DebugLog("[CPixelTaskDesc::LogResult] %i:%i Value = (%f, %f, %f, %f)!\n", static_cast<int>(r),
                     static_cast<int>(i), value[0], value[1], value[2], value[3]);
        }
        DebugLog("\n");
    }
}

void CPixelTaskDesc::ReleaseTargets()
{
    IGPUImplementation* backend = g_pGPUImplementation;
    for (STarget& target : m_Targets)
    {
        if (target.m_Texture != nullptr && backend != nullptr)
            backend->ReleaseResource(&target.m_Handle);
        target = {};
    }
    m_TargetCount = 0;
    m_Size = 0;
    m_Format = 0;
}

void CPixelTaskDesc::ReleaseEffect()
{
    if (m_Effect != nullptr && g_pGPUImplementation != nullptr)
        g_pGPUImplementation->ReleaseResource(&m_EffectHandle);
    m_Effect = nullptr;
    m_EffectHandle = {};
    m_EffectName.clear();
}

void CPixelTaskDesc::BindTargetsAndInputs()
{
    for (uint32_t i = 0; i < m_TargetCount; ++i)
        m_Targets[i].m_Texture->SetRenderTarget(i);
    g_pGPUImplementation->SetViewport(0, 0, m_Size, m_Size, 0.0f, 1.0f);
    for (uint32_t stage = 0; stage < kMaxInputs; ++stage)
        if (m_Inputs[stage] != nullptr)
            m_Inputs[stage]->SetTexture(stage);
}

void CPixelTaskDesc::UnbindTargetsAndInputs()
{
    g_pGPUImplementation->SetDefaultRenderTarget();
    for (uint32_t stage = 0; stage < kMaxInputs; ++stage)
        if (m_Inputs[stage] != nullptr)
            g_pGPUImplementation->ResetTexture(stage);
}
