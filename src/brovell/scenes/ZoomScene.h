// The endless zoom: a flight into a picture made of pictures along a fixed path of keys. Each
// key names a texel of one bank image and a zoom range; the view closes in on that texel for
// three seconds, then enters the bank image the texel is drawn as and starts over there.
// The scene fades in from and out to black and lays "dont-alpha.jpg" over the flight.
// Main thread only.
#pragma once

#include "brovell/scenes/Scene.h"
#include "brovell/scenes/ZoomPath.h"
#include "brovell/scenes/ScenePreload.h"
#include "kelvo/render/ZoomRenderProcess.h"

#include <cstdint>
#include <vector>

class CZoomScene : public CScene
{
public:
    // Scene seconds per key.
    static constexpr float kKeySeconds = 3.0f;

    CZoomScene();

    // Builds the bank and loads the overlay picture.
    void LoadResources() override;
    void Frame(float time) override;

    const std::vector<SZoomKey>& GetKeys() const { return m_Keys; }
    CZoomRenderProcess& GetProcess() { return m_Process; }

private:
    void FollowPath(float time);

    std::vector<SZoomKey> m_Keys;
    CZoomRenderProcess m_Process;
    CZoomPhase* m_Zoom;
    CClipartPhase* m_Clipart;
    CPresentPhase* m_Present;
    CScenePreload m_Preload;
};
