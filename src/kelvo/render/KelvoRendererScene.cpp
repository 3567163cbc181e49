// The renderer's world-facing part: the scene pass over the visible objects, the camera
// variables, and the overlays seen from the camera.
#include "kelvo/render/KelvoRenderer.h"

#include "kelvo/core/GameObject.h"
#include "kelvo/core/Ray.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/TechniqueSelection.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/physics/PressureEngineInterface.h"
#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/world/3DSpace.h"
#include "kelvo/world/CameraLogic.h"
#include "kelvo/world/RenderableLogic.h"

#include <vector>

namespace
{
template <typename T>
T* FindLogicOf(const CGameObject* object)
{
    return static_cast<T*>(FindLogic(object, T::StaticTypeId()));
}
}

void CKelvoRenderer::RenderScene(CGameObject* cameraObject)
{
    std::vector<C3DObjectLogic*> visible;
    auto* camera = FindLogicOf<CCameraLogic>(cameraObject);
    auto* cameraPlace = FindLogicOf<C3DObjectLogic>(cameraObject);
    if (camera != nullptr && cameraPlace != nullptr)
    {
        if (m_Space != nullptr)
            m_Space->QueryVisible(visible, camera->GetProjection(), cameraPlace->GetTransformState(),
                                  camera->GetFar());
        SetCameraVariables(*camera, *cameraPlace);
    }
    SetPass("P0");
    for (C3DObjectLogic* object : visible)
        if (auto* renderable = FindLogicOf<CRenderableLogic>(object->GetOwner()))
            renderable->Render();
    if (g_pPressureEngine != nullptr)
        g_pPressureEngine->Render();
}

void CKelvoRenderer::SetCameraVariables(const CCameraLogic& camera, const C3DObjectLogic& cameraPlace)
{
    static CVar* cameraBase = GetVariable("r_camera_base", 48);
    static CVar* cameraVariable = GetVariable("r_camera", 64);
    static CVar* view = GetVariable("r_view", 64);
    static CVar* viewPosition = GetVariable("r_view_pos", 16);
    static CVar* projection = GetVariable("r_projection", 64);
    static CVar* projectionView = GetVariable("r_projection_view", 64);

    const SMatrix& world = cameraPlace.GetWorldMatrix();
    struct SBasis
    {
        SVector4 m_Axes[3];
    } basis;
    for (int row = 0; row < 3; ++row)
        basis.m_Axes[row] = {world(row, 0), world(row, 1), world(row, 2), world(row, 3)};
    const SMatrix viewMatrix = ViewMatrixOf(world);
    cameraBase->SetVector3x(basis);
    cameraVariable->SetMatrix(viewMatrix);
    view->SetMatrix(viewMatrix);
    viewPosition->SetVector(SVector4{world(3, 0), world(3, 1), world(3, 2), 1.0f});
    projection->SetMatrix(camera.GetProjection());
    projectionView->SetMatrix(viewMatrix * camera.GetProjection());
}

void CKelvoRenderer::DrawRay(const SRay& ray, uint32_t colorFrom, uint32_t colorTo)
{
    m_Lines.AddRay(ray.origin, ray.direction, ray.length, colorFrom, colorTo);
}

void CKelvoRenderer::DrawOverlays(CGameObject* cameraObject)
{
    if (m_Backend != nullptr)
        m_Backend->SetDefaultRenderTarget();
    if (auto* cameraPlace = FindLogicOf<C3DObjectLogic>(cameraObject))
    {
        const SMatrix view = ViewMatrixOf(cameraPlace->GetWorldMatrix());
        m_Lines.MoveToCameraSpace(&view);
    }
    else
        m_Lines.MoveToCameraSpace(nullptr);
    m_Lines.Draw();
    m_Texts.Draw(m_Font);
}

SMatrix CKelvoRenderer::ViewMatrixOf(const SMatrix& world)
{
    // A camera whose 3 x 3 part cannot be inverted is used as it is.
    const float determinant = world(0, 0) * (world(1, 1) * world(2, 2) - world(1, 2) * world(2, 1)) -
                              world(0, 1) * (world(1, 0) * world(2, 2) - world(1, 2) * world(2, 0)) +
                              world(0, 2) * (world(1, 0) * world(2, 1) - world(1, 1) * world(2, 0));
    return determinant == 0.0f ? world : MatrixInverseAffine(world);
}
