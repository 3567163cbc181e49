// The lock of both deliverables: re-entrant for the thread that holds it. Classes that
// lock themselves derive from CSection; all locking goes through the scoped CSectionLock.
// Header-only.
#pragma once

#include <mutex>

class CSection
{
public:
    CSection() = default;
    CSection(const CSection&) = delete;
    CSection& operator=(const CSection&) = delete;

    void Enter() { m_Mutex.lock(); }
    void Leave() { m_Mutex.unlock(); }

private:
    std::recursive_mutex m_Mutex;
};

class CSectionLock
{
public:
    explicit CSectionLock(CSection* section)
        : m_Section(section)
    {
        m_Section->Enter();
    }
    ~CSectionLock() { m_Section->Leave(); }
    CSectionLock(const CSectionLock&) = delete;
    CSectionLock& operator=(const CSectionLock&) = delete;

private:
    CSection* m_Section;
};
