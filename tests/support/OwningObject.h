// Game objects never delete their components (the world keeps them for the whole run); a
// test object built on T does, so that every test gives back what it made.
#pragma once

#include "kelvo/core/GameObject.h"

template <class T>
class COwning : public T
{
public:
    using T::T;
    ~COwning() override
    {
        for (CObjectLogicBase* logic : this->GetLogics())
            delete logic;
    }
};
