#include "kelvo/world/Surface.h"

#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/Material.h"
#include "kelvo/gpu/Mesh.h"
#include "platform/window/WindowMessage.h"

namespace
{
// Debug stepping through subsets while the space bar is held: the draw count since the
// last step and the subset shown.
uint32_t g_SubsetDrawCount = 0;
uint32_t g_SelectedSubset = 0;
constexpr uint32_t kDrawsPerSubset = 50;

template <typename T>
T* Resolve(const GPUObjectHandle& handle)
{
    if (!g_pGPUImplementation)
        return nullptr;
    IGPUResource* resource = g_pGPUImplementation->GetResource(handle);
    return resource && resource->IsKindOf(T::StaticTypeId()) ? static_cast<T*>(resource) : nullptr;
}
}

CSurface::CSurface(const std::string& meshName, const std::string& materialName)
{
    if (!g_pGPUImplementation)
        return;
    g_pGPUImplementation->LoadMesh(meshName, m_MeshHandle);
    std::string material = materialName;
    if (material.empty())
    {
        if (CMesh* mesh = GetMesh())
            m_Materials = mesh->GetMaterialHandles();
        if (m_Materials.empty())
            material = kFallbackMaterial;
    }
    if (!material.empty())
    {
        GPUObjectHandle handle;
        if (g_pGPUImplementation->FindMaterial(material, handle) == 0)
        {
            m_Materials.push_back(handle);
            m_OwnsMaterials = true;
        }
    }
}

CSurface::~CSurface()
{
    if (!g_pGPUImplementation)
        return;
    if (m_OwnsMaterials)
        for (const GPUObjectHandle& handle : m_Materials)
            g_pGPUImplementation->ReleaseResource(&handle);
    g_pGPUImplementation->ReleaseResource(&m_MeshHandle);
}

CMesh* CSurface::GetMesh() const
{
    return Resolve<CMesh>(m_MeshHandle);
}

bool CSurface::GetBox(SVector4& min, SVector4& max) const
{
    const CMesh* mesh = GetMesh();
    if (!mesh)
        return false;
    mesh->GetBoundingBox(&min.x, &max.x);
    return true;
}

bool CSurface::Trace(const SRay& ray, STraceMeshHit& hit) const
{
    const CMesh* mesh = GetMesh();
    return mesh && mesh->Trace(ray, hit);
}

void CSurface::Draw()
{
    CMesh* mesh = GetMesh();
    if (!m_Visible || !mesh)
        return;
    if (m_Materials.size() > 1)
    {
        DrawSubsets(mesh);
        return;
    }
    if (m_Materials.empty())
        return;
    if (CMaterial* material = Resolve<CMaterial>(m_Materials[0]))
    {
        material->Begin();
        mesh->Render();
        material->End();
    }
}

void CSurface::DrawSubsets(CMesh* mesh)
{
    const uint32_t subsetCount = static_cast<uint32_t>(m_Materials.size());
    const bool stepping = m_Input.IsHeld(platform::VK_SPACE);
    if (stepping && ++g_SubsetDrawCount > kDrawsPerSubset)
    {
        g_SubsetDrawCount = 0;
        g_SelectedSubset = (g_SelectedSubset + 1) % subsetCount;
    }
    for (uint32_t i = 0; i < subsetCount; ++i)
    {
        if (stepping && i != g_SelectedSubset % subsetCount)
            continue;
        if (CMaterial* material = Resolve<CMaterial>(m_Materials[i]))
        {
            material->Begin();
            mesh->RenderSurface(i);
            material->End();
        }
    }
}
