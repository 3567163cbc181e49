#include "brovell/scenes/ParticleStreaks.h"

void CParticleStreaks::TakeHeads(const float* xs, const float* ys, int32_t count)
{
    m_Heads.resize(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        m_Heads[i] = {31.0f * (xs[i] - 0.5f), -1.0f - 15.0f * (ys[i] - 0.5f), 0.0f, 0.0f};
}

void CParticleStreaks::Build()
{
    if (m_PreviousHeads.size() != m_Heads.size())
        m_PreviousHeads = m_Heads;
    m_Points.resize(m_Heads.size() * kPointsPerStreak);
    SVector4* point = m_Points.data();
    for (size_t i = 0; i < m_Heads.size(); ++i)
    {
        const SVector4 head = m_Heads[i];
        SVector4 tail = m_PreviousHeads[i];
        const SVector4 jump = head - tail;
        if (jump.x * jump.x + jump.y * jump.y + jump.z * jump.z + jump.w * jump.w > kMaxStreakLengthSquared)
            tail = head;
        for (int k = 1; k <= kPointsPerStreak; ++k)
            *point++ = tail + (head - tail) * (static_cast<float>(k) / kPointsPerStreak);
    }
    m_PreviousHeads = m_Heads;
}
