// Chooses how much of the traced image to trace so that frames keep to a target time. The
// traced part is a share of each axis (both axes alike), from a quarter to all of it. Each
// frame adds its measured times: the whole frame, and the part of it spent tracing at the
// share then in use. The controller models a frame as a fixed part plus a trace that costs
// in proportion to the pixels traced, smooths both over recent frames, and aims a little
// under the target so that small changes do not make it move. The share moves in small
// steps (faster down than up) and not at all within a dead band, so the picture does not
// visibly pump; only frames far over the target make it jump. No clock of its own: the
// same times always give the same shares.
#pragma once

class CDynamicResolution
{
public:
    static constexpr float kMinScale = 0.25f;
    static constexpr double kDefaultTargetMs = 1000.0 / 30.0;

    explicit CDynamicResolution(double targetMs = kDefaultTargetMs);

    // Adds one frame: frameMs from the start of the previous frame to the start of this one,
    // traceMs the tracing within it. Returns the share to trace the next frame with.
    float AddFrame(double frameMs, double traceMs);
    // Fixes the share (clamped to a quarter..1) whatever the times; Unpin lets it move again.
    void Pin(float scale);
    void Unpin() { m_Pinned = false; }
    bool IsPinned() const { return m_Pinned; }
    float GetScale() const { return m_Scale; }
    double GetTargetMs() const { return m_TargetMs; }

private:
    double m_TargetMs;
    float m_Scale = 1.0f;
    bool m_Pinned = false;
    // Smoothed trace time of the whole image and time of the rest of the frame; negative
    // until the first frame.
    double m_FullTraceMs = -1.0;
    double m_OtherMs = -1.0;
};
