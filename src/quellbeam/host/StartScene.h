// The scene the tracer holds before any ball scene is chosen: random balls in a 100-unit cube
// with random materials, drawn sphere then material for each index.
#pragma once

#include "platform/Random15.h"
#include "quellbeam/host/Material.h"
#include "quellbeam/kernel/Vec.h"

#include <vector>

namespace quellbeam
{
inline constexpr uint32_t kStartSphereCount = 5000;

void MakeStartScene(CRandom15& random, uint32_t count, std::vector<SVec4>& spheres,
                    std::vector<SMaterial>& materials);
}
