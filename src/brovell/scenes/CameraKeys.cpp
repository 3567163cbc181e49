#include "brovell/scenes/CameraKeys.h"

const SCameraKey kCameraJ0{{{0.998377f, 0.0007406f, -0.0569645f, -1.2995f},
                            {0.0f, 0.999917f, 0.0130001f, 4.44404f},
                            {0.0569692f, -0.012979f, 0.998296f, 12.9886f}}};
const SCameraKey kCameraJ1{{{0.999822f, -0.0022556f, -0.0188646f, -0.171833f},
                            {0.0f, 0.992929f, -0.11872f, 1.01515f},
                            {0.0189989f, 0.118699f, 0.992755f, 14.8462f}}};
const SCameraKey kCameraJ2{{{0.765488f, -0.0328021f, 0.642618f, 32.2407f},
                            {0.0f, 0.998701f, 0.0509778f, 16.9152f},
                            {-0.643454f, -0.0390232f, 0.764493f, 42.4389f}}};
const SCameraKey kCameraJ3{{{0.963504f, 0.125984f, -0.236196f, 6.42423f},
                            {0.0f, 0.882334f, 0.470627f, 64.4149f},
                            {0.267695f, -0.453451f, 0.850133f, 118.499f}}};
const SCameraKey kCameraB0{{{0.999917f, -0.000078f, 0.0129994f, -5.13626f},
                            {0.0f, 0.999982f, 0.006f, 8.9032f},
                            {-0.0129997f, -0.0059995f, 0.999901f, 154.573f}}};
const SCameraKey kCameraB1{{{0.999968f, -0.0023336f, 0.007652f, -18.1419f},
                            {0.0f, 0.956511f, 0.291697f, -12.3103f},
                            {-0.008f, -0.291688f, 0.956482f, 32.7294f}}};
const SCameraKey kCameraB2{{{0.540303f, -0.547225f, 0.639239f, 56.8342f},
                            {0.0f, 0.759666f, 0.650318f, 34.37f},
                            {-0.841473f, -0.351369f, 0.41045f, 36.3642f}}};
const SCameraKey kCameraB3{{{-0.05218f, -0.68943f, 0.722472f, 55.497f},
                            {0.0f, 0.723457f, 0.69037f, 31.8452f},
                            {-0.998639f, 0.0360235f, -0.03775f, -1.37209f}}};
const SCameraKey kCameraB4{{{0.999819f, 0.0060715f, -0.0181986f, -6.27222f},
                            {0.0f, 0.948609f, 0.316466f, 6.69948f},
                            {0.0191848f, -0.316408f, 0.948438f, 70.9855f}}};

SMatrix CameraFromKey(const SCameraKey& key)
{
    SMatrix stored = MatrixIdentity();
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            stored.m[row * 4 + column] = key.m_Rows[row][column];
    return MatrixTranspose(stored);
}

SVector3 GetCameraPosition(const SMatrix& camera)
{
    return {camera.m[12], camera.m[13], camera.m[14]};
}

void SetCameraPosition(SMatrix& camera, SVector3 position)
{
    camera.m[12] = position.x;
    camera.m[13] = position.y;
    camera.m[14] = position.z;
}
