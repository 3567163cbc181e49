#include "music/MusicMaker.h"

#include "music/Dsp.h"
#include "music/Loudness.h"
#include "music/Mp3Encoder.h"
#include "music/Mp3PeakCheck.h"
#include "music/TrackRenderer.h"
#include "music/Tracks.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

namespace
{
constexpr double kTargetLufs = -14.0;
// The decoded track must stay at or under -1 dBTP; a little margin covers the difference
// between decoders. Sample peaks start 2.8 dB under full scale, leaving room for
// inter-sample peaks and MP3 overshoot, and go lower if the coded result is still too hot.
constexpr double kPeakLimitDb = -1.25;
constexpr float kFirstCeilingDb = -2.8f;
constexpr int kEncodeAttempts = 4;
constexpr float kVbrQuality = 4.0f; // about 160 kbit/s

struct STrackJob
{
    const char* m_FileName;
    SScore (*m_Compose)();
    uint32_t m_DrumSeed;
    bool m_Succeeded = false;
};

std::mutex g_PrintLock;

template <typename... Args>
void Say(const char* format, Args... args)
{
    std::lock_guard<std::mutex> guard(g_PrintLock);
    std::printf(format, args...);
    std::fflush(stdout);
}

// Writes next to the target and renames, so an interrupted run never leaves a partial file.
bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    const std::filesystem::path partial = path.string() + ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!file)
            return false;
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    return !error;
}

void MakeTrack(STrackJob& job, const std::filesystem::path& folder)
{
    const auto started = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    };
    const SScore score = job.m_Compose();
    int reported = -1;
    const SStereoBuffer mix = CTrackRenderer(score, job.m_DrumSeed).Render([&](double fraction) {
        const int tenth = static_cast<int>(fraction * 10.0);
        if (tenth > reported)
        {
            reported = tenth;
            Say("assetgen: %s rendering %d%% (%.1f s)\n", job.m_FileName, tenth * 10, elapsed());
        }
    });
    std::vector<uint8_t> mp3;
    double lufs = 0.0;
    double codedPeakDb = HUGE_VAL;
    float ceilingDb = kFirstCeilingDb;
    for (int attempt = 0; attempt < kEncodeAttempts && codedPeakDb > kPeakLimitDb; ++attempt)
    {
        SStereoBuffer normalised = mix;
        lufs = NormaliseLoudness(normalised, kTargetLufs, ceilingDb);
        std::vector<float> interleaved(2 * normalised.m_Left.size());
        for (size_t i = 0; i < normalised.m_Left.size(); ++i)
        {
            interleaved[2 * i] = normalised.m_Left[i];
            interleaved[2 * i + 1] = normalised.m_Right[i];
        }
        std::string error;
        if (!EncodeMp3(interleaved, kSampleRate, 2, kVbrQuality, mp3, error))
        {
            std::fprintf(stderr, "assetgen: %s: %s\n", job.m_FileName, error.c_str());
            return;
        }
        codedPeakDb = MeasureDecodedTruePeak(mp3, kSampleRate);
        Say("assetgen: %s coded with sample peaks under %.2f dBFS: %.2f dBTP (%.1f s)\n", job.m_FileName,
            ceilingDb, codedPeakDb, elapsed());
        // Lower the ceiling by the excess, and a little more.
        ceilingDb -= static_cast<float>(codedPeakDb - kPeakLimitDb) + 0.1f;
    }
    if (codedPeakDb > kPeakLimitDb)
    {
        std::fprintf(stderr, "assetgen: %s: true peak %.2f dBTP stays above %.2f dBTP\n", job.m_FileName,
                     codedPeakDb, kPeakLimitDb);
        return;
    }
    if (!WriteFile(folder / job.m_FileName, mp3))
    {
        std::fprintf(stderr, "assetgen: cannot write \"%s\"\n", (folder / job.m_FileName).c_str());
        return;
    }
    Say("assetgen: %s done: %.1f s of audio, %.2f LUFS, %.2f dBTP, %.0f kbit/s, made in %.1f s\n",
        job.m_FileName, score.m_Length, lufs, codedPeakDb, mp3.size() * 8.0 / score.m_Length / 1000.0,
        elapsed());
    job.m_Succeeded = true;
}
}

bool MakeMusic(const std::string& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::vector<STrackJob> jobs = {
        {"velrin.mp3", &ComposeVelrin, 0x5e1d},
        {"ostyn.mp3", &ComposeOstyn, 0x0575},
        {"maruvel.mp3", &ComposeMaruvel, 0x3a2e},
    };
    std::vector<std::thread> threads;
    for (STrackJob& job : jobs)
        threads.emplace_back(MakeTrack, std::ref(job), std::filesystem::path(folder));
    for (std::thread& thread : threads)
        thread.join();
    bool succeeded = true;
    for (const STrackJob& job : jobs)
        succeeded = succeeded && job.m_Succeeded;
    return succeeded;
}
