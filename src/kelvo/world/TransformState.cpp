#include "kelvo/world/TransformState.h"

STransformState::STransformState()
    : local(MatrixIdentity())
    , world(MatrixIdentity())
    , localBox{{-1.0f, -1.0f, -1.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}}
{
    UpdateCorners();
}

void STransformState::UpdateCorners()
{
    for (int i = 0; i < 8; ++i)
        corners[i] = {(i & 1) ? localBox.max.x : localBox.min.x, (i & 2) ? localBox.max.y : localBox.min.y,
                      (i & 4) ? localBox.max.z : localBox.min.z, 1.0f};
}
