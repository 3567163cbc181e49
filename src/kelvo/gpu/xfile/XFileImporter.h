// Loads a DirectX ".x" file (text, binary or compressed) with Assimp and hands it over as
// plain mesh data: all meshes of the file merged in node order, one subset per mesh part of
// one material, per-vertex "position", "normal", "diffuse" and "tex%i" arrays (those the file
// has, in that order), 32-bit triangle indices. Coordinates, vertex order within each face,
// winding and texture coordinates stay as the file gives them (the file's left-handed
// system); frame transforms are applied. Subsets carry their material descriptions, with
// texture names reduced to the bare file name; a file without materials gives no subsets.
#pragma once

#include "kelvo/gpu/ImportedMesh.h"

#include <string>

// False with a message when the file cannot be read or holds no triangles.
bool ImportXFile(const std::string& path, SImportedMesh& outMesh, std::string& outError);
