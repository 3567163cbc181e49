// A stereo reverb after the well-known Schroeder-Moorer design: eight damped feedback
// comb filters in parallel and four all-pass filters in series per side, the right side
// slightly longer than the left for width. Mono in, stereo out.
#pragma once

#include <cstddef>
#include <vector>

class CReverb
{
public:
    CReverb(float room, float damping); // both 0..1
    void Process(const std::vector<float>& input, std::vector<float>& left, std::vector<float>& right);

private:
    struct SComb
    {
        std::vector<float> m_Line;
        size_t m_Index = 0;
        float m_Filtered = 0.0f;
    };
    struct SAllPass
    {
        std::vector<float> m_Line;
        size_t m_Index = 0;
    };

    float ProcessSide(float input, std::vector<SComb>& combs, std::vector<SAllPass>& allPasses);

    float m_Feedback;
    float m_Damping;
    std::vector<SComb> m_CombsLeft;
    std::vector<SComb> m_CombsRight;
    std::vector<SAllPass> m_AllPassesLeft;
    std::vector<SAllPass> m_AllPassesRight;
};
