#include "brovell/sound/SoundManager.h"

#include "kelvo/gpu/ResourceManager.h"
#include "platform/audio/AudioStream.h"
#include "platform/Log.h"

CSoundManager* g_pSoundManager = nullptr;

CSoundManager::CSoundManager()
{
    g_pSoundManager = this;
    // No audio output is not fatal: streams then play silently, so the show keeps its clock.
    if (!m_Audio.Init())
        DebugLog("[CSoundManager::CSoundManager] CAudioSystem::Init Failed! The music plays silently.\n");
}

CSoundManager::~CSoundManager()
{
    if (g_pSoundManager == this)
        g_pSoundManager = nullptr;
    FreeStream();
    m_Audio.Free();
}

bool CSoundManager::PlayFile(const std::string& name)
{
    FreeStream();
    const std::string path = CResourceManager::Instance().GetPath(name);
    if (path.empty())
        DebugLog("[CSoundManager::PlayFile] %s: no such file in the data folder\n", name.c_str());
    else
        m_Stream = m_Audio.CreateStream(path, m_StartSeconds, m_Mute);
    if (!m_Stream)
    {
        DebugLog("[CSoundManager::PlayFile] CAudioSystem::CreateStream Failed!\n");
        return false;
    }
    m_Stream->Play();
    return true;
}

void CSoundManager::SetPlayback(double startSeconds, bool mute)
{
    m_StartSeconds = startSeconds;
    m_Mute = mute;
}

uint64_t CSoundManager::GetPosition() const
{
    return m_Stream ? m_Stream->GetPosition() : 0;
}

double CSoundManager::GetPositionSeconds() const
{
    return m_Stream ? m_Stream->BytesToSeconds(m_Stream->GetPosition()) : 0.0;
}

void CSoundManager::FreeStream()
{
    delete m_Stream;
    m_Stream = nullptr;
}
