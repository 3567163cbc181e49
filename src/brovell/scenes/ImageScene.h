// The opening scroll: the tall picture moving up, then fading to black.
#pragma once

#include "brovell/scenes/IntroScene.h"

class CImageScene : public CIntroScene
{
protected:
    SWobble Script(float time, SPictureLook& look) const override;
    std::vector<std::string> GetPictures() const override;
};
