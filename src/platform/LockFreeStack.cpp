#include "platform/LockFreeStack.h"

#include <cassert>

namespace platform
{
namespace
{
constexpr unsigned kAddressBits = 48;
constexpr uint64_t kAddressMask = (uint64_t{1} << kAddressBits) - 1;

static_assert(std::atomic<uint64_t>::is_always_lock_free);

SLockFreeNode* NodeOf(uint64_t head)
{
    return reinterpret_cast<SLockFreeNode*>(head & kAddressMask);
}

// The new head word: node's address with the change count of the old head advanced by one.
uint64_t NextHead(uint64_t oldHead, SLockFreeNode* node)
{
    const uint64_t address = reinterpret_cast<uintptr_t>(node);
    assert((address & ~kAddressMask) == 0 && "node address does not fit in 48 bits");
    const uint64_t count = (oldHead >> kAddressBits) + 1;
    return (count << kAddressBits) | address;
}
}

void CLockFreeStack::Push(SLockFreeNode* node)
{
    uint64_t head = m_Head.load(std::memory_order_relaxed);
    do
        node->m_Next.store(NodeOf(head), std::memory_order_relaxed);
    while (!m_Head.compare_exchange_weak(head, NextHead(head, node), std::memory_order_release,
                                         std::memory_order_relaxed));
}

SLockFreeNode* CLockFreeStack::Pop()
{
    uint64_t head = m_Head.load(std::memory_order_acquire);
    for (;;)
    {
        SLockFreeNode* node = NodeOf(head);
        if (!node)
            return nullptr;
        // The link may be stale if another thread took the node; the count makes the
        // exchange fail then.
        SLockFreeNode* next = node->m_Next.load(std::memory_order_relaxed);
        if (m_Head.compare_exchange_weak(head, NextHead(head, next), std::memory_order_acq_rel,
                                         std::memory_order_acquire))
            return node;
    }
}

bool CLockFreeStack::IsEmpty() const
{
    return NodeOf(m_Head.load(std::memory_order_acquire)) == nullptr;
}
}
