// The route of the window's input to the world: offers every key and mouse event to the
// registered input targets in registration order until one consumes it. Mouse events carry
// the picking ray of the camera object, when there is one with a camera. One instance, held
// by the application window, reachable through g_pInputDispatcher. Main thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "kelvo/world/InputEvent.h"

class CGameObject;
class CInputTargetLogic;

class CInputDispatcher
{
public:
    // cameraObject answers the current camera object (may be null) when a mouse event
    // needs its ray.
    explicit CInputDispatcher(CGameObject* (*cameraObject)());
    ~CInputDispatcher();
    CInputDispatcher(const CInputDispatcher&) = delete;
    CInputDispatcher& operator=(const CInputDispatcher&) = delete;

    // Appends the object's input target, if it has one.
    void Register(CGameObject* object);

    // Cursor positions are fractions of the client area, 0 at the left and top.
    void MouseMove(float x, float y);
    void ButtonDown(float x, float y);
    void ButtonUp(float x, float y);
    void KeyDown(uint32_t virtualKey);
    void KeyUp(uint32_t virtualKey);

    // The position given to the last MouseMove.
    float GetLastCursorX() const { return m_LastCursorX; }
    float GetLastCursorY() const { return m_LastCursorY; }

private:
    SInputEvent MakeEvent(float x, float y) const;
    // Offers the event to the targets in order until handler returns true.
    template <typename THandler>
    void Offer(THandler handler);

    CGameObject* (*m_CameraObject)();
    std::vector<CInputTargetLogic*> m_Targets;
    float m_LastCursorX = 0.0f;
    float m_LastCursorY = 0.0f;
};

extern CInputDispatcher* g_pInputDispatcher;
