// A component that receives the window's input through the input dispatcher. Each handler
// returns true when it consumes the event, which then goes to no further target. The base
// keeps the last mouse-move and button-down events and consumes nothing.
#pragma once

#include <cstdint>

#include "kelvo/core/ObjectLogicBase.h"
#include "kelvo/world/InputEvent.h"

class CInputTargetLogic : public CObjectLogicBase
{
    KELVO_RTTI(CInputTargetLogic, CObjectLogicBase)

public:
    virtual bool OnMouseMove(const SInputEvent& event);
    virtual bool OnButtonUp(const SInputEvent& event);
    virtual bool OnButtonDown(const SInputEvent& event);
    virtual bool OnKeyDown(uint32_t virtualKey);
    virtual bool OnKeyUp(uint32_t virtualKey);

    const SInputEvent& GetLastMouseMove() const { return m_LastMouseMove; }
    const SInputEvent& GetLastButtonDown() const { return m_LastButtonDown; }

private:
    SInputEvent m_LastMouseMove;
    SInputEvent m_LastButtonDown;
};
