// The walk of the object tree for one logic kind: parents before children, an inactive
// object hiding its whole subtree. With a queue, each object's update is handed to it
// (queue->Add(object, kind)); without one, each object is updated at once.
#pragma once

#include <cstdint>

#include "kelvo/core/GameObject.h"

template <typename Queue>
void WalkObjectTree(CGameObject* object, uint32_t logicKind, Queue* queue)
{
    if (!object->IsActive())
        return;
    if (queue)
        queue->Add(static_cast<ILogicUpdate*>(object), logicKind);
    else
        object->Update(logicKind);
    for (CGameObject* child : object->GetChildren())
        WalkObjectTree(child, logicKind, queue);
}
