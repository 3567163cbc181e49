// An input target for trying the input route by hand: it consumes every key press, keeping
// the last key, and counts its own updates. Nothing in the program creates it.
#pragma once

#include <cstdint>

#include "kelvo/world/InputTargetLogic.h"

class CKelvoTestLogic : public CInputTargetLogic
{
    KELVO_RTTI(CKelvoTestLogic, CInputTargetLogic)

public:
    void Update() override { ++m_UpdateCount; }
    bool OnKeyDown(uint32_t virtualKey) override;

    uint32_t GetLastKey() const { return m_LastKey; }
    uint32_t GetUpdateCount() const { return m_UpdateCount; }

private:
    uint32_t m_LastKey = 0;
    uint32_t m_UpdateCount = 0;
};
