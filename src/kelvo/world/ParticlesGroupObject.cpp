#include "kelvo/world/ParticlesGroupObject.h"

#include <cinttypes>
#include <cstdio>

#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/Mesh.h"
#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/world/RenderableLogic.h"

namespace
{
constexpr uint32_t kPositionBytes = 16;
}

CParticlesGroupObject::CParticlesGroupObject(const std::string& materialName)
{
    AddLogic<C3DObjectLogic>();
    CRenderableLogic* renderable = AddLogic<CRenderableLogic>();
    if (!g_pGPUImplementation)
        return;
    // The whole address, so that no two groups share a name on a 64-bit system.
    char meshName[40];
    std::snprintf(meshName, sizeof(meshName), "particles_%08" PRIxPTR, reinterpret_cast<uintptr_t>(this));
    m_Mesh = g_pGPUImplementation->CreateMesh(meshName);
    if (!m_Mesh)
        return;
    m_Mesh->SetPrimitiveType(CMesh::kPointList);
    renderable->ShowSurface(meshName, materialName);
    m_Mesh->GetBuffer("position", kPositionBytes);
    m_Mesh->Update();
}

void CParticlesGroupObject::SetPositions(const void* source, uint32_t count, uint32_t sourceStride)
{
    if (!m_Mesh)
        return;
    m_Mesh->GetBuffer("position", kPositionBytes)
        ->CopyStrided(source, 0, kPositionBytes, sourceStride, count);
    m_Mesh->UploadBuffers();
}
