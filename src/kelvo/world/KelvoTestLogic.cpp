#include "kelvo/world/KelvoTestLogic.h"

bool CKelvoTestLogic::OnKeyDown(uint32_t virtualKey)
{
    m_LastKey = virtualKey;
    return true;
}
