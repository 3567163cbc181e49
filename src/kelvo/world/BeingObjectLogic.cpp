#include "kelvo/world/BeingObjectLogic.h"

#include <cstdio>

#include "platform/window/WindowMessage.h"

using namespace platform;

namespace
{
constexpr float kStep = 0.5f;
constexpr float kTurnPerPixel = 0.001f;
constexpr uint32_t kWriteMatrixKey = 0x50; // "P"

// The cursor position of the previous walker update, taken every frame whether or not the
// view turns, so the view does not jump when the button is pressed again.
int32_t g_PreviousCursorX = 0;
int32_t g_PreviousCursorY = 0;

// v through the rotation, scaled to the step length (left as it is when nearly zero).
SVector3 StepAlong(SVector3 v, const SMatrix& rotation)
{
    SVector3 direction = TransformNormal(v, rotation);
    if (Length(direction) >= 1e-6f)
        direction = Normalize(direction);
    return direction * kStep;
}
}

void CBeingObjectLogic::Update()
{
    STransformState state = GetTransformState();
    SMatrix rotation = state.local;
    const SVector3 translation{rotation.m[12], rotation.m[13], rotation.m[14]};
    rotation.m[12] = rotation.m[13] = rotation.m[14] = 0.0f;

    // Movement in the walker's own directions.
    const SVector3 side = StepAlong({-1.0f, 0.0f, 0.0f}, rotation);
    const SVector3 forward = StepAlong({0.0f, 0.0f, -1.0f}, rotation);
    SVector3 move;
    if (m_Input.IsHeld(VK_LEFT))
        move = move + side;
    if (m_Input.IsHeld(VK_RIGHT))
        move = move - side;
    if (m_Input.IsHeld(VK_UP))
        move = move + forward;
    if (m_Input.IsHeld(VK_DOWN))
        move = move - forward;

    // Mouse look while the right button is held.
    int32_t cursorX = 0, cursorY = 0;
    m_Input.cursorPos(cursorX, cursorY);
    const float k = m_Input.IsHeld(VK_RBUTTON) ? kTurnPerPixel : 0.0f;
    const float pitch = static_cast<float>(g_PreviousCursorY - cursorY) * k;
    const float yaw = static_cast<float>(g_PreviousCursorX - cursorX) * k;
    g_PreviousCursorX = cursorX;
    g_PreviousCursorY = cursorY;

    state.local = MatrixRotationX(pitch) * rotation * MatrixRotationY(yaw);
    state.local.m[12] = translation.x + move.x;
    state.local.m[13] = translation.y + move.y;
    state.local.m[14] = translation.z + move.z;

    if (m_Input.IsHeld(kWriteMatrixKey))
        WriteMatrixFile(state.local);

    SetTransformState(state);
    C3DObjectLogic::Update();
}

void CBeingObjectLogic::WriteMatrixFile(const SMatrix& local) const
{
    FILE* file = std::fopen("matrix.txt", "w");
    if (!file)
        return;
    // Line i holds column i.
    for (int column = 0; column < 4; ++column)
        std::fprintf(file, "%0.7ff, %0.7ff, %0.7ff, %0.7ff\n", local(0, column), local(1, column),
                     local(2, column), local(3, column));
    std::fclose(file);
}
