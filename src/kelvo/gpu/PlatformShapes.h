// The box, torus and teapot shapes as a mesh loader hands them over: "position" and "normal"
// (three floats widened to four) and triangle indices, no subsets. Triangles wind so that
// (b - a) x (c - a) points the way the normals do, the front side.
#pragma once

#include "kelvo/gpu/ImportedMesh.h"

#include <cstdint>

SImportedMesh MakeBoxShape(float width, float height, float depth);
// About the z axis; a tube of innerRadius whose centre runs at outerRadius.
SImportedMesh MakeTorusShape(uint32_t rings, uint32_t sides, float innerRadius, float outerRadius);
// The classic Bezier-patch teapot, y up, centred on the origin, about 3.2 wide.
SImportedMesh MakeTeapotShape();
