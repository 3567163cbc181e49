#include "brovell/scenes/OutroScene.h"

#include "brovell/scenes/PictureScripts.h"

SWobble COutroScene::Script(float time, SPictureLook& look) const
{
    return ScriptOutroScene(time, look);
}

std::vector<std::string> COutroScene::GetPictures() const
{
    return {"tobrik.jpg", "uvolo.jpg", "velrin.png", "ostyn.png", "maruvel.jpg"};
}
