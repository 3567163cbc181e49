// The balls scene's place in the show; its own content comes with its issue.
#pragma once

#include "brovell/scenes/TimeTextScene.h"

class CBallsScene : public CTimeTextScene
{
public:
    CBallsScene() : CTimeTextScene("Balls") {}
};
