#include "kelvo/render/KelvoRenderer.h"

#include <gtest/gtest.h>

TEST(ViewMatrix, InvertsTheCameraPlacementAndKeepsASingularOne)
{
    const SMatrix world = MatrixRotationY(0.7f) * MatrixRotationX(-0.3f) * MatrixTranslation(4, -2, 9);
    const SMatrix view = CKelvoRenderer::ViewMatrixOf(world);
    const SMatrix product = world * view;
    const SMatrix identity = MatrixIdentity();
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(product.m[i], identity.m[i], 1e-5f) << i;
    // The camera's own position lands on the origin.
    const SVector3 eye = TransformPoint({4, -2, 9}, view);
    EXPECT_NEAR(Length(eye), 0.0f, 1e-5f);

    SMatrix flat = MatrixScaling(1, 0, 1);
    flat.m[12] = 5;
    const SMatrix kept = CKelvoRenderer::ViewMatrixOf(flat);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(kept.m[i], flat.m[i]) << i;
}
