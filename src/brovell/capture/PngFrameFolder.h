// Frames as numbered PNG files in a folder: frame-000000.png, frame-000001.png...
#pragma once

#include "brovell/capture/FrameSink.h"

#include <cstdint>
#include <string>

class CPngFrameFolder : public IFrameSink
{
public:
    CPngFrameFolder(std::string folder, uint32_t width, uint32_t height);

    // Makes the folder if it is missing; false with a message when it cannot.
    bool Start(std::string& error);
    bool Write(const uint8_t* rgba, std::string& error) override;
    bool Finish(std::string& error) override;
    std::string Describe() const override { return m_Folder + "/frame-*.png"; }

private:
    std::string m_Folder;
    uint32_t m_Width;
    uint32_t m_Height;
    uint32_t m_Next = 0;
};
