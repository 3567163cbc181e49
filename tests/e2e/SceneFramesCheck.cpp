// Checks the pictures of a capture taken at the starts of the show's scenes: each shows
// something (not black) and differs from the one before it.
//   scene_frames_check FRAME.png...
#include <stb/stb_image.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
// The share of pixels clearly above black, and the picture as grey levels.
struct SFrame
{
    std::vector<unsigned char> m_Grey;
    double m_Lit = 0.0;
};

bool Load(const char* path, SFrame& frame)
{
    int width = 0, height = 0, channels = 0;
    unsigned char* grey = stbi_load(path, &width, &height, &channels, 1);
    if (!grey)
        return false;
    frame.m_Grey.assign(grey, grey + static_cast<size_t>(width) * height);
    stbi_image_free(grey);
    size_t lit = 0;
    for (unsigned char value : frame.m_Grey)
        lit += value > 40;
    frame.m_Lit = static_cast<double>(lit) / frame.m_Grey.size();
    return true;
}
}

int main(int argc, char** argv)
{
    bool pass = argc > 1;
    std::vector<SFrame> frames(static_cast<size_t>(argc > 1 ? argc - 1 : 0));
    for (int i = 1; i < argc; ++i)
    {
        SFrame& frame = frames[static_cast<size_t>(i - 1)];
        if (!Load(argv[i], frame))
        {
            std::printf("FAIL: cannot read %s\n", argv[i]);
            return 1;
        }
        std::printf("%s: %.1f %% of the pixels lit\n", argv[i], 100.0 * frame.m_Lit);
        if (frame.m_Lit < 0.01)
        {
            std::printf("FAIL: %s is black\n", argv[i]);
            pass = false;
        }
        if (i == 1)
            continue;
        const SFrame& previous = frames[static_cast<size_t>(i - 2)];
        if (previous.m_Grey.size() != frame.m_Grey.size())
        {
            std::printf("FAIL: %s has another size than %s\n", argv[i], argv[i - 1]);
            return 1;
        }
        double difference = 0.0;
        for (size_t p = 0; p < frame.m_Grey.size(); ++p)
            difference += std::abs(frame.m_Grey[p] - previous.m_Grey[p]);
        difference /= static_cast<double>(frame.m_Grey.size());
        std::printf("%s against %s: mean difference %.1f\n", argv[i], argv[i - 1], difference);
        if (difference < 2.0)
        {
            std::printf("FAIL: %s looks like %s\n", argv[i], argv[i - 1]);
            pass = false;
        }
    }
    std::printf(pass ? "PASS\n" : "FAIL\n");
    return pass ? 0 : 1;
}
