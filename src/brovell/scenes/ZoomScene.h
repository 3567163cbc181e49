// The zoom scene's place in the show; its own content comes with its issue.
#pragma once

#include "brovell/scenes/TimeTextScene.h"

class CZoomScene : public CTimeTextScene
{
public:
    CZoomScene() : CTimeTextScene("Zoom") {}
};
