#include "brovell/capture/CaptureSession.h"

#include "brovell/capture/CaptureProgress.h"
#include "brovell/capture/PngFrameFolder.h"
#include "brovell/capture/VideoEncoder.h"
#include "brovell/capture/WavFile.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "platform/Clock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace
{
uint64_t CountFrames(double startSeconds, uint32_t framesPerSecond)
{
    const double seconds = std::max(CCaptureSession::kShowSeconds - startSeconds, 0.0);
    return static_cast<uint64_t>(std::ceil(seconds * framesPerSecond - 1e-9));
}
}

CCaptureSession::CCaptureSession(const SProgramOptions& options, const std::vector<SSceneEntry>& scenes)
    : m_Options(options)
    , m_Scenes(scenes)
    , m_Clock(options.m_FramesPerSecond, options.m_StartSeconds)
    , m_FrameCount(CountFrames(options.m_StartSeconds, options.m_FramesPerSecond))
{
    // From here on the program's clocks follow the frames, so whatever is made while loading
    // starts its stopwatches at the same time on every run.
    SetManualClockMs(0.0);
}

CCaptureSession::~CCaptureSession()
{
    std::error_code ignored;
    if (!m_Options.m_VideoPath.empty())
        std::filesystem::remove(SoundPath(), ignored);
}

std::string CCaptureSession::SoundPath() const
{
    return m_Options.m_VideoPath + ".partial.wav";
}

void CCaptureSession::BeforeFrame()
{
    m_Clock.SetFrame(m_Frame);
    SetManualClockMs(static_cast<double>(m_Frame) * 1000.0 / m_Options.m_FramesPerSecond);
}

bool CCaptureSession::OpenOutput(uint32_t width, uint32_t height, std::string& error)
{
    m_Width = width;
    m_Height = height;
    if (!m_Options.m_FramesFolder.empty())
    {
        auto folder = std::make_unique<CPngFrameFolder>(m_Options.m_FramesFolder, width, height);
        if (!folder->Start(error))
            return false;
        m_Sink = std::move(folder);
        return true;
    }
    // The sound of exactly the captured stretch of the track, sample for sample.
    std::string sound;
    if (m_Clock.IsPlaying())
    {
        const SPcmAudio& audio = m_Clock.GetAudio();
        const auto first = static_cast<uint64_t>(std::llround(m_Options.m_StartSeconds * audio.m_SampleRate));
        const uint64_t count =
            m_FrameCount * static_cast<uint64_t>(audio.m_SampleRate) / m_Options.m_FramesPerSecond;
        if (!WriteWavFile(SoundPath(), audio, first, count, error))
            return false;
        sound = SoundPath();
    }
    auto encoder =
        std::make_unique<CVideoEncoder>(m_Options.m_VideoPath, width, height, m_Options.m_FramesPerSecond);
    if (!encoder->Start(sound, error))
        return false;
    m_Sink = std::move(encoder);
    return true;
}

bool CCaptureSession::AfterFrame(std::string& error)
{
    uint32_t width = 0, height = 0;
    if (g_pGPUImplementation == nullptr || !g_pGPUImplementation->ReadFrame(m_Pixels, width, height))
    {
        error = "the drawn frame cannot be read back";
        return false;
    }
    if (!m_Sink && !OpenOutput(width, height, error))
        return false;
    if (width != m_Width || height != m_Height)
    {
        error = "the frame size changed during the capture";
        return false;
    }
    // The back buffer's alpha is whatever the effects left; the pictures are opaque.
    for (std::size_t i = 3; i < m_Pixels.size(); i += 4)
        m_Pixels[i] = 255;
    if (!m_Sink->Write(m_Pixels.data(), error))
        return false;
    ++m_Frame;
    ShowProgress(false);
    return true;
}

void CCaptureSession::ShowProgress(bool last)
{
    // A terminal gets one line rewritten twice a second; a log a line every ten seconds.
    static const bool terminal = isatty(STDERR_FILENO) != 0;
    const double now =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_Started).count();
    if (!last && now - m_LastProgressMs < (terminal ? 500.0 : 10000.0))
        return;
    m_LastProgressMs = now;
    const double time = m_Clock.GetPositionSeconds();
    std::string scene;
    for (const SSceneEntry& entry : m_Scenes)
        if (entry.m_Start <= time && time < entry.m_End)
            scene = entry.m_Name;
    const std::string line = FormatCaptureProgress(m_Frame, m_FrameCount, scene, now / 1000.0);
    if (terminal)
        std::fprintf(stderr, "\r%s\x1b[K%s", line.c_str(), last ? "\n" : "");
    else
        std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

bool CCaptureSession::Finish(std::string& error)
{
    ShowProgress(true);
    if (!m_Sink)
    {
        error = "no frame was drawn";
        return false;
    }
    if (!m_Sink->Finish(error))
        return false;
    std::fprintf(stderr, "capture: %llu frames of %ux%u at %u fps written to %s\n",
                 static_cast<unsigned long long>(m_Frame), m_Width, m_Height, m_Options.m_FramesPerSecond,
                 m_Sink->Describe().c_str());
    return true;
}
