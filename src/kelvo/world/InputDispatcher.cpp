#include "kelvo/world/InputDispatcher.h"

#include "kelvo/core/GameObject.h"
#include "kelvo/world/CameraLogic.h"
#include "kelvo/world/InputTargetLogic.h"

CInputDispatcher* g_pInputDispatcher = nullptr;

CInputDispatcher::CInputDispatcher(CGameObject* (*cameraObject)())
    : m_CameraObject(cameraObject)
{
    g_pInputDispatcher = this;
}

CInputDispatcher::~CInputDispatcher()
{
    if (g_pInputDispatcher == this)
        g_pInputDispatcher = nullptr;
}

void CInputDispatcher::Register(CGameObject* object)
{
    if (auto* target = static_cast<CInputTargetLogic*>(FindLogic(object, CInputTargetLogic::StaticTypeId())))
        m_Targets.push_back(target);
}

void CInputDispatcher::MouseMove(float x, float y)
{
    m_LastCursorX = x;
    m_LastCursorY = y;
    const SInputEvent event = MakeEvent(x, y);
    Offer([&](CInputTargetLogic* target) { return target->OnMouseMove(event); });
}

void CInputDispatcher::ButtonDown(float x, float y)
{
    const SInputEvent event = MakeEvent(x, y);
    Offer([&](CInputTargetLogic* target) { return target->OnButtonDown(event); });
}

void CInputDispatcher::ButtonUp(float x, float y)
{
    const SInputEvent event = MakeEvent(x, y);
    Offer([&](CInputTargetLogic* target) { return target->OnButtonUp(event); });
}

void CInputDispatcher::KeyDown(uint32_t virtualKey)
{
    Offer([&](CInputTargetLogic* target) { return target->OnKeyDown(virtualKey); });
}

void CInputDispatcher::KeyUp(uint32_t virtualKey)
{
    Offer([&](CInputTargetLogic* target) { return target->OnKeyUp(virtualKey); });
}

SInputEvent CInputDispatcher::MakeEvent(float x, float y) const
{
    SInputEvent event;
    event.cursorX = x;
    event.cursorY = y;
    CGameObject* camera = m_CameraObject ? m_CameraObject() : nullptr;
    if (auto* logic = static_cast<CCameraLogic*>(FindLogic(camera, CCameraLogic::StaticTypeId())))
        logic->GetCursorRay(x, y, event);
    return event;
}

template <typename THandler>
void CInputDispatcher::Offer(THandler handler)
{
    for (CInputTargetLogic* target : m_Targets)
        if (handler(target))
            return;
}
