// A counting semaphore with a maximum: a release that would lift the count above the
// maximum is lost (the count stays at the maximum), as the task system relies on.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace platform
{
class CSemaphore
{
public:
    CSemaphore(int32_t initialCount, int32_t maximumCount);
    CSemaphore(const CSemaphore&) = delete;
    CSemaphore& operator=(const CSemaphore&) = delete;

    // Adds count; returns false (and adds nothing) when that would pass the maximum.
    bool Release(int32_t count = 1);
    void Wait();
    int32_t GetCount() const;

private:
    mutable std::mutex m_Mutex;
    std::condition_variable m_Signal;
    int32_t m_Count;
    const int32_t m_Maximum;
};
}
