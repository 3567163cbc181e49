// A stereo echo that bounces between the sides: mono in, each repeat on the other side,
// quieter and darker than the one before.
#pragma once

#include <cstddef>
#include <vector>

class CPingPongDelay
{
public:
    CPingPongDelay(double delaySeconds, float feedback);
    void Process(const std::vector<float>& input, std::vector<float>& left, std::vector<float>& right);

private:
    size_t m_DelaySamples;
    float m_Feedback;
};
