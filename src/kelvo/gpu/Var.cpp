#include "kelvo/gpu/Var.h"

void CVar::Reset(uint32_t size)
{
    m_Bytes.clear();
    m_Bytes.resize(size, 0);
}

void CVar::SetBytes(const void* source, std::size_t size)
{
    Resize(static_cast<uint32_t>(size));
    std::memcpy(m_Bytes.data(), source, size);
}

bool CVar::GetBytes(void* destination, std::size_t size) const
{
    if (m_Bytes.size() != size)
        return false;
    std::memcpy(destination, m_Bytes.data(), size);
    return true;
}
