#include "music/Mp3Encoder.h"

#include <lame/lame.h>

#include <algorithm>

namespace
{
constexpr size_t kChunkFrames = 8192;

// Owns a LAME encoder.
class CLameEncoder
{
public:
    CLameEncoder()
        : m_Flags(lame_init())
    {
    }
    ~CLameEncoder() { lame_close(m_Flags); }
    CLameEncoder(const CLameEncoder&) = delete;
    CLameEncoder& operator=(const CLameEncoder&) = delete;
    lame_global_flags* Get() const { return m_Flags; }

private:
    lame_global_flags* m_Flags;
};
}

bool EncodeMp3(const std::vector<float>& samples, int sampleRate, int channels, float vbrQuality,
               std::vector<uint8_t>& mp3, std::string& error)
{
    mp3.clear();
    CLameEncoder encoder;
    lame_global_flags* flags = encoder.Get();
    if (!flags || (channels != 1 && channels != 2))
    {
        error = "unsupported MP3 encoder setup";
        return false;
    }
    lame_set_in_samplerate(flags, sampleRate);
    lame_set_out_samplerate(flags, sampleRate);
    lame_set_num_channels(flags, channels);
    lame_set_mode(flags, channels == 2 ? JOINT_STEREO : MONO);
    lame_set_VBR(flags, vbr_default);
    lame_set_VBR_quality(flags, vbrQuality);
    lame_set_bWriteVbrTag(flags, 1);
    lame_set_write_id3tag_automatic(flags, 0);
    if (lame_init_params(flags) < 0)
    {
        error = "the MP3 encoder refuses " + std::to_string(sampleRate) + " Hz with " +
                std::to_string(channels) + " channel(s)";
        return false;
    }

    // Worst case from LAME's documentation: 1.25 * frames + 7200 bytes per call.
    std::vector<uint8_t> chunk(kChunkFrames * 5 / 4 + 7200);
    std::vector<float> left(kChunkFrames);
    std::vector<float> right(kChunkFrames);
    const size_t frameCount = samples.size() / channels;
    for (size_t first = 0; first < frameCount; first += kChunkFrames)
    {
        const size_t count = std::min(kChunkFrames, frameCount - first);
        for (size_t i = 0; i < count; ++i)
        {
            left[i] = samples[(first + i) * channels];
            right[i] = samples[(first + i) * channels + channels - 1];
        }
        const int written =
            lame_encode_buffer_ieee_float(flags, left.data(), right.data(), static_cast<int>(count),
                                          chunk.data(), static_cast<int>(chunk.size()));
        if (written < 0)
        {
            error = "the MP3 encoder failed (" + std::to_string(written) + ")";
            return false;
        }
        mp3.insert(mp3.end(), chunk.begin(), chunk.begin() + written);
    }
    const int flushed = lame_encode_flush(flags, chunk.data(), static_cast<int>(chunk.size()));
    if (flushed < 0)
    {
        error = "the MP3 encoder failed to flush (" + std::to_string(flushed) + ")";
        return false;
    }
    mp3.insert(mp3.end(), chunk.begin(), chunk.begin() + flushed);

    // The stream began with a placeholder frame; the final header frame replaces it.
    const size_t tagSize = lame_get_lametag_frame(flags, chunk.data(), chunk.size());
    if (tagSize > 0 && tagSize <= mp3.size())
        std::copy(chunk.begin(), chunk.begin() + tagSize, mp3.begin());
    error.clear();
    return true;
}
