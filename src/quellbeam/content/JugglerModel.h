// A juggling figure made of balls: an 18-point skeleton one unit tall (y up), a periodic pose
// and the conversion of the posed skeleton into 88 spheres in a fixed order (eyes, arms, torso,
// legs, head, chin, the three juggled balls), which the tracer's material table relies on.
#pragma once

#include "quellbeam/kernel/Vec.h"

#include <vector>

namespace quellbeam
{
class CJugglerModel
{
public:
    static constexpr int kPoints = 18;
    static constexpr uint32_t kSpheres = 88;

    CJugglerModel();

    // Poses the skeleton at phase p in [0, 1) and rebuilds the sphere list from it.
    void Pose(float phase);

    const SVec3* GetPosedPoints() const { return m_Posed; }
    // Centre and radius of each sphere of the last pose, in model units.
    const std::vector<SVec4>& GetSpheres() const { return m_Spheres; }

private:
    void MovePoints(float phase);
    void BuildSpheres();
    void AddChain(int a, int b, float radiusA, float radiusB, int count, double margin);
    void AddSphere(SVec3 centre, float radius);

    SVec3 m_Rest[kPoints];
    SVec3 m_Posed[kPoints];
    std::vector<SVec4> m_Spheres;
};
}
