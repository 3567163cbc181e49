// A ball's material as the device reads it: two four-float elements behind the spheres.
#pragma once

namespace quellbeam
{
struct SMaterial
{
    float colour[3];
    float exponent;    // specular exponent
    float reflectance; // specular and mirror weight
    float diffuse;
    float w6; // not read by the device; the start materials derive diffuse from it
    float w7; // not read by the device
};
static_assert(sizeof(SMaterial) == 32);
}
