#include "platform/LockFreeStack.h"

#include <barrier>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace
{
struct SCountedNode : platform::SLockFreeNode
{
    int m_Index = 0;
    int m_Holds = 0; // written only by the thread that popped the node
};
}

TEST(CLockFreeStack, PopsInReverseOrderOfPushAndReportsEmpty)
{
    platform::CLockFreeStack stack;
    EXPECT_TRUE(stack.IsEmpty());
    EXPECT_EQ(stack.Pop(), nullptr);

    SCountedNode nodes[3];
    for (auto& node : nodes)
        stack.Push(&node);
    EXPECT_FALSE(stack.IsEmpty());
    EXPECT_EQ(stack.Pop(), &nodes[2]);
    EXPECT_EQ(stack.Pop(), &nodes[1]);
    stack.Push(&nodes[2]);
    EXPECT_EQ(stack.Pop(), &nodes[2]);
    EXPECT_EQ(stack.Pop(), &nodes[0]);
    EXPECT_EQ(stack.Pop(), nullptr);
    EXPECT_TRUE(stack.IsEmpty());
}

// Few nodes cycled by many threads: the same nodes come back to the head again and again,
// the situation in which an unguarded head would hand one node out twice or lose one.
TEST(CLockFreeStack, ContendedPopAndPushKeepsEveryNodeExactlyOnce)
{
    constexpr int kThreads = 4;
    constexpr int kNodes = 6;
    constexpr int kRounds = 50000;
    platform::CLockFreeStack stack;
    std::vector<SCountedNode> nodes(kNodes);
    for (int i = 0; i < kNodes; ++i)
    {
        nodes[static_cast<std::size_t>(i)].m_Index = i;
        stack.Push(&nodes[static_cast<std::size_t>(i)]);
    }

    std::barrier start(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            start.arrive_and_wait();
            std::vector<SCountedNode*> held;
            for (int round = 0; round < kRounds; ++round)
            {
                // Hold one to three nodes at a time, then give them back.
                const int wanted = 1 + (round + t) % 3;
                for (int i = 0; i < wanted; ++i)
                    if (auto* node = static_cast<SCountedNode*>(stack.Pop()))
                    {
                        ++node->m_Holds;
                        held.push_back(node);
                    }
                for (SCountedNode* node : held)
                    stack.Push(node);
                held.clear();
            }
        });
    for (auto& thread : threads)
        thread.join();

    std::vector<int> counts(kNodes, 0);
    while (platform::SLockFreeNode* node = stack.Pop())
        ++counts[static_cast<std::size_t>(static_cast<SCountedNode*>(node)->m_Index)];
    EXPECT_EQ(counts, std::vector<int>(kNodes, 1));
    int holds = 0;
    for (const auto& node : nodes)
        holds += node.m_Holds;
    EXPECT_GT(holds, 0);
}
