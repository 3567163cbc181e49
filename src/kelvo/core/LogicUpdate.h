// The update entry of every object of the tree: runs the object's logic of one kind (the
// type number of a logic component class).
#pragma once

#include <cstdint>

class ILogicUpdate
{
public:
    virtual void Update(uint32_t logicKind) = 0;

protected:
    ~ILogicUpdate() = default;
};
