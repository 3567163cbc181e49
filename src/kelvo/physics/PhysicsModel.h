// A body the pressure engine simulates: one step per engine update.
#pragma once

class IPhysicsModel
{
public:
    virtual ~IPhysicsModel() = default;
    virtual void Step() = 0;
};
