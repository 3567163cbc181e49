// The camera: a perspective projection looking along the owner's -z axis, a gentle shake
// from fractal noise scaled by the render variable "r_camera_noise", and picking rays
// through the cursor. The owner needs a C3DObjectLogic; the shake replaces its local
// matrix, so the camera sits at its parent plus the shake. Main thread only.
#pragma once

#include "kelvo/core/ObjectLogicBase.h"
#include "kelvo/world/InputEvent.h"
#include "platform/Clock.h"

class CVar;

class CCameraLogic : public CObjectLogicBase
{
    KELVO_RTTI(CCameraLogic, CObjectLogicBase)

public:
    // Sets "r_camera_noise" to 1.
    CCameraLogic();

    // Camera shake, then the projection for the current view aspect.
    void Update() override;
    // The frustum and projection matrix for aspect = client height / width.
    void UpdateProjection(float aspect);

    const SMatrix& GetProjection() const { return m_Projection; }
    float GetNear() const { return m_Near; }
    float GetFar() const { return m_Far; }
    float GetRight() const { return m_Right; }
    float GetLeft() const { return m_Left; }
    float GetTop() const { return m_Top; }
    float GetBottom() const { return m_Bottom; }

    // The ray from the camera through the cursor at (x, y) (fractions of the client area, 0
    // at the left and top) into event.ray, 200 units long. False, the ray untouched, when the
    // owner has no transform.
    bool GetCursorRay(float x, float y, SInputEvent& event) const;

private:
    void Shake();

    float m_Near = 0.2f;
    float m_Far = 1000.0f;
    float m_Right = 1.0f;
    float m_Left = -1.0f;
    float m_Top = 1.0f;
    float m_Bottom = -1.0f;
    float m_HalfFovDegrees = 20.0f;
    SMatrix m_Projection;
    CStopwatch m_ShakeClock;
};
