#include "platform/audio/DevicePlayback.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace
{
// About 23 ms at 44100 Hz: fine-grained enough for a frame clock, safe against underruns.
constexpr Uint16 kBufferFrames = 1024;
}

CDevicePlayback::CDevicePlayback(const SPcmAudio& audio)
    : m_Audio(audio)
{
}

CDevicePlayback* CDevicePlayback::Open(const SPcmAudio& audio, std::string& error)
{
    CDevicePlayback* playback = new CDevicePlayback(audio);
    SDL_AudioSpec wanted{};
    wanted.freq = audio.m_SampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(audio.m_Channels);
    wanted.samples = kBufferFrames;
    wanted.callback = &CDevicePlayback::FillBuffer;
    wanted.userdata = playback;
    // No allowed changes: SDL converts to whatever the hardware takes.
    SDL_AudioSpec obtained{};
    playback->m_Device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (playback->m_Device == 0)
    {
        error = SDL_GetError();
        delete playback;
        return nullptr;
    }
    return playback;
}

CDevicePlayback::~CDevicePlayback()
{
    if (m_Device != 0)
        SDL_CloseAudioDevice(m_Device);
}

void CDevicePlayback::Play()
{
    SDL_PauseAudioDevice(m_Device, 0);
}

void CDevicePlayback::FillBuffer(void* self, uint8_t* buffer, int length)
{
    CDevicePlayback& playback = *static_cast<CDevicePlayback*>(self);
    const uint64_t total = playback.m_Audio.GetByteCount();
    const uint32_t size = static_cast<uint32_t>(length);
    std::lock_guard<std::mutex> guard(playback.m_Lock);
    // Copy what is left of the track, then silence.
    const uint64_t start = std::min(playback.m_HandedBytes, total);
    const uint32_t copied = static_cast<uint32_t>(std::min<uint64_t>(size, total - start));
    std::memcpy(buffer, reinterpret_cast<const uint8_t*>(playback.m_Audio.m_Samples.data()) + start, copied);
    std::memset(buffer + copied, 0, size - copied);
    playback.m_HandedBytes += size;
    playback.m_LastBufferBytes = size;
    playback.m_LastBufferTime = std::chrono::steady_clock::now();
}

uint64_t CDevicePlayback::GetHeardBytes() const
{
    std::lock_guard<std::mutex> guard(m_Lock);
    if (m_HandedBytes == 0)
        return 0;
    // Everything before the last buffer is heard; of that buffer, as much as has played since.
    const double playing =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_LastBufferTime).count();
    const uint64_t playedOfLast =
        std::min<uint64_t>(m_LastBufferBytes, static_cast<uint64_t>(playing * m_Audio.GetBytesPerSecond()));
    uint64_t heard = m_HandedBytes - m_LastBufferBytes + playedOfLast;
    const uint32_t frameBytes = m_Audio.GetBytesPerFrame();
    heard = std::min(heard - heard % frameBytes, m_Audio.GetByteCount());
    m_HeardBytes = std::max(m_HeardBytes, heard);
    return m_HeardBytes;
}
