// The credits: five cards sliding in and out.
#pragma once

#include "brovell/scenes/IntroScene.h"

class COutroScene : public CIntroScene
{
protected:
    SWobble Script(float time, SPictureLook& look) const override;
    std::vector<std::string> GetPictures() const override;
};
