// The component that gives an object a place in space: its transform state, its world
// matrix (from its parent's of the same frame) and its box. Main thread only.
#pragma once

#include "kelvo/core/ObjectLogicBase.h"
#include "kelvo/world/TransformState.h"

class C3DObjectLogic : public CObjectLogicBase
{
    KELVO_RTTI(C3DObjectLogic, CObjectLogicBase)

public:
    // World matrix = local matrix times the parent's world matrix (or the local matrix for
    // an object without a placed parent), then its inverse.
    void Update() override;

    // Objects without a box the space can hold (none in this engine) go to its unbounded list.
    virtual bool IsUnbounded() const { return false; }

    // To move an object, copy the state, change the local matrix and set it back.
    STransformState& GetTransformState() { return m_State; }
    const STransformState& GetTransformState() const { return m_State; }
    void SetTransformState(const STransformState& state) { m_State = state; }

    const SMatrix& GetWorldMatrix() const { return m_State.world; }
    const SMatrix& GetInverseWorldMatrix() const { return m_InverseWorld; }

    void SetLocalBox(const SVector4& min, const SVector4& max);
    void ExtendLocalBox(const SVector4& min, const SVector4& max);
    void UpdateCorners() { m_State.UpdateCorners(); }

    // The axis-aligned box around the local corners in world space; stored and returned.
    const SBox& GetWorldBox();

private:
    SMatrix m_InverseWorld = MatrixIdentity();
    STransformState m_State;
};
