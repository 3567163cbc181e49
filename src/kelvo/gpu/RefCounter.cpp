#include "kelvo/gpu/RefCounter.h"

int32_t CRefCounter::AddRef()
{
    return m_RefCount.fetch_add(1, std::memory_order_relaxed) + 1;
}

int32_t CRefCounter::Release()
{
    // Acquire-release so that the destroying thread sees every other holder's writes.
    const int32_t count = m_RefCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (count == 0)
        delete this;
    return count;
}
