// Renders the show to a file instead of the screen: the show's clock follows the frame
// number, each drawn frame is read back and handed to a video encoder or a folder of
// pictures, a progress line is kept on standard error, and when the show ends the output is
// completed. Main thread only; one session per run.
#pragma once

#include "brovell/capture/FrameClock.h"
#include "brovell/capture/FrameSink.h"
#include "brovell/demo/SceneEntry.h"
#include "brovell/options/ProgramOptions.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CCaptureSession
{
public:
    // The show's length, the end of its last window.
    static constexpr double kShowSeconds = 220.0;

    // scenes: the timeline's windows, for naming the scene in the progress line.
    CCaptureSession(const SProgramOptions& options, const std::vector<SSceneEntry>& scenes);
    ~CCaptureSession();

    CFrameClock& GetClock() { return m_Clock; }
    uint32_t GetFramesPerSecond() const { return m_Options.m_FramesPerSecond; }
    // The frames of the show from the start time on: start + n / fps < 220 s.
    uint64_t GetFrameCount() const { return m_FrameCount; }

    // Before each frame of the show: the music and the program's clocks show this frame's
    // time.
    void BeforeFrame();
    // After a frame was drawn: hands it to the output (opened at the first frame, once the
    // track is known). False with a message in error when the capture cannot go on.
    bool AfterFrame(std::string& error);
    // Completes the output and says where it is. False with a message when it is unusable.
    bool Finish(std::string& error);

private:
    bool OpenOutput(uint32_t width, uint32_t height, std::string& error);
    void ShowProgress(bool last);
    std::string SoundPath() const;

    SProgramOptions m_Options;
    const std::vector<SSceneEntry>& m_Scenes;
    CFrameClock m_Clock;
    uint64_t m_FrameCount;
    uint64_t m_Frame = 0;
    std::unique_ptr<IFrameSink> m_Sink;
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
    std::vector<uint8_t> m_Pixels;
    // Wall time for the progress line: the program's clocks follow the frames.
    std::chrono::steady_clock::time_point m_Started = std::chrono::steady_clock::now();
    double m_LastProgressMs = -1e9;
};
