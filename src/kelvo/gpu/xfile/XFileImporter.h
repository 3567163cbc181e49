// Loads a DirectX ".x" file (text, binary or compressed) and hands it over as plain mesh
// data: all meshes of the file merged in node order, one subset per mesh part of one
// material, per-vertex "position", "normal", "diffuse" and "tex%i" arrays (those the file
// has, in that order), 32-bit triangle indices. Coordinates, vertex order within each face,
// winding and texture coordinates stay as the file gives them (the file's left-handed
// system); frame transforms are applied. Subsets carry their material descriptions, with
// texture names reduced to the bare file name; a file without materials gives no subsets.
//
// The file is parsed by Assimp in a short-lived reader process, "brovell-xfile" beside the
// running executable, which hands the mesh back through a pipe: Assimp crashes on some
// malformed files, and such a crash, a hang or a runaway mesh then costs only that process.
#pragma once

#include "kelvo/gpu/ImportedMesh.h"

#include <string>

// The reader process's file name.
inline constexpr const char* kXFileReaderName = "brovell-xfile";

// False with a message naming the file when it cannot be read, holds no triangles or makes
// the reader fail.
bool ImportXFile(const std::string& path, SImportedMesh& outMesh, std::string& outError);
