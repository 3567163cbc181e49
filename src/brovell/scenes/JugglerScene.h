// The juggler scene's place in the show; its own content comes with its issue.
#pragma once

#include "brovell/scenes/TimeTextScene.h"

class CJugglerScene : public CTimeTextScene
{
public:
    CJugglerScene() : CTimeTextScene("Juggler") {}
};
