// Fixed corrections of three ".x" assets, applied right after they load: they were made in
// other units or orientations than the scenes expect. Other names are left alone.
#pragma once

#include <string>

class CMesh;

void ApplyAssetCorrection(CMesh& mesh, const std::string& fileName);
