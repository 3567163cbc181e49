#include "brovell/capture/WavFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace
{
void PutLittleEndian(unsigned char* out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}
}

bool WriteWavFile(const std::string& path, const SPcmAudio& audio, uint64_t firstFrame, uint64_t frameCount,
                  std::string& error)
{
    const uint64_t available = audio.GetFrameCount();
    firstFrame = std::min(firstFrame, available);
    frameCount = std::min(frameCount, available - firstFrame);
    const uint32_t blockAlign = audio.GetBytesPerFrame();
    const uint64_t dataBytes = frameCount * blockAlign;
    if (audio.m_Channels <= 0 || audio.m_SampleRate <= 0 || dataBytes > 0xFFFFFFF0u - 36)
    {
        error = "\"" + path + "\": the audio cannot be stored as a WAVE file";
        return false;
    }
    unsigned char header[44];
    std::memcpy(header, "RIFF", 4);
    PutLittleEndian(header + 4, static_cast<uint32_t>(36 + dataBytes), 4);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    PutLittleEndian(header + 16, 16, 4);
    PutLittleEndian(header + 20, 1, 2); // integer PCM
    PutLittleEndian(header + 22, static_cast<uint32_t>(audio.m_Channels), 2);
    PutLittleEndian(header + 24, static_cast<uint32_t>(audio.m_SampleRate), 4);
    PutLittleEndian(header + 28, static_cast<uint32_t>(audio.m_SampleRate) * blockAlign, 4);
    PutLittleEndian(header + 32, blockAlign, 2);
    PutLittleEndian(header + 34, 16, 2);
    std::memcpy(header + 36, "data", 4);
    PutLittleEndian(header + 40, static_cast<uint32_t>(dataBytes), 4);

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
    {
        error = "cannot write \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    // The samples are stored little-endian, as the machine holds them.
    const int16_t* samples = audio.m_Samples.data() + firstFrame * static_cast<uint64_t>(audio.m_Channels);
    bool written = std::fwrite(header, sizeof(header), 1, file) == 1 &&
                   (dataBytes == 0 || std::fwrite(samples, dataBytes, 1, file) == 1);
    written = std::fclose(file) == 0 && written;
    if (!written)
        error = "cannot write \"" + path + "\": " + std::strerror(errno);
    return written;
}
