// Spaces the loader's frames: drawing is due on the first call and then whenever more than
// 20 ms have passed since the last drawing, so loading is not slowed by presenting.
#pragma once

class CLoaderDrawPacer
{
public:
    static constexpr double kIntervalMs = 20.0;

    // True when a frame is due at nowMs; remembers nowMs as the last drawing then.
    bool IsDrawDue(double nowMs);

private:
    bool m_HasDrawn = false;
    double m_LastDrawMs = 0.0;
};

// The loading bar's width for a progress (clamped to 1): the inner background's width less
// its margins.
float LoaderBarWidth(float progress);
