#include "kelvo/core/Rtti.h"

#include <atomic>

namespace
{
std::atomic<uint32_t> g_ProcessIdCounter{0};
}

uint32_t NextProcessId()
{
    return g_ProcessIdCounter.fetch_add(1, std::memory_order_relaxed) + 1;
}

uint32_t CRttiObject::StaticTypeId()
{
    static const uint32_t s_TypeId = NextProcessId();
    return s_TypeId;
}
