#include "brovell/scenes/ImageScene.h"

#include "brovell/scenes/PictureScripts.h"

SWobble CImageScene::Script(float time, SPictureLook& look) const
{
    return ScriptImageScene(time, look);
}

std::vector<std::string> CImageScene::GetPictures() const
{
    return {"dupa.jpg"};
}
