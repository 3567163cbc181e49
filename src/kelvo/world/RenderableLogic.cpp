#include "kelvo/world/RenderableLogic.h"

#include "kelvo/core/GameObject.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/world/Surface.h"

namespace
{
struct SMatrixVariables
{
    CVar* world = GetVariable("r_world", 64);
    CVar* viewWorld = GetVariable("r_view_world", 64);
    CVar* projectionViewWorld = GetVariable("r_projection_view_world", 64);
    CVar* projectionView = GetVariable("r_projection_view", 64);
    CVar* view = GetVariable("r_view", 64);
    CVar* worldNormal = GetVariable("r_world_normal", 64);
};
}

CRenderableLogic::~CRenderableLogic()
{
    for (CSurface* surface : m_Surfaces)
        delete surface;
    m_Surfaces.clear();
}

CSurface* CRenderableLogic::ShowSurface(const std::string& meshName, const std::string& materialName)
{
    auto* surface = new CSurface(meshName, materialName);
    m_Surfaces.push_back(surface);
    UpdateBounds();
    return surface;
}

void CRenderableLogic::UpdateBounds()
{
    auto* transform = static_cast<C3DObjectLogic*>(FindLogic(GetOwner(), C3DObjectLogic::StaticTypeId()));
    if (!transform)
        return;
    STransformState state = transform->GetTransformState();
    bool first = true;
    for (const CSurface* surface : m_Surfaces)
    {
        SBox box;
        if (!surface->GetBox(box.min, box.max))
            continue;
        if (first)
            state.localBox = box;
        else
            MergeBox(state.localBox, box);
        first = false;
    }
    state.UpdateCorners();
    transform->SetTransformState(state);
}

void CRenderableLogic::Render()
{
    static const SMatrixVariables s_Variables;
    if (auto* transform = static_cast<C3DObjectLogic*>(FindLogic(GetOwner(), C3DObjectLogic::StaticTypeId())))
    {
        const SMatrix& world = transform->GetWorldMatrix();
        s_Variables.world->SetMatrix(world);
        SMatrix normal = world;
        normal.m[12] = normal.m[13] = normal.m[14] = 0.0f;
        s_Variables.worldNormal->SetMatrix(normal);
        SMatrix matrix;
        if (s_Variables.projectionView->GetMatrix(matrix))
            s_Variables.projectionViewWorld->SetMatrix(world * matrix);
        if (s_Variables.view->GetMatrix(matrix))
            s_Variables.viewWorld->SetMatrix(world * matrix);
    }
    for (CSurface* surface : m_Surfaces)
        surface->Draw();
}

bool CRenderableLogic::TraceSurfaces(const SRay& localRay, kelvo::trace_hit_t& hit) const
{
    bool found = false;
    for (uint32_t i = 0; i < m_Surfaces.size(); ++i)
    {
        if (!m_Surfaces[i]->IsTraceable())
            continue;
        STraceMeshHit meshHit;
        meshHit.distance = hit.distance;
        if (!m_Surfaces[i]->Trace(localRay, meshHit))
            continue;
        hit.distance = meshHit.distance;
        hit.surface = i;
        hit.triangle = meshHit.triangle->index;
        found = true;
    }
    return found;
}
