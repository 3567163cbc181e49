// Writes a short stereo test track (a soft 440 Hz tone, 44100 Hz) to every path given.
//   make_test_track SECONDS PATH...
#include "music/Mp3Encoder.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        std::fprintf(stderr, "usage: make_test_track SECONDS PATH...\n");
        return 2;
    }
    const int rate = 44100;
    const int frames = static_cast<int>(std::atof(argv[1]) * rate);
    std::vector<float> samples(static_cast<size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i)
        samples[2 * i] = samples[2 * i + 1] =
            static_cast<float>(0.25 * std::sin(2.0 * std::numbers::pi * 440.0 * i / rate));
    std::vector<uint8_t> mp3;
    std::string error;
    if (!EncodeMp3(samples, rate, 2, 4.0f, mp3, error))
    {
        std::fprintf(stderr, "make_test_track: %s\n", error.c_str());
        return 1;
    }
    for (int i = 2; i < argc; ++i)
    {
        std::ofstream file(argv[i], std::ios::binary);
        file.write(reinterpret_cast<const char*>(mp3.data()), static_cast<std::streamsize>(mp3.size()));
        if (!file)
        {
            std::fprintf(stderr, "make_test_track: cannot write %s\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
