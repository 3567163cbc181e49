#include "brovell/tracer/DynamicResolution.h"

#include <algorithm>
#include <cmath>

namespace
{
// Weight of the newest frame in the smoothed times.
constexpr double kSmoothing = 0.1;
// The model aims at this share of the target, so frames near it stay under it.
constexpr double kAim = 0.85;
// Wanted shares this close to the current one leave it as it is.
constexpr float kDeadBand = 0.03f;
// Largest change of the share per frame: down quickly when frames are late, up gently.
constexpr float kMaxStepDown = 0.04f;
constexpr float kMaxStepUp = 0.015f;
// More than this outside the trace is a pause (loading, other scenes), not the frame's work.
constexpr double kPauseMs = 1000.0;
// Frames this many times over the target are a slide show already: the share goes half the
// way to the wanted one at once instead of in small steps.
constexpr double kJumpFactor = 1.5;

void Smooth(double& smoothed, double sample)
{
    smoothed = smoothed < 0.0 ? sample : smoothed + kSmoothing * (sample - smoothed);
}
}

CDynamicResolution::CDynamicResolution(double targetMs)
    : m_TargetMs(targetMs)
{
}

void CDynamicResolution::Pin(float scale)
{
    m_Scale = std::clamp(std::isfinite(scale) ? scale : 1.0f, kMinScale, 1.0f);
    m_Pinned = true;
}

float CDynamicResolution::AddFrame(double frameMs, double traceMs)
{
    if (m_Pinned || !std::isfinite(frameMs) || !std::isfinite(traceMs) || traceMs < 0.0 || frameMs < 0.0)
        return m_Scale;
    // What the whole image would have cost, and what the frame spent besides tracing.
    const double area = static_cast<double>(m_Scale) * m_Scale;
    Smooth(m_FullTraceMs, traceMs / area);
    const double otherMs = std::max(frameMs - traceMs, 0.0);
    if (otherMs <= kPauseMs)
        Smooth(m_OtherMs, otherMs);

    const double budgetMs = m_TargetMs * kAim - std::max(m_OtherMs, 0.0);
    float wanted = 1.0f;
    if (m_FullTraceMs > 0.0)
        wanted = budgetMs <= 0.0 ? kMinScale
                                 : static_cast<float>(std::clamp(std::sqrt(budgetMs / m_FullTraceMs),
                                                                 static_cast<double>(kMinScale), 1.0));
    const float change = wanted - m_Scale;
    const bool atBound = wanted == 1.0f || wanted == kMinScale;
    if (std::fabs(change) < kDeadBand && !atBound)
        return m_Scale;
    const double expectedMs = std::max(m_OtherMs, 0.0) + m_FullTraceMs * area;
    const float step = change < 0.0f && expectedMs > kJumpFactor * m_TargetMs
                           ? std::max(std::min(change * 0.5f, -kMaxStepDown), change)
                           : std::clamp(change, -kMaxStepDown, kMaxStepUp);
    m_Scale = std::clamp(m_Scale + step, kMinScale, 1.0f);
    return m_Scale;
}
