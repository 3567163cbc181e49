// The colour materials the backend creates at start-up: "red", "green", "blue",
// "ambient_red", "ambient_green", "ambient_blue", "white" and "default", each a material from
// a description with its diffuse colour, specular 0.5 and power 32.
#pragma once

#include <cstdint>

class CGPUResourceManager;

// A failing colour material does not stop the list; the result is always 0.
uint32_t CreateColorMaterials(CGPUResourceManager& resources);
