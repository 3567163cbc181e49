#include "platform/audio/AudioSystem.h"

#include "platform/Log.h"
#include "platform/audio/DevicePlayback.h"
#include "platform/audio/Mp3Decoder.h"
#include "platform/audio/SilentPlayback.h"

#include <SDL.h>

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

CAudioStream* CAudioSystem::CreateStream(const std::string& path)
{
    CAudioStream* stream = new CAudioStream();
    std::string error;
    if (!DecodeMp3File(path, stream->m_Audio, error))
    {
        DebugLog("[CAudioSystem::CreateStream] %s\n", error.c_str());
        delete stream;
        return nullptr;
    }
    if (m_Initialised)
        stream->m_Playback = CDevicePlayback::Open(stream->m_Audio, error);
    else
        error = "the audio subsystem is not running";
    if (!stream->m_Playback)
    {
        DebugLog("[CAudioSystem::CreateStream] No audio device (%s): \"%s\" plays silently on a real-time clock\n",
                 error.c_str(), path.c_str());
        stream->m_Playback = new CSilentPlayback(stream->m_Audio);
        stream->m_Silent = true;
    }
    return stream;
}
