// Juggler figures placed in the world: instance records (clock, speed, phase, transform), the
// seeded field layout, and the conversion of every posed figure into world spheres and materials.
#pragma once

#include "platform/Random15.h"
#include "quellbeam/content/JugglerModel.h"
#include "quellbeam/host/Material.h"

#include <vector>

namespace quellbeam
{
// 19 floats: local time, speed, phase, then a row-major 4x4 transform (translation in row 4).
struct SJugglerInstance
{
    float time;
    float speed;
    float phase;
    float transform[16];
};
static_assert(sizeof(SJugglerInstance) == 19 * sizeof(float));

// One figure at the origin, unrotated.
SJugglerInstance MakeSingleJuggler();
// Figures on a jittered 25-unit grid inside a circle of radius 100, each turned about the
// vertical axis by a random angle. Draws from `random` in the order j1, j2, angle, phase, speed.
std::vector<SJugglerInstance> MakeJugglerField(CRandom15& random);
// Poses every instance and writes its spheres (model scaled to world units and transformed) and
// the figure's materials, model.GetSpheres().size() entries per instance.
void PlaceJugglers(CJugglerModel& model, const std::vector<SJugglerInstance>& instances,
                   std::vector<SVec4>& spheres, std::vector<SMaterial>& materials);
// Material of sphere `index` within a figure: eyes, skin, shirt, juggled balls.
SMaterial JugglerMaterial(uint32_t index);
}
