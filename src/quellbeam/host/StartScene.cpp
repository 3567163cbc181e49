#include "quellbeam/host/StartScene.h"

#include <algorithm>

namespace quellbeam
{
void MakeStartScene(CRandom15& random, uint32_t count, std::vector<SVec4>& spheres,
                    std::vector<SMaterial>& materials)
{
    spheres.resize(count);
    materials.resize(count);
    for (uint32_t i = 0; i < count; ++i)
    {
        SVec4& sphere = spheres[i];
        sphere.x = random.RangeHighFirst(-50.0f, 50.0f);
        sphere.y = random.RangeHighFirst(-50.0f, 50.0f);
        sphere.z = random.RangeHighFirst(-50.0f, 50.0f);
        sphere.w = random.RangeHighFirst(2.3f, 2.301f);

        // Mostly matte balls, a few mirrors: w6 is negative for most draws and then raised to 0.
        SMaterial& material = materials[i];
        material.colour[0] = random.RangeHighFirst(0.5f, 1.0f);
        material.colour[1] = random.RangeHighFirst(0.5f, 1.0f);
        material.colour[2] = random.RangeHighFirst(0.5f, 1.0f);
        material.w6 = std::max(random.RangeHighFirst(-10.0f, 0.9f), 0.0f);
        material.reflectance = std::max(random.RangeHighFirst(material.w6, 1.0f) * 0.7f, 0.06f);
        material.diffuse = std::max(1.0f - material.reflectance - material.w6, 0.0f);
        material.w7 = 0.2f;
        material.exponent = random.RangeHighFirst(16.0f, 100.0f);
    }
}
}
