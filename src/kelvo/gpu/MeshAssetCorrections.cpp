#include "kelvo/gpu/MeshAssetCorrections.h"

#include "kelvo/core/Matrix4.h"
#include "kelvo/gpu/Mesh.h"

#include <numbers>

void ApplyAssetCorrection(CMesh& mesh, const std::string& fileName)
{
    constexpr float kPi = std::numbers::pi_v<float>;
    if (fileName == "McLarenF1.x")
    {
        mesh.Transform(SMatrix4::RotationY(kPi / 2) * SMatrix4::Translation(8, 0, -12));
    }
    else if (fileName == "Hebe.x")
    {
        SMatrix4 matrix = SMatrix4::RotationX(-kPi / 2);
        for (int i = 0; i < 12; ++i)
            matrix.m[i] *= 0.1f;
        mesh.Transform(matrix * SMatrix4::Translation(10, 0, 0));
    }
    else if (fileName == "BugattiVeyron.x")
    {
        // Sets the fourth float of positions and normals to 1.
        mesh.Transform(SMatrix4::Identity());
        // Parts the scene does not show; a file with fewer surfaces skips the missing ones.
        for (uint32_t surface : {46u, 45u, 39u, 28u, 19u, 17u, 8u, 7u, 1u, 0u})
            mesh.RemoveSurface(surface);
    }
}
