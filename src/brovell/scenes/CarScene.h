// The car scene's place in the show; its own content comes with its issue.
#pragma once

#include "brovell/scenes/TimeTextScene.h"

class CCarScene : public CTimeTextScene
{
public:
    CCarScene() : CTimeTextScene("Car") {}
};
