// The CPU backend's own threads, one per hardware thread. Run hands every worker the same job
// and returns when all of them have finished it; the workers sleep between jobs. Run is called
// from one thread at a time (the render thread).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace quellbeam
{
class CWorkerPool
{
public:
    using Job = void (*)(void* context, uint32_t worker);

    explicit CWorkerPool(uint32_t threadCount);
    ~CWorkerPool();
    CWorkerPool(const CWorkerPool&) = delete;
    CWorkerPool& operator=(const CWorkerPool&) = delete;

    uint32_t GetThreadCount() const { return static_cast<uint32_t>(m_Threads.size()); }
    void Run(Job job, void* context);

private:
    void WorkerLoop(uint32_t worker);

    std::mutex m_Mutex;
    std::condition_variable m_Wake;
    std::condition_variable m_Done;
    Job m_Job = nullptr;
    void* m_Context = nullptr;
    uint64_t m_Generation = 0;
    uint32_t m_Busy = 0;
    bool m_Stopping = false;
    std::vector<std::thread> m_Threads;
};
}
