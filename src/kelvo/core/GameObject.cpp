#include "kelvo/core/GameObject.h"

#include <algorithm>

#include "platform/Section.h"

namespace
{
// Object ids count from 1 under their own lock, created on first use.
uint32_t NextObjectId()
{
    static CSection s_IdLock;
    static uint32_t s_LastId = 0;
    CSectionLock lock(&s_IdLock);
    return ++s_LastId;
}
}

CGameObject::CGameObject()
    : m_Id(NextObjectId())
{
}

void CGameObject::Update(uint32_t logicKind)
{
    if (CObjectLogicBase* logic = FindLogic(logicKind))
        logic->Update();
}

void CGameObject::SetParent(CGameObject* parent)
{
    if (parent == m_Parent)
        return;
    if (m_Parent)
        m_Parent->RemoveChild(this);
    m_Parent = parent;
    m_Parent->AddChild(this);
    for (CObjectLogicBase* logic : m_Logics)
        logic->OnHierarchyChanged();
}

void CGameObject::AddChild(CGameObject* child)
{
    if (std::find(m_Children.begin(), m_Children.end(), child) == m_Children.end())
        m_Children.push_back(child);
}

void CGameObject::RemoveChild(CGameObject* child)
{
    auto found = std::find(m_Children.begin(), m_Children.end(), child);
    if (found != m_Children.end())
        m_Children.erase(found);
}

CObjectLogicBase* CGameObject::FindLogic(uint32_t logicKind) const
{
    for (CObjectLogicBase* logic : m_Logics)
        if (logic->IsKindOf(logicKind))
            return logic;
    return nullptr;
}

void CGameObject::AttachLogic(CObjectLogicBase* logic)
{
    m_Logics.push_back(logic);
    logic->SetOwner(this);
}

CObjectLogicBase* FindLogic(const CGameObject* object, uint32_t logicKind)
{
    return object ? object->FindLogic(logicKind) : nullptr;
}
