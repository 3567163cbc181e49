// Test helper: writes a mesh file again as ".x" with Assimp's own exporter, so the importer
// can be tried on a file written by another tool.
#pragma once

#include <string>

bool ExportThroughAssimp(const std::string& sourcePath, const std::string& targetPath);
