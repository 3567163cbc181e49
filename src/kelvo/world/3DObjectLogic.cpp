#include "kelvo/world/3DObjectLogic.h"

#include "kelvo/core/GameObject.h"

void C3DObjectLogic::Update()
{
    const CGameObject* owner = GetOwner();
    auto* parent = static_cast<C3DObjectLogic*>(
        FindLogic(owner ? owner->GetParent() : nullptr, C3DObjectLogic::StaticTypeId()));
    if (parent)
    {
        m_State.coarse = parent->m_State.coarse;
        m_State.world = m_State.local * parent->m_State.world;
    }
    else
    {
        m_State.world = m_State.local;
    }
    MatrixInverse(m_State.world, m_InverseWorld);
}

void C3DObjectLogic::SetLocalBox(const SVector4& min, const SVector4& max)
{
    m_State.localBox = {min, max};
}

void C3DObjectLogic::ExtendLocalBox(const SVector4& min, const SVector4& max)
{
    MergeBox(m_State.localBox, SBox{min, max});
}

const SBox& C3DObjectLogic::GetWorldBox()
{
    const SVector4 first = Transform(m_State.corners[0], m_State.world);
    SBox box{first, first};
    for (int i = 1; i < 8; ++i)
        ExtendBox(box, Transform(m_State.corners[i], m_State.world));
    m_State.worldBox = box;
    return m_State.worldBox;
}
