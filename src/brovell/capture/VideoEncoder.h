// Frames to an H.264 video with the show's music, through ffmpeg: raw RGBA frames through a
// pipe, the sound from a WAVE file beside the output. ffmpeg writes to a temporary name that
// becomes the final one only when it has finished without error.
#pragma once

#include "brovell/capture/FrameSink.h"
#include "platform/ChildProcess.h"

#include <cstdint>
#include <string>

class CVideoEncoder : public IFrameSink
{
public:
    CVideoEncoder(std::string path, uint32_t width, uint32_t height, uint32_t framesPerSecond);
    ~CVideoEncoder() override; // stops ffmpeg and removes the temporary files if not finished

    // Starts ffmpeg with the sound file (empty: a silent video). False with a message saying
    // what to install when ffmpeg is missing.
    bool Start(const std::string& soundPath, std::string& error);
    bool Write(const uint8_t* rgba, std::string& error) override;
    bool Finish(std::string& error) override;
    std::string Describe() const override { return m_Path; }

    // The file name ffmpeg writes to until it has finished.
    std::string GetPartialPath() const { return m_Path + ".partial.mp4"; }

private:
    std::string m_Path;
    uint32_t m_Width;
    uint32_t m_Height;
    uint32_t m_FramesPerSecond;
    platform::CChildProcess m_Ffmpeg;
    bool m_Running = false;
};
