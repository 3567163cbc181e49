// A node of the world's object tree. An object does nothing by itself: its behaviour comes
// from the logic components attached to it, in the order they were added. The object owns
// neither its children nor its components (world objects live until the process ends).
// Main thread, except the updates the update manager runs for parallel logic kinds.
#pragma once

#include <cstdint>
#include <vector>

#include "kelvo/core/LogicUpdate.h"
#include "kelvo/core/Rtti.h"

class CObjectLogicBase;

class CGameObject : public CRttiObject, public ILogicUpdate
{
    KELVO_RTTI(CGameObject, CRttiObject)

public:
    CGameObject();
    ~CGameObject() override = default;
    CGameObject(const CGameObject&) = delete;
    CGameObject& operator=(const CGameObject&) = delete;

    virtual bool IsActive() const { return true; }

    // Runs Update of the first component that is of the given kind, if any.
    void Update(uint32_t logicKind) override;

    // Moves the object under a new parent (not null) and tells every component.
    void SetParent(CGameObject* parent);
    void AddChild(CGameObject* child);
    void RemoveChild(CGameObject* child);

    // The first component of the kind, or null.
    CObjectLogicBase* FindLogic(uint32_t logicKind) const;
    // The component of class T: the present one, or a new one appended to the components.
    template <typename T>
    T* AddLogic();

    CGameObject* GetParent() const { return m_Parent; }
    const std::vector<CGameObject*>& GetChildren() const { return m_Children; }
    const std::vector<CObjectLogicBase*>& GetLogics() const { return m_Logics; }
    uint32_t GetId() const { return m_Id; }

private:
    void AttachLogic(CObjectLogicBase* logic);

    CGameObject* m_Parent = nullptr;
    std::vector<CGameObject*> m_Children;
    std::vector<CObjectLogicBase*> m_Logics;
    uint32_t m_Id;
};

// FindLogic that tolerates a null object.
CObjectLogicBase* FindLogic(const CGameObject* object, uint32_t logicKind);

#include "kelvo/core/ObjectLogicBase.h"

template <typename T>
T* CGameObject::AddLogic()
{
    if (CObjectLogicBase* found = FindLogic(T::StaticTypeId()))
        return static_cast<T*>(found);
    T* logic = new T();
    AttachLogic(logic);
    return logic;
}
