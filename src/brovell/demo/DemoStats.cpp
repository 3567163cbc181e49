#include "brovell/demo/DemoStats.h"

#include "brovell/scenes/Scene.h"

#include <cstdio>

bool WriteDemoStats(const std::string& path, const std::vector<SSceneEntry>& entries)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    for (const SSceneEntry& entry : entries)
    {
        const float rate = static_cast<float>(entry.m_Scene->GetFrameCount()) / (entry.m_End - entry.m_Start);
        std::fprintf(file, "%s fps: %f\r\n", entry.m_Name, rate);
    }
    return std::fclose(file) == 0;
}
