// The soft-body engine as the game and the renderer see it. One engine per process, reached
// through g_pPressureEngine; the game creates it with the first renderer and deletes it at
// shutdown. Update runs on the main thread before the frame is drawn, Render after the
// scene's objects; models may be added and removed from any thread.
#pragma once

class IPhysicsModel;

class IPressureEngine
{
public:
    virtual ~IPressureEngine() = default;
    // Models are not owned; the same model may be listed more than once.
    virtual void AddModel(IPhysicsModel* model) = 0;
    // Removes the first listing of model, if any.
    virtual void RemoveModel(IPhysicsModel* model) = 0;
    virtual void Update() = 0;
    // Bodies draw through their own meshes; true when the hook ran.
    virtual bool Render() = 0;
};

// The registered engine; null before its construction and after its destruction.
extern IPressureEngine* g_pPressureEngine;
