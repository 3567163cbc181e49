// Told once before each resource load that is not a hit in a store (the demo timeline moves
// its loading bar with it). Called on the loading thread, from inside the load.
#pragma once

class ILoadResourceSubscriber
{
public:
    virtual void OnLoadResource() = 0;

protected:
    ~ILoadResourceSubscriber() = default;
};
