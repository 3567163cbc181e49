// The end picture: a white flash, then a slow fade to black.
#pragma once

#include "brovell/scenes/IntroScene.h"

class CImage2Scene : public CIntroScene
{
protected:
    SWobble Script(float time, SPictureLook& look) const override;
    std::vector<std::string> GetPictures() const override;
};
