// The base of every logic component: a piece of behaviour attached to one world object.
#pragma once

#include "kelvo/core/Rtti.h"

class CGameObject;

class CObjectLogicBase : public CRttiObject
{
    KELVO_RTTI(CObjectLogicBase, CRttiObject)

public:
    ~CObjectLogicBase() override = default;

    // Called when the owner moves to another parent.
    virtual void OnHierarchyChanged() {}
    // The per-frame step of this component's kind.
    virtual void Update() {}

    CGameObject* GetOwner() const { return m_Owner; }
    void SetOwner(CGameObject* owner) { m_Owner = owner; }

private:
    CGameObject* m_Owner = nullptr;
};
