// The camera keys of the traced-ball scenes. A key is three rows of four floats, each a
// rotation row with a position component in its last column, over an implied (0, 0, 0, 1);
// a scene takes a key transposed, so the position lands in the fourth row (row-vector form).
#pragma once

#include "kelvo/core/Math.h"

struct SCameraKey
{
    float m_Rows[3][4];
};

// The juggler scene's keys.
extern const SCameraKey kCameraJ0, kCameraJ1, kCameraJ2, kCameraJ3;
// The balls scene's keys.
extern const SCameraKey kCameraB0, kCameraB1, kCameraB2, kCameraB3, kCameraB4;

// The key as a camera matrix: the 4 x 4 form transposed.
SMatrix CameraFromKey(const SCameraKey& key);

// The camera position: the fourth row.
SVector3 GetCameraPosition(const SMatrix& camera);
void SetCameraPosition(SMatrix& camera, SVector3 position);
