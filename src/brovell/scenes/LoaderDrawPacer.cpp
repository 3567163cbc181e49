#include "brovell/scenes/LoaderDrawPacer.h"

#include <algorithm>

bool CLoaderDrawPacer::IsDrawDue(double nowMs)
{
    if (m_HasDrawn && nowMs - m_LastDrawMs <= kIntervalMs)
        return false;
    m_HasDrawn = true;
    m_LastDrawMs = nowMs;
    return true;
}

float LoaderBarWidth(float progress)
{
    const float innerWidth = 0.8f - 0.02f;
    return (innerWidth - 0.02f) * std::min(progress, 1.0f);
}
