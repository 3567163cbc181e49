// The loading screen: a progress bar under the logo. It is driven from inside loading (the
// timeline calls Frame with the progress for every resource loaded) and draws and presents
// a frame itself, at most every 20 ms. Main thread only.
#pragma once

#include "brovell/scenes/Scene.h"
#include "brovell/scenes/ScenePreload.h"
#include "kelvo/render/LoaderRenderProcess.h"

class CLoaderScene : public CScene
{
public:
    // The effect "default" and the logo "logotyp1.jpg".
    void LoadResources() override;
    // progress: loaded share, clamped to 1.
    void Frame(float progress) override;

    float GetBarWidth() const;

private:
    CLoaderRenderProcess m_Process;
    CScenePreload m_Preload;
};
