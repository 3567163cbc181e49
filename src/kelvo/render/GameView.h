// What the render phases need of the game: its world drawn from its camera, and the camera
// object the overlays are seen from. The game registers itself in g_pGameView. Main thread.
#pragma once

class CGameObject;

class IGameView
{
public:
    // Draws the world through the renderer (the game render phase calls it).
    virtual void Render() = 0;
    // The camera rig; null before the world exists.
    virtual CGameObject* GetCameraObject() const = 0;

protected:
    ~IGameView() = default;
};

// The registered game; null when there is none.
extern IGameView* g_pGameView;
