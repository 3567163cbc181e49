#include "music/PingPongDelay.h"

#include "music/Dsp.h"

#include <algorithm>

CPingPongDelay::CPingPongDelay(double delaySeconds, float feedback)
    : m_DelaySamples(static_cast<size_t>(std::max<int64_t>(1, SecondsToSamples(delaySeconds))))
    , m_Feedback(feedback)
{
}

void CPingPongDelay::Process(const std::vector<float>& input, std::vector<float>& left,
                             std::vector<float>& right)
{
    left.assign(input.size(), 0.0f);
    right.assign(input.size(), 0.0f);
    std::vector<float> lineLeft(m_DelaySamples);
    std::vector<float> lineRight(m_DelaySamples);
    float toneLeft = 0.0f;
    float toneRight = 0.0f;
    size_t index = 0;
    for (size_t i = 0; i < input.size(); ++i)
    {
        const float outLeft = lineLeft[index];
        const float outRight = lineRight[index];
        // A one-pole low-pass in the loop darkens every repeat.
        toneLeft += 0.35f * (outRight - toneLeft);
        toneRight += 0.35f * (outLeft - toneRight);
        lineLeft[index] = input[i] + toneLeft * m_Feedback;
        lineRight[index] = toneRight * m_Feedback;
        left[i] = outLeft;
        right[i] = outRight;
        if (++index == m_DelaySamples)
            index = 0;
    }
}
