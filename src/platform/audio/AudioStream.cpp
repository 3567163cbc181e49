#include "platform/audio/AudioStream.h"

CAudioStream::~CAudioStream()
{
    delete m_Playback;
}

void CAudioStream::Play()
{
    m_Playback->Play();
}

uint64_t CAudioStream::GetPosition() const
{
    return m_SkippedBytes + m_Playback->GetHeardBytes();
}

double CAudioStream::BytesToSeconds(uint64_t bytes) const
{
    return static_cast<double>(bytes) / m_Audio.GetBytesPerSecond();
}

uint64_t CAudioStream::GetLength() const
{
    return m_SkippedBytes + m_Audio.GetByteCount();
}
