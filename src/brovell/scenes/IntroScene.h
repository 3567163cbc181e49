// The picture scenes: one picture in a rectangle over a cleared frame, with the present
// phase's logo and overlay on top, all following the scene's script from its time alone.
// CIntroScene shows the group's name, "presents" and the title; the opening scroll, the
// credits and the end picture derive from it with their own scripts. Main thread only.
#pragma once

#include "brovell/scenes/PictureLook.h"
#include "brovell/scenes/Scene.h"
#include "brovell/scenes/ScenePreload.h"
#include "kelvo/render/BilboardRenderProcess.h"

#include <string>
#include <vector>

class CIntroScene : public CScene
{
public:
    void LoadResources() override;
    // Makes the scene's process current, runs the script and hands the look to the phases.
    void Frame(float time) override;

    const SPictureLook& GetLook() const { return m_Look; }

protected:
    // This frame's settings into look, and the drift to add to them.
    virtual SWobble Script(float time, SPictureLook& look) const;
    virtual std::vector<std::string> GetPictures() const;

private:
    CBilboardRenderProcess m_Process;
    SPictureLook m_Look;
    CScenePreload m_Preload;
};
