// A scene that records what the timeline asks of it.
#pragma once

#include "brovell/scenes/Scene.h"

#include <vector>

class CFakeScene : public CScene
{
public:
    void LoadResources() override { ++m_Loads; }
    void Frame(float time) override { m_Times.push_back(time); }
    bool GetCameraMatrix(SMatrix& outMatrix) const override
    {
        if (!m_HasCamera)
            return false;
        outMatrix = m_Camera;
        return true;
    }

    int m_Loads = 0;
    std::vector<float> m_Times;
    bool m_HasCamera = false;
    SMatrix m_Camera;
};
