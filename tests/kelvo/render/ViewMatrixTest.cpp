#include "kelvo/render/KelvoRenderer.h"

#include <gtest/gtest.h>

// The view of a placed camera is proven by the renderer's scene picture; a placement that
// cannot be inverted is kept as it is.
TEST(ViewMatrix, KeepsASingularCameraPlacement)
{
    SMatrix flat = MatrixScaling(1, 0, 1);
    flat.m[12] = 5;
    const SMatrix kept = CKelvoRenderer::ViewMatrixOf(flat);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(kept.m[i], flat.m[i]) << i;
}
