#include "kelvo/world/InputTargetLogic.h"

bool CInputTargetLogic::OnMouseMove(const SInputEvent& event)
{
    m_LastMouseMove = event;
    return false;
}

bool CInputTargetLogic::OnButtonUp(const SInputEvent&)
{
    return false;
}

bool CInputTargetLogic::OnButtonDown(const SInputEvent& event)
{
    m_LastButtonDown = event;
    return false;
}

bool CInputTargetLogic::OnKeyDown(uint32_t)
{
    return false;
}

bool CInputTargetLogic::OnKeyUp(uint32_t)
{
    return false;
}
