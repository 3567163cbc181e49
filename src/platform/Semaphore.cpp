#include "platform/Semaphore.h"

namespace platform
{
CSemaphore::CSemaphore(int32_t initialCount, int32_t maximumCount)
    : m_Count(initialCount)
    , m_Maximum(maximumCount)
{
}

bool CSemaphore::Release(int32_t count)
{
    // Notifying under the lock: a waiter that wakes may destroy the semaphore at once.
    std::lock_guard lock(m_Mutex);
    if (count <= 0 || m_Count > m_Maximum - count)
        return false;
    m_Count += count;
    if (count == 1)
        m_Signal.notify_one();
    else
        m_Signal.notify_all();
    return true;
}

void CSemaphore::Wait()
{
    std::unique_lock lock(m_Mutex);
    m_Signal.wait(lock, [this] { return m_Count > 0; });
    --m_Count;
}

int32_t CSemaphore::GetCount() const
{
    std::lock_guard lock(m_Mutex);
    return m_Count;
}
}
