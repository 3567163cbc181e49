#include "quellbeam/host/JugglerField.h"

#include <cmath>

namespace quellbeam
{
namespace
{
constexpr float kTwoPi = 6.28318530717959f;
constexpr float kFieldHalf = 100.0f;
constexpr float kFieldSpacing = 25.0f;
constexpr float kFieldJitter = 3.0f;
// Model units to world units; x and z are mirrored so the figures face the camera.
constexpr float kScaleX = -24.0f;
constexpr float kScaleY = 22.0f;
constexpr float kScaleZ = -22.0f;
constexpr float kScaleRadius = 22.0f;

void SetIdentity(float* m)
{
    for (int i = 0; i < 16; ++i)
        m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

SVec3 TransformPoint(const float* m, SVec3 p)
{
    return Vec3(p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12], p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
                p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]);
}

SMaterial MakeMaterial(float r, float g, float b, float exponent, float reflectance, float diffuse)
{
    return SMaterial{{r, g, b}, exponent, reflectance, diffuse, 0.0f, 0.0f};
}
}

SJugglerInstance MakeSingleJuggler()
{
    SJugglerInstance instance = {};
    instance.speed = 1.0f;
    SetIdentity(instance.transform);
    return instance;
}

std::vector<SJugglerInstance> MakeJugglerField(CRandom15& random)
{
    std::vector<SJugglerInstance> instances;
    for (float x = -kFieldHalf; x <= kFieldHalf; x += kFieldSpacing)
        for (float z = -kFieldHalf; z <= kFieldHalf; z += kFieldSpacing)
        {
            const float px = x + random.RangeHighFirst(-kFieldJitter, kFieldJitter);
            const float pz = z + random.RangeHighFirst(-kFieldJitter, kFieldJitter);
            if (px * px + pz * pz > kFieldHalf * kFieldHalf)
                continue;
            SJugglerInstance instance = {};
            // Rotation about y (row-vector convention), then the translation in row 4.
            const float angle = random.RangeHighFirst(0.0f, kTwoPi);
            SetIdentity(instance.transform);
            instance.transform[0] = std::cos(angle);
            instance.transform[2] = -std::sin(angle);
            instance.transform[8] = std::sin(angle);
            instance.transform[10] = std::cos(angle);
            instance.transform[12] = px;
            instance.transform[14] = pz;
            instance.phase = random.RangeHighFirst(0.0f, 1.0f);
            instance.speed = 0.7f + random.RangeHighFirst(0.0f, 0.6f);
            instances.push_back(instance);
        }
    return instances;
}

void PlaceJugglers(CJugglerModel& model, const std::vector<SJugglerInstance>& instances,
                   std::vector<SVec4>& spheres, std::vector<SMaterial>& materials)
{
    model.Pose(0.0f);
    const size_t perFigure = model.GetSpheres().size();
    spheres.resize(perFigure * instances.size());
    materials.resize(spheres.size());
    for (size_t k = 0; k < instances.size(); ++k)
    {
        const SJugglerInstance& instance = instances[k];
        const float cycle = instance.speed * instance.time + instance.phase;
        model.Pose(cycle - std::floor(cycle));
        const std::vector<SVec4>& figure = model.GetSpheres();
        for (size_t j = 0; j < perFigure && j < figure.size(); ++j)
        {
            const SVec4& s = figure[j];
            const SVec3 world =
                TransformPoint(instance.transform, Vec3(kScaleX * s.x, kScaleY * s.y, kScaleZ * s.z));
            spheres[k * perFigure + j] = SVec4{world.x, world.y, world.z, kScaleRadius * s.w};
            materials[k * perFigure + j] = JugglerMaterial(static_cast<uint32_t>(j));
        }
    }
}

SMaterial JugglerMaterial(uint32_t index)
{
    if (index <= 1)
        return MakeMaterial(0.13333f, 0.06667f, 0.93333f, 1.0f, 0.0f, 1.0f);
    if (index >= 38 && index <= 42)
        return MakeMaterial(1.0f, 0.0f, 0.0f, 1.0f, 0.1f, 0.9f);
    if (index >= 85)
        return MakeMaterial(0.5f, 0.9f, 0.5f, 1024.0f, 1.0f, 0.0f);
    return MakeMaterial(0.93333f, 0.6f, 0.66667f, 1.0f, 0.0f, 1.0f);
}
}
