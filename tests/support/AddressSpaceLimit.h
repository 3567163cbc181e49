// Death-test helper: shrinks the address space so that no new thread can be created.
#pragma once

#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

// Limits the address space to what the process uses now plus a little, so that no new
// thread stack can be mapped.
inline void LeaveNoRoomForThreadStacks()
{
    long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r"))
    {
        if (std::fscanf(statm, "%ld", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    const rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (1 << 20);
    const rlimit addressSpace{limit, limit};
    setrlimit(RLIMIT_AS, &addressSpace);
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
