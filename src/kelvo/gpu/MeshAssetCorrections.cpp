#include "kelvo/gpu/MeshAssetCorrections.h"

#include "kelvo/core/Math.h"
#include "kelvo/gpu/Mesh.h"

#include <numbers>

void ApplyAssetCorrection(CMesh& mesh, const std::string& fileName)
{
    constexpr float kPi = std::numbers::pi_v<float>;
    if (fileName == "McLarenF1.x")
    {
        mesh.Transform(MatrixRotationY(kPi / 2) * MatrixTranslation(8, 0, -12));
    }
    else if (fileName == "Hebe.x")
    {
        SMatrix matrix = MatrixRotationX(-kPi / 2);
        for (int i = 0; i < 12; ++i)
            matrix.m[i] *= 0.1f;
        mesh.Transform(matrix * MatrixTranslation(10, 0, 0));
    }
    else if (fileName == "BugattiVeyron.x")
    {
        // Sets the fourth float of positions and normals to 1.
        mesh.Transform(MatrixIdentity());
        // Parts the scene does not show; a file with fewer surfaces skips the missing ones.
        for (uint32_t surface : {46u, 45u, 39u, 28u, 19u, 17u, 8u, 7u, 1u, 0u})
            mesh.RemoveSurface(surface);
    }
}
