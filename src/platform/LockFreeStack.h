// An intrusive lock-free LIFO of nodes, safe to push and pop from any number of threads.
// The head packs a 48-bit node address with a 16-bit change count into one 64-bit word, so
// push and pop are plain 64-bit compare-exchanges (lock-free on every target, no cmpxchg16b
// or libatomic); the count defeats ABA unless 65536 changes fall inside one pop.
// Nodes are owned by the caller and must stay allocated while any thread may pop (a pop
// reads the link of a node that another thread may have taken meanwhile).
#pragma once

#include <atomic>
#include <cstdint>

namespace platform
{
struct SLockFreeNode
{
    std::atomic<SLockFreeNode*> m_Next{nullptr};
};

class CLockFreeStack
{
public:
    CLockFreeStack() = default;
    CLockFreeStack(const CLockFreeStack&) = delete;
    CLockFreeStack& operator=(const CLockFreeStack&) = delete;

    void Push(SLockFreeNode* node);
    // The most recently pushed node, or null when the stack is empty.
    SLockFreeNode* Pop();
    bool IsEmpty() const;

private:
    std::atomic<uint64_t> m_Head{0};
};
}
