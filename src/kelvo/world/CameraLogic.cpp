#include "kelvo/world/CameraLogic.h"

#include <cmath>
#include <numbers>

#include "kelvo/core/FractalNoise.h"
#include "kelvo/core/GameObject.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/world/3DObjectLogic.h"

namespace
{
constexpr float kCursorRayLength = 200.0f;
// How far along the view the cursor ray's far point is taken, in near-plane units.
constexpr float kCursorRayReach = 15.0f;

CVar* CameraNoiseVariable()
{
    static CVar* s_Variable = GetVariable("r_camera_noise", 4);
    return s_Variable;
}

C3DObjectLogic* TransformOf(const CGameObject* owner)
{
    return static_cast<C3DObjectLogic*>(FindLogic(owner, C3DObjectLogic::StaticTypeId()));
}

// Height over width of the view; square without a GPU implementation.
float ViewAspect()
{
    return g_pGPUImplementation ? g_pGPUImplementation->GetAspect() : 1.0f;
}

// The fractal sum of the shake at time t (one accumulator per value).
float ShakeNoise(float t)
{
    float sum = 0.0f;
    AddFractalNoise(sum, t, 1.0f, 1.0f, 0.2f, 5);
    return sum;
}
}

CCameraLogic::CCameraLogic()
{
    CameraNoiseVariable()->SetFloat(1.0f);
}

void CCameraLogic::Update()
{
    if (!TransformOf(GetOwner()))
        return;
    Shake();
    UpdateProjection(ViewAspect());
}

void CCameraLogic::Shake()
{
    float amount = 0.0f;
    if (!CameraNoiseVariable()->GetFloat(amount))
        amount = 0.0f;
    const float t = static_cast<float>(m_ShakeClock.GetElapsedMs() / 1000.0);
    float q[6];
    for (int i = 0; i < 6; ++i)
        q[i] = ShakeNoise(t + 10.0f * static_cast<float>(i));

    const float turn = 0.05f * amount;
    SMatrix shake =
        MatrixRotationX(q[3] * turn) * MatrixRotationY(q[4] * turn) * MatrixRotationZ(q[5] * turn);
    shake.m[12] += q[0] * amount;
    shake.m[13] += q[1] * amount;
    shake.m[14] += q[2] * amount;

    C3DObjectLogic* transform = TransformOf(GetOwner());
    STransformState state = transform->GetTransformState();
    state.local = shake;
    transform->SetTransformState(state);
}

void CCameraLogic::UpdateProjection(float aspect)
{
    const float halfFov = m_HalfFovDegrees * std::numbers::pi_v<float> / 180.0f;
    m_Top = std::tan(halfFov) * m_Near;
    m_Bottom = -m_Top;
    m_Right = m_Top / aspect;
    m_Left = -m_Right;
    m_Projection = MatrixFrustum(m_Left, m_Right, m_Bottom, m_Top, m_Near, m_Far);
}

bool CCameraLogic::GetCursorRay(float x, float y, SInputEvent& event) const
{
    const C3DObjectLogic* transform = TransformOf(GetOwner());
    if (!transform)
        return false;
    const SMatrix& world = transform->GetWorldMatrix();
    const SVector3 origin = TransformPoint({0.0f, 0.0f, 0.0f}, world);
    // The cursor's spot on the near plane, pushed out along the view.
    const float px = m_Right + (m_Left - m_Right) * x;
    const float py = m_Bottom + (m_Top - m_Bottom) * y;
    const SVector3 far =
        TransformPoint({px * kCursorRayReach, py * kCursorRayReach, m_Near * kCursorRayReach}, world);
    event.ray.origin = Point(origin);
    event.ray.direction = {origin.x - far.x, origin.y - far.y, origin.z - far.z, 0.0f};
    event.ray.length = kCursorRayLength;
    return true;
}
