#include "platform/Thread.h"

#include <system_error>

CThread::~CThread()
{
    if (m_Thread.joinable())
        m_Thread.detach();
}

bool CThread::Start()
{
    if (IsRunning())
        return false;
    try
    {
        m_Thread = std::thread([this] { m_ExitCode = Run(); });
    }
    catch (const std::system_error&)
    {
        return false;
    }
    return true;
}

bool CThread::IsRunning() const
{
    return m_Thread.joinable();
}

uint32_t CThread::Join()
{
    if (!m_Thread.joinable() || m_Thread.get_id() == std::this_thread::get_id())
        return 0;
    m_Thread.join();
    return m_ExitCode;
}
