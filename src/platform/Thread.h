// A thread object: derive, implement Run, call Start. The object must outlive its thread;
// the destructor neither waits for nor stops the thread (it detaches one left running), so
// owners that need the thread finished call Join first.
#pragma once

#include <cstdint>
#include <thread>

class CThread
{
public:
    CThread() = default;
    virtual ~CThread();
    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;

    // Starts Run on a new thread; false when already started or the thread cannot be created.
    bool Start();
    // True from a successful Start until Join.
    virtual bool IsRunning() const;
    // Waits for the thread to end and returns Run's result (0 when there is no thread to
    // wait for or when called from the thread itself); the object may then be started again.
    uint32_t Join();

protected:
    // The thread body; its result is the thread's exit code.
    virtual uint32_t Run() = 0;

private:
    std::thread m_Thread;
    uint32_t m_ExitCode = 0;
};
