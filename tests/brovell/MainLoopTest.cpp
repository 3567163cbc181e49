#include "brovell/FrameRateMeter.h"
#include "brovell/MainLoop.h"

#include <deque>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using platform::SWindowMessage;

namespace
{
// Scripted messages per pass; records what the loop did, in order.
class CScriptedHost final : public IMainLoopHost
{
public:
    bool PeekMessage(SWindowMessage& message) override
    {
        if (m_Pass >= m_Script.size() || m_Script[m_Pass].empty())
            return false;
        message = m_Script[m_Pass].front();
        m_Script[m_Pass].pop_front();
        return true;
    }
    void DispatchMessage(const SWindowMessage& message) override
    {
        m_Events.push_back("dispatch " + std::to_string(message.message));
        if (message.message == platform::WM_CLOSE)
            m_QuitRequested = true;
    }
    bool IsQuitRequested() const override { return m_QuitRequested; }
    void Frame() override
    {
        m_Events.push_back("frame");
        ++m_Pass;
    }
    void ShowFrameRate(const char* text) override { m_FrameRateTexts.push_back(text); }
    void Sleep(uint32_t milliseconds) override
    {
        m_Events.push_back("sleep " + std::to_string(milliseconds));
        ++m_Pass;
    }

    std::vector<std::deque<SWindowMessage>> m_Script;
    size_t m_Pass = 0;
    bool m_QuitRequested = false;
    std::vector<std::string> m_Events;
    std::vector<std::string> m_FrameRateTexts;
};
}

TEST(MainLoop, FirstSixPassesOnlySleepThenFramesRunUntilClose)
{
    CScriptedHost host;
    host.m_Script.resize(9);
    host.m_Script[8].push_back({platform::WM_CLOSE, 0, 0});
    EXPECT_EQ(RunMainLoop(host), 0);

    std::vector<std::string> expected(6, "sleep 10");
    expected.insert(expected.end(), {"frame", "frame", "dispatch 16", "frame"});
    // The close request is seen at the start of the next pass, after that pass's frame.
    EXPECT_EQ(host.m_Events, expected);
    ASSERT_EQ(host.m_FrameRateTexts.size(), 3u);
    EXPECT_EQ(host.m_FrameRateTexts[0].rfind("fps: ", 0), 0u);
}

TEST(MainLoop, QuitTakenMidPassEndsTheLoopBeforeThatPassRunsItsFrame)
{
    CScriptedHost host;
    host.m_Script.resize(8);
    host.m_Script[7] = {{platform::WM_KEYDOWN, 'A', 0}, {platform::WM_QUIT, 3, 0}};
    EXPECT_EQ(RunMainLoop(host), 3);
    ASSERT_GE(host.m_Events.size(), 2u);
    EXPECT_EQ(host.m_Events.back(), "dispatch 256");
    EXPECT_EQ(host.m_Events[host.m_Events.size() - 2], "frame");

    // A quit followed by further messages in the same pass is not the last one taken.
    CScriptedHost later;
    later.m_Script.resize(8);
    later.m_Script[7] = {{platform::WM_QUIT, 3, 0}, {platform::WM_CLOSE, 0, 0}};
    EXPECT_EQ(RunMainLoop(later), 0);
    EXPECT_EQ(later.m_Events.back(), "frame");
}

TEST(FrameRateMeter, StartsAt60AndMovesAQuarterOfTheWay)
{
    CFrameRateMeter meter;
    EXPECT_DOUBLE_EQ(meter.GetRate(), 60.0);
    EXPECT_DOUBLE_EQ(meter.AddPass(10.0), 0.75 * 60.0 + 0.25 * 100.0);
    EXPECT_DOUBLE_EQ(meter.AddPass(10.0), 0.75 * 70.0 + 0.25 * 100.0);
    // A pass too short to measure leaves the rate as it was instead of making it infinite.
    EXPECT_DOUBLE_EQ(meter.AddPass(0.0), 77.5);
}
