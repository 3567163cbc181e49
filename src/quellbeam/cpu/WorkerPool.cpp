#include "quellbeam/cpu/WorkerPool.h"

namespace quellbeam
{
CWorkerPool::CWorkerPool(uint32_t threadCount)
{
    if (threadCount == 0)
        threadCount = 1;
    m_Threads.reserve(threadCount);
    for (uint32_t worker = 0; worker < threadCount; ++worker)
        m_Threads.emplace_back([this, worker] { WorkerLoop(worker); });
}

CWorkerPool::~CWorkerPool()
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Stopping = true;
    }
    m_Wake.notify_all();
    for (std::thread& thread : m_Threads)
        thread.join();
}

void CWorkerPool::Run(Job job, void* context)
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    m_Job = job;
    m_Context = context;
    m_Busy = GetThreadCount();
    ++m_Generation;
    m_Wake.notify_all();
    m_Done.wait(lock, [this] { return m_Busy == 0; });
}

void CWorkerPool::WorkerLoop(uint32_t worker)
{
    uint64_t seen = 0;
    std::unique_lock<std::mutex> lock(m_Mutex);
    for (;;)
    {
        m_Wake.wait(lock, [&] { return m_Stopping || m_Generation != seen; });
        if (m_Stopping)
            return;
        seen = m_Generation;
        const Job job = m_Job;
        void* context = m_Context;
        lock.unlock();
        job(context, worker);
        lock.lock();
        if (--m_Busy == 0)
            m_Done.notify_one();
    }
}
}
