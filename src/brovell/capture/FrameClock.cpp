#include "brovell/capture/FrameClock.h"

#include "kelvo/gpu/ResourceManager.h"
#include "platform/audio/Mp3Decoder.h"
#include "platform/Log.h"

#include <algorithm>

CFrameClock::CFrameClock(uint32_t framesPerSecond, double startSeconds)
    : m_FramesPerSecond(framesPerSecond)
    , m_StartSeconds(startSeconds)
{
}

bool CFrameClock::PlayFile(const std::string& name)
{
    m_Playing = false;
    m_TrackName = name;
    const std::string path = CResourceManager::Instance().GetPath(name);
    std::string error = "\"" + name + "\" is not in the data folder";
    if (path.empty() || !DecodeMp3File(path, m_Audio, error))
    {
        DebugLog("[CFrameClock::PlayFile] %s\n", error.c_str());
        return false;
    }
    m_Playing = true;
    return true;
}

double CFrameClock::GetTrackSeconds() const
{
    return m_Audio.m_SampleRate > 0 ? static_cast<double>(m_Audio.GetFrameCount()) / m_Audio.m_SampleRate
                                    : 0.0;
}

double CFrameClock::GetPositionSeconds() const
{
    if (!m_Playing)
        return 0.0;
    const double time = m_StartSeconds + static_cast<double>(m_Frame) / m_FramesPerSecond;
    return std::min(time, GetTrackSeconds());
}
