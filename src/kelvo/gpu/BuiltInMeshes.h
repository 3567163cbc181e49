// The geometry of the built-in meshes that the backend creates at start-up. Each builder fills
// an empty mesh's streams and ends with the mesh's Update, whose result it returns.
#pragma once

#include <cstdint>

class CMesh;

// Empty line list with "position" (16), "diffuse" (4) and 32-bit "indices", for the
// renderer's lines.
bool BuildLineMesh(CMesh& mesh);
// Empty triangle list with "position" (16), "tex0" (16), "diffuse" (4) and 32-bit "indices",
// for the renderer's text.
bool BuildTextMesh(CMesh& mesh);
// The screen quad from (-1, -1) to (1, 1) with texture coordinates, (0, 0) at the top left.
bool BuildBillboard(CMesh& mesh);
// The unit sphere from an octahedron subdivided level times, normals pointing inwards.
bool BuildBall(CMesh& mesh, uint32_t level);
// Two random triangles from the program's generator, turned slightly about x and y.
bool BuildTwoTriangles(CMesh& mesh);
// The 1 x 1 x 1 box centred on the origin: 24 vertices, a normal per face.
bool BuildBox(CMesh& mesh);
// The torus about the z axis: rings around the axis, sides around the tube of innerRadius
// whose centre runs at outerRadius; then every position and normal negated.
bool BuildTorus(CMesh& mesh, uint32_t rings, uint32_t sides, float innerRadius, float outerRadius);
// The Bezier-patch teapot, y up, tessellated with normals.
bool BuildTeapot(CMesh& mesh);
