#include "platform/audio/SilentPlayback.h"

#include <algorithm>

CSilentPlayback::CSilentPlayback(const SPcmAudio& audio)
    : m_Audio(audio)
{
}

void CSilentPlayback::Play()
{
    Clock::rep notStarted = 0;
    m_StartTicks.compare_exchange_strong(notStarted, Clock::now().time_since_epoch().count());
}

uint64_t CSilentPlayback::GetHeardBytes() const
{
    const Clock::rep start = m_StartTicks.load();
    if (start == 0)
        return 0;
    const Clock::duration elapsed = Clock::now().time_since_epoch() - Clock::duration(start);
    const double frames = std::chrono::duration<double>(elapsed).count() * m_Audio.m_SampleRate;
    const uint64_t heard = static_cast<uint64_t>(frames) * m_Audio.GetBytesPerFrame();
    return std::min(heard, m_Audio.GetByteCount());
}
