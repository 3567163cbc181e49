#include "music/Reverb.h"

#include <array>

namespace
{
// Delay lengths in samples at 44100 Hz, mutually prime-ish so the echoes do not line up.
constexpr std::array<size_t, 8> kCombLengths = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr std::array<size_t, 4> kAllPassLengths = {556, 441, 341, 225};
constexpr size_t kRightSpread = 23;
constexpr float kInputGain = 0.015f;
}

CReverb::CReverb(float room, float damping)
    : m_Feedback(0.7f + 0.28f * room)
    , m_Damping(0.4f * damping)
{
    for (size_t length : kCombLengths)
    {
        m_CombsLeft.push_back({std::vector<float>(length)});
        m_CombsRight.push_back({std::vector<float>(length + kRightSpread)});
    }
    for (size_t length : kAllPassLengths)
    {
        m_AllPassesLeft.push_back({std::vector<float>(length)});
        m_AllPassesRight.push_back({std::vector<float>(length + kRightSpread)});
    }
}

float CReverb::ProcessSide(float input, std::vector<SComb>& combs, std::vector<SAllPass>& allPasses)
{
    float output = 0.0f;
    for (SComb& comb : combs)
    {
        const float delayed = comb.m_Line[comb.m_Index];
        comb.m_Filtered = delayed * (1.0f - m_Damping) + comb.m_Filtered * m_Damping;
        comb.m_Line[comb.m_Index] = input + comb.m_Filtered * m_Feedback;
        if (++comb.m_Index == comb.m_Line.size())
            comb.m_Index = 0;
        output += delayed;
    }
    for (SAllPass& allPass : allPasses)
    {
        const float delayed = allPass.m_Line[allPass.m_Index];
        allPass.m_Line[allPass.m_Index] = output + delayed * 0.5f;
        if (++allPass.m_Index == allPass.m_Line.size())
            allPass.m_Index = 0;
        output = delayed - output;
    }
    return output;
}

void CReverb::Process(const std::vector<float>& input, std::vector<float>& left, std::vector<float>& right)
{
    left.resize(input.size());
    right.resize(input.size());
    for (size_t i = 0; i < input.size(); ++i)
    {
        const float scaled = input[i] * kInputGain;
        left[i] = ProcessSide(scaled, m_CombsLeft, m_AllPassesLeft);
        right[i] = ProcessSide(scaled, m_CombsRight, m_AllPassesRight);
    }
}
