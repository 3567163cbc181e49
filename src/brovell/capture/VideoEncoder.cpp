#include "brovell/capture/VideoEncoder.h"

#include <cstdio>
#include <system_error>
#include <filesystem>
#include <utility>
#include <vector>

CVideoEncoder::CVideoEncoder(std::string path, uint32_t width, uint32_t height, uint32_t framesPerSecond)
    : m_Path(std::move(path))
    , m_Width(width)
    , m_Height(height)
    , m_FramesPerSecond(framesPerSecond)
{
}

CVideoEncoder::~CVideoEncoder()
{
    if (!m_Running)
        return;
    m_Ffmpeg.Finish();
    std::error_code ignored;
    std::filesystem::remove(GetPartialPath(), ignored);
}

bool CVideoEncoder::Start(const std::string& soundPath, std::string& error)
{
    const std::string size = std::to_string(m_Width) + "x" + std::to_string(m_Height);
    std::vector<std::string> arguments = {"ffmpeg",       "-y",
                                          "-hide_banner", "-loglevel",
                                          "error",        "-nostdin",
                                          "-f",           "rawvideo",
                                          "-pix_fmt",     "rgba",
                                          "-s",           size,
                                          "-r",           std::to_string(m_FramesPerSecond),
                                          "-i",           "pipe:0"};
    if (!soundPath.empty())
        arguments.insert(arguments.end(), {"-i", soundPath, "-c:a", "aac", "-b:a", "192k"});
    arguments.insert(arguments.end(), {"-c:v", "libx264", "-preset", "medium", "-crf", "18", "-pix_fmt",
                                       "yuv420p", "-movflags", "+faststart", "-f", "mp4", GetPartialPath()});
    if (!m_Ffmpeg.Start(arguments, error))
    {
        error += "; install ffmpeg (Debian: apt-get install ffmpeg) or capture pictures with --frames DIR";
        return false;
    }
    m_Running = true;
    return true;
}

bool CVideoEncoder::Write(const uint8_t* rgba, std::string& error)
{
    if (m_Ffmpeg.Write(rgba, std::size_t{m_Width} * m_Height * 4))
        return true;
    error = "ffmpeg stopped taking frames";
    return false;
}

bool CVideoEncoder::Finish(std::string& error)
{
    if (!m_Running)
    {
        error = "ffmpeg is not running";
        return false;
    }
    m_Running = false;
    const int code = m_Ffmpeg.Finish();
    std::error_code failure;
    if (code != 0)
    {
        std::filesystem::remove(GetPartialPath(), failure);
        error =
            "ffmpeg failed with exit code " + std::to_string(code) + "; \"" + m_Path + "\" was not written";
        return false;
    }
    std::filesystem::rename(GetPartialPath(), m_Path, failure);
    if (failure)
    {
        error = "cannot rename \"" + GetPartialPath() + "\" to \"" + m_Path + "\": " + failure.message();
        return false;
    }
    return true;
}
