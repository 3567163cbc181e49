// The walker: an object the viewer steers. Arrow keys move it half a unit per frame in its
// own horizontal directions; moving the cursor with the right mouse button held turns it
// (pitch about its own x axis, yaw about the world's y axis); while "P" is held its local
// matrix is written to "matrix.txt" every frame. Main thread only.
#pragma once

#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/core/InputQueries.h"

class CBeingObjectLogic : public C3DObjectLogic
{
    KELVO_RTTI(CBeingObjectLogic, C3DObjectLogic)

public:
    // Walker controls on the local matrix, then the world matrix as for every placed object.
    void Update() override;

    void SetInputQueries(const SInputQueries& queries) { m_Input = queries; }

private:
    void WriteMatrixFile(const SMatrix& local) const;

    SInputQueries m_Input;
};
