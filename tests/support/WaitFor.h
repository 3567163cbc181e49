// Polling for tests that wait on another thread or a device: gives up after ten seconds,
// which is generous, as sanitizers and a busy machine start things late.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

// Polls every 5 ms until done() holds (true) or ten seconds pass (false).
inline bool WaitFor(const std::function<bool()>& done)
{
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done())
    {
        if (std::chrono::steady_clock::now() > giveUp)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
