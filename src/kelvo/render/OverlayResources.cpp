#include "kelvo/render/OverlayResources.h"

#include "kelvo/gpu/GPUEffect.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/Mesh.h"

uint32_t AcquireOverlayResources(const std::string& meshName, uint32_t noMeshResult, SOverlayResources& out)
{
    IGPUImplementation* backend = g_pGPUImplementation;
    if (backend == nullptr)
        return kGPUResultOverlayNoEffect;
    out.m_EffectRef = CScopedResource(backend);
    out.m_MeshRef = CScopedResource(backend);
    if (backend->LoadEffect("default", out.m_EffectRef.Receive()) != kGPUResultOk)
        return kGPUResultOverlayNoEffect;
    if (backend->LoadMesh(meshName, out.m_MeshRef.Receive()) != kGPUResultOk)
        return noMeshResult;
    out.m_Effect = out.m_EffectRef.Get<IGPUEffect>();
    out.m_Mesh = out.m_MeshRef.Get<CMesh>();
    if (out.m_Effect == nullptr || out.m_Mesh == nullptr)
        return kGPUResultOverlayMissingResource;
    return kGPUResultOk;
}
