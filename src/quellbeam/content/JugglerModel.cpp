#include "quellbeam/content/JugglerModel.h"

#include <cmath>

namespace quellbeam
{
namespace
{
constexpr float kPi = 3.14159265358979f;

constexpr SVec3 kRestSkeleton[CJugglerModel::kPoints] = {
    {0.0f, 1.0f, -0.034f},    // head
    {-0.13f, 0.875f, -0.03f}, // shoulder
    {0.0f, 0.875f, -0.03f},   // neck
    {0.13f, 0.875f, -0.03f},  // shoulder
    {-0.23f, 0.65f, 0.07f},   // elbow
    {0.23f, 0.65f, 0.07f},    // elbow
    {-0.23f, 0.52f, -0.23f},  // hand
    {0.23f, 0.52f, -0.23f},   // hand
    {-0.0845f, 0.55f, 0.0f},  // hip
    {0.0f, 0.55f, 0.0f},      // pelvis
    {0.0845f, 0.55f, 0.0f},   // hip
    {-0.13f, 0.26f, -0.07f},  // knee
    {0.13f, 0.26f, -0.07f},   // knee
    {-0.13f, 0.0f, 0.0f},     // foot
    {0.13f, 0.0f, 0.0f},      // foot
    {0.23f, 0.52f, -0.27f},   // ball 1
    {-0.23f, 0.52f, -0.27f},  // ball 2
    {0.23f, 0.52f, -0.27f},   // ball 3
};
}

CJugglerModel::CJugglerModel()
{
    for (int i = 0; i < kPoints; ++i)
        m_Rest[i] = m_Posed[i] = kRestSkeleton[i];
    m_Spheres.reserve(kSpheres);
}

void CJugglerModel::Pose(float phase)
{
    MovePoints(phase);
    BuildSpheres();
}

void CJugglerModel::MovePoints(float phase)
{
    const float a = 2.0f * kPi * phase;
    for (int i = 0; i < kPoints; ++i)
        m_Posed[i] = m_Rest[i];

    // Head, shoulders and neck bob; elbows circle.
    m_Posed[0].y += 0.015f * std::sin(a + kPi / 4);
    m_Posed[0].z += 0.03f * std::sin(a);
    for (int i = 1; i <= 3; ++i)
    {
        m_Posed[i].y += 0.0125f * std::sin(a + kPi / 4);
        m_Posed[i].z += 0.02f * std::sin(a);
    }
    for (int i = 4; i <= 5; ++i)
    {
        m_Posed[i].y += 0.01f * std::cos(a + kPi);
        m_Posed[i].z += 0.01f * std::sin(a + kPi);
    }
    // Hands throw and catch; the right one also swings sideways.
    for (int i = 6; i <= 7; ++i)
    {
        m_Posed[i].y += 0.04f * std::sin(a + kPi / 16) - 0.03f;
        m_Posed[i].z += 0.02f * std::sin(a + kPi);
    }
    m_Posed[7].x += 0.03f * std::sin(a + kPi);
    // Hips and knees sway; feet stay.
    for (int i = 8; i <= 10; ++i)
    {
        m_Posed[i].y += 0.02f * std::sin(a);
        m_Posed[i].z += 0.01f * std::sin(a);
    }
    for (int i = 11; i <= 12; ++i)
    {
        m_Posed[i].y += 0.0025f * std::sin(a + kPi / 4);
        m_Posed[i].z += 0.035f * std::sin(a);
    }
    // The three balls cross between the hands and the centre on their arcs.
    m_Posed[15].x = m_Rest[15].x * (1.0f - 2.0f * phase);
    m_Posed[15].y = m_Rest[15].y + 0.1f + 0.25f * std::sin(a / 2);
    m_Posed[16].x = m_Rest[16].x * (1.0f - phase);
    m_Posed[16].y = m_Rest[16].y + 0.1f + 0.7f * std::sin(a / 4);
    m_Posed[17].x = m_Rest[17].x * phase;
    m_Posed[17].y = m_Rest[17].y + 0.1f + 0.7f * std::sin(a / 4 + kPi / 2);
}

void CJugglerModel::BuildSpheres()
{
    const SVec3* p = m_Posed;
    m_Spheres.clear();
    // Eyes.
    AddSphere(p[0] + Vec3(0.045f, 0.015f, -0.09f), 0.02f);
    AddSphere(p[0] + Vec3(-0.045f, 0.015f, -0.09f), 0.02f);
    // Forearms, upper arms, torso, thighs, lower legs.
    AddChain(4, 6, 0.035f, 0.017f, 11, 0.06);
    AddChain(5, 7, 0.035f, 0.017f, 11, 0.06);
    AddChain(1, 4, 0.035f, 0.035f, 8, 0.0);
    AddChain(3, 5, 0.035f, 0.035f, 8, 0.0);
    AddChain(2, 9, 0.16f, 0.11f, 7, 0.15);
    AddChain(8, 11, 0.035f, 0.035f, 8, 0.06);
    AddChain(10, 12, 0.035f, 0.035f, 8, 0.06);
    AddChain(11, 13, 0.035f, 0.017f, 11, 0.0);
    AddChain(12, 14, 0.035f, 0.017f, 11, 0.0);
    // Head and chin.
    AddSphere(p[0] + Vec3(0.0f, 0.02f, 0.0f), 0.09f);
    AddSphere(p[0] + Vec3(0.0f, -0.08f, 0.0f), 0.04f);
    // The juggled balls.
    for (int i = 15; i <= 17; ++i)
        AddSphere(p[i], 0.11f);
}

// Spheres from B towards A. The parameter is kept in a 32-bit float while the step and the
// bound are double: the last rounding decides whether the final sphere is made (a lower leg
// gets 12 spheres this way, 11 if computed in double).
void CJugglerModel::AddChain(int a, int b, float radiusA, float radiusB, int count, double margin)
{
    const double bound = 1.0 - margin;
    if (bound <= margin)
        return;
    const double step = 1.0 / count;
    const SVec3 from = m_Posed[b];
    const SVec3 to = m_Posed[a];
    for (float t = static_cast<float>(margin); t < bound; t = static_cast<float>(t + step))
        AddSphere(from * (1.0f - t) + to * t, radiusA * t + radiusB * (1.0f - t));
}

void CJugglerModel::AddSphere(SVec3 centre, float radius)
{
    m_Spheres.push_back(SVec4{centre.x, centre.y, centre.z, radius});
}
}
