#include "platform/audio/Mp3Decoder.h"

#include <mpg123.h>

#include <filesystem>
#include <system_error>

namespace
{
constexpr uintmax_t kMaxPcmBytesPerFileByte = 64;

// Owns an mpg123 handle and its open file.
class CMpg123Handle
{
public:
    CMpg123Handle()
        : m_Handle(mpg123_new(nullptr, &m_Result))
    {
    }
    ~CMpg123Handle()
    {
        if (m_Handle)
        {
            mpg123_close(m_Handle);
            mpg123_delete(m_Handle);
        }
    }
    CMpg123Handle(const CMpg123Handle&) = delete;
    CMpg123Handle& operator=(const CMpg123Handle&) = delete;

    mpg123_handle* Get() const { return m_Handle; }
    const char* GetError() const
    {
        return m_Handle ? mpg123_strerror(m_Handle) : mpg123_plain_strerror(m_Result);
    }

private:
    int m_Result = MPG123_OK;
    mpg123_handle* m_Handle;
};

bool Fail(const std::string& path, const std::string& reason, SPcmAudio& audio, std::string& error)
{
    audio = SPcmAudio();
    error = "cannot decode \"" + path + "\": " + reason;
    return false;
}

// Accepts only signed 16-bit output, at any rate and channel count the file has.
void RequestSigned16(mpg123_handle* handle)
{
    mpg123_format_none(handle);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
}
}

bool DecodeMp3File(const std::string& path, SPcmAudio& audio, std::string& error)
{
    audio = SPcmAudio();
    CMpg123Handle decoder;
    mpg123_handle* handle = decoder.Get();
    if (!handle)
        return Fail(path, decoder.GetError(), audio, error);
    // Gapless trimming from the encoder's header; the library's own messages stay off stderr.
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    RequestSigned16(handle);
    if (mpg123_open(handle, path.c_str()) != MPG123_OK)
        return Fail(path, decoder.GetError(), audio, error);

    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK)
        return Fail(path, "no MPEG audio frame found", audio, error);
    audio.m_SampleRate = static_cast<int>(rate);
    audio.m_Channels = channels;

    // The scanned length (in frames) lets the whole track be reserved at once. It comes from
    // the file's header, so it is believed only as far as the file's size allows: MP3 packs
    // far fewer than kMaxPcmBytesPerFileByte bytes of sound into each of its own.
    const off_t expectedFrames = mpg123_length(handle);
    std::error_code sizeError;
    const uintmax_t fileBytes = std::filesystem::file_size(path, sizeError);
    if (expectedFrames > 0 && !sizeError &&
        static_cast<uintmax_t>(expectedFrames) * channels * sizeof(int16_t) <=
            fileBytes * kMaxPcmBytesPerFileByte)
        audio.m_Samples.reserve(static_cast<size_t>(expectedFrames) * channels);

    int16_t chunk[32768];
    for (;;)
    {
        size_t done = 0;
        const int result = mpg123_read(handle, chunk, sizeof(chunk), &done);
        audio.m_Samples.insert(audio.m_Samples.end(), chunk, chunk + done / sizeof(int16_t));
        if (result == MPG123_DONE)
            break;
        if (result == MPG123_NEW_FORMAT)
        {
            mpg123_getformat(handle, &rate, &channels, &encoding);
            if (rate != audio.m_SampleRate || channels != audio.m_Channels)
                return Fail(path, "the format changes inside the file", audio, error);
            continue;
        }
        if (result != MPG123_OK)
            return Fail(path, decoder.GetError(), audio, error);
    }
    if (audio.GetFrameCount() == 0)
        return Fail(path, "no audio decoded", audio, error);
    // A partial frame can only come from a broken stream; drop it so bytes stay frame-aligned.
    audio.m_Samples.resize(audio.GetFrameCount() * audio.m_Channels);
    error.clear();
    return true;
}
