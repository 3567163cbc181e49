// Base of objects shared by reference count. A new object holds one reference; the release
// that brings the count to zero destroys the object. Counting is atomic, so AddRef and
// Release may come from any thread.
#pragma once

#include <atomic>
#include <cstdint>

class CRefCounter
{
public:
    CRefCounter() = default;
    CRefCounter(const CRefCounter&) = delete;
    CRefCounter& operator=(const CRefCounter&) = delete;

    // The new count.
    int32_t AddRef();
    // The new count; at 0 the object has destroyed itself and must not be touched again.
    int32_t Release();

protected:
    // Only Release destroys a counted object.
    virtual ~CRefCounter() = default;

private:
    std::atomic<int32_t> m_RefCount{1};
};
