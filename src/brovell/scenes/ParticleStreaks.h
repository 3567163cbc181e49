// The car scene's streaks: each particle is drawn as 12 points on the line from where its
// head was in the previous frame to where it is now. A head that jumped further than
// sqrt(10) (a respawned particle) is drawn as one point; the first frame draws every
// particle as a point. Main thread only.
#pragma once

#include "kelvo/core/Math.h"

#include <cstdint>
#include <vector>

class CParticleStreaks
{
public:
    static constexpr int kPointsPerStreak = 12;
    static constexpr float kMaxStreakLengthSquared = 10.0f;

    // The heads of count particles at (x, y) of the tunnel, in the particle object's plane.
    void TakeHeads(const float* xs, const float* ys, int32_t count);
    // The streaks from the previous heads to the current ones, which become the previous.
    void Build();

    const std::vector<SVector4>& GetPoints() const { return m_Points; }

private:
    std::vector<SVector4> m_Heads;
    std::vector<SVector4> m_PreviousHeads;
    std::vector<SVector4> m_Points;
};
