// The show: the eight scenes of the 220-second timeline, the loader, the music of the sound
// manager and the walker that the scenes' cameras steer. One instance, held by the game and
// reachable through g_pHarlune1; main thread only.
#pragma once

#include "brovell/demo/DemoTimeline.h"

class CBeingObjectLogic;

class CHarlune1 : public CDemoTimeline
{
public:
    // Creates the loader and the eight scenes; loads nothing until the first frame.
    CHarlune1();
    ~CHarlune1() override;

    // The walker the scenes' camera matrices move; set before the first frame.
    void SetWalker(CBeingObjectLogic* walker) { m_Walker = walker; }

protected:
    void PlaceWalker(const SMatrix& local) override;

private:
    CBeingObjectLogic* m_Walker = nullptr; // not owned
};

extern CHarlune1* g_pHarlune1;
