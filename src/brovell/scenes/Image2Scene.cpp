#include "brovell/scenes/Image2Scene.h"

#include "brovell/scenes/PictureScripts.h"

SWobble CImage2Scene::Script(float time, SPictureLook& look) const
{
    return ScriptImage2Scene(time, look);
}

std::vector<std::string> CImage2Scene::GetPictures() const
{
    return {"end.jpg"};
}
