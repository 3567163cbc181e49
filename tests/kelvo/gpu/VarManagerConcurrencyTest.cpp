#include "kelvo/gpu/VarManager.h"

#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

TEST(CVarManagerConcurrency, EachNameIsCreatedOnceAcrossThreads)
{
    constexpr int kThreads = 8;
    constexpr int kNames = 200;
    std::vector<std::string> names;
    for (int i = 0; i < kNames; ++i)
        names.push_back("test_threaded_" + std::to_string(i));

    // Every thread asks for every name, each starting at a different place in the list.
    std::vector<std::vector<CVar*>> seen(kThreads, std::vector<CVar*>(kNames));
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int k = 0; k < kNames; ++k)
            {
                const int i = (k + t * kNames / kThreads) % kNames;
                seen[t][i] = GetVariable(names[i], 16);
            }
        });
    for (std::thread& thread : threads)
        thread.join();

    for (int i = 0; i < kNames; ++i)
    {
        CVar* expected = GetVariable(names[i], 16);
        EXPECT_EQ(expected->GetSize(), 16u);
        for (int t = 0; t < kThreads; ++t)
            ASSERT_EQ(seen[t][i], expected) << "name " << names[i] << ", thread " << t;
    }
}
