#include "platform/audio/AudioSystem.h"

#include "platform/audio/DevicePlayback.h"
#include "platform/audio/Mp3Decoder.h"
#include "platform/audio/SilentPlayback.h"
#include "platform/Log.h"

#include <SDL.h>

#include <algorithm>
#include <cstddef>

namespace
{
// Drops the audio before startSeconds (all of it past the end) and counts the bytes dropped.
void SkipStart(SPcmAudio& audio, double startSeconds, uint64_t& skippedBytes)
{
    const uint64_t frames = std::min<uint64_t>(
        audio.GetFrameCount(), static_cast<uint64_t>(std::max(startSeconds, 0.0) * audio.m_SampleRate));
    const auto samples = static_cast<std::ptrdiff_t>(frames * static_cast<uint64_t>(audio.m_Channels));
    audio.m_Samples.erase(audio.m_Samples.begin(), audio.m_Samples.begin() + samples);
    skippedBytes = frames * audio.GetBytesPerFrame();
}
}

CAudioSystem::~CAudioSystem()
{
    Free();
}

bool CAudioSystem::Init()
{
    if (m_Initialised)
        return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    {
        DebugLog("[CAudioSystem::Init] No audio output (%s): the music plays silently on a real-time clock\n",
                 SDL_GetError());
        return false;
    }
    m_Initialised = true;
    return true;
}

void CAudioSystem::Free()
{
    if (!m_Initialised)
        return;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_Initialised = false;
}

CAudioStream* CAudioSystem::CreateStream(const std::string& path, double startSeconds, bool silent)
{
    CAudioStream* stream = new CAudioStream();
    std::string error;
    if (!DecodeMp3File(path, stream->m_Audio, error))
    {
        DebugLog("[CAudioSystem::CreateStream] %s\n", error.c_str());
        delete stream;
        return nullptr;
    }
    SkipStart(stream->m_Audio, startSeconds, stream->m_SkippedBytes);
    if (silent)
        error = "silence was asked for";
    else if (m_Initialised)
        stream->m_Playback = CDevicePlayback::Open(stream->m_Audio, error);
    else
        error = "the audio subsystem is not running";
    if (!stream->m_Playback)
    {
        DebugLog(
            "[CAudioSystem::CreateStream] No audio device (%s): \"%s\" plays silently on a real-time clock\n",
            error.c_str(), path.c_str());
        stream->m_Playback = new CSilentPlayback(stream->m_Audio);
        stream->m_Silent = true;
    }
    return stream;
}
