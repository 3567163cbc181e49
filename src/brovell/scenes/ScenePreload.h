// The resources a scene loads ahead of its first frame. Holding a reference to each keeps it
// resident until the scene goes; the references go back then if the backend still runs.
#pragma once

#include "kelvo/gpu/GPUObjectHandle.h"

#include <string>
#include <vector>

class CScenePreload
{
public:
    CScenePreload() = default;
    ~CScenePreload();
    CScenePreload(const CScenePreload&) = delete;
    CScenePreload& operator=(const CScenePreload&) = delete;

    // Loads through the GPU backend; a failure is logged by the backend and skipped here.
    void LoadTexture(const std::string& fileName);
    void LoadEffect(const std::string& fileName);

private:
    std::vector<GPUObjectHandle> m_Handles;
};
