// Checks screenshots of the opening scene taken on screens of different sizes: each is
// covered by the picture (no black band), carries the frame-rate text in its top-left corner,
// and the logo under that text, which stands still while the picture drifts, looks alike on
// all of them once scaled to one size: same place, same share of the screen.
//   framing_check SHOT.png...     (exit code 0 when every check holds)
#include <stb/stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
// A screenshot reduced to a coarse grid of mean colours, and what its top-left corner holds.
struct SShot
{
    std::string m_Path;
    int m_Width = 0;
    int m_Height = 0;
    std::vector<float> m_Grid; // kColumns x kRows x 3, top row first
    std::vector<float> m_Logo; // kLogoColumns x kLogoRows x 3
    int m_TextPixels = 0;
};

constexpr int kColumns = 32;
constexpr int kRows = 18;
// The logo's letters, as fractions of the screen: below the text line, inside the logo.
constexpr double kLogoRight = 0.16;
constexpr double kLogoTop = 0.028;
constexpr double kLogoBottom = 0.075;
constexpr int kLogoColumns = 24;
constexpr int kLogoRows = 4;

// Mean colours of a grid of cells over the rectangle [x0, x1) x [y0, y1) of the picture.
std::vector<float> MeanGrid(const unsigned char* rgb, int width, int x0, int y0, int x1, int y1, int columns,
                            int rows)
{
    std::vector<float> grid(static_cast<size_t>(columns * rows * 3), 0.0f);
    std::vector<int> counts(static_cast<size_t>(columns * rows), 0);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
        {
            const int cell = ((y - y0) * rows / (y1 - y0)) * columns + (x - x0) * columns / (x1 - x0);
            for (int c = 0; c < 3; ++c)
                grid[cell * 3 + c] += rgb[(static_cast<size_t>(y) * width + x) * 3 + c];
            ++counts[cell];
        }
    for (int cell = 0; cell < columns * rows; ++cell)
        for (int c = 0; c < 3; ++c)
            grid[cell * 3 + c] /= static_cast<float>(std::max(counts[cell], 1));
    return grid;
}

bool Load(const std::string& path, SShot& shot)
{
    int channels = 0;
    unsigned char* rgb = stbi_load(path.c_str(), &shot.m_Width, &shot.m_Height, &channels, 3);
    if (!rgb)
    {
        std::printf("FAIL: cannot read %s: %s\n", path.c_str(), stbi_failure_reason());
        return false;
    }
    shot.m_Path = path;
    const int w = shot.m_Width, h = shot.m_Height;
    shot.m_Grid = MeanGrid(rgb, w, 0, 0, w, h, kColumns, kRows);
    shot.m_Logo = MeanGrid(rgb, w, 0, static_cast<int>(kLogoTop * h), static_cast<int>(kLogoRight * w),
                           static_cast<int>(kLogoBottom * h), kLogoColumns, kLogoRows);
    // Near-white pixels in the band above the logo's letters, scaled from a 1080-line screen:
    // the frame-rate text puts them there, the band itself is blue to violet.
    const double scale = h / 1080.0;
    const int rows = std::max(1, static_cast<int>(std::lround(20 * scale)));
    const int columns = std::min(w, static_cast<int>(std::lround(200 * scale)));
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x)
        {
            const unsigned char* p = &rgb[(static_cast<size_t>(y) * w + x) * 3];
            shot.m_TextPixels += p[0] > 200 && p[1] > 200 && p[2] > 200;
        }
    stbi_image_free(rgb);
    return true;
}

float CellBrightness(const SShot& shot, int column, int row)
{
    const float* rgb = &shot.m_Grid[(row * kColumns + column) * 3];
    return std::max({rgb[0], rgb[1], rgb[2]});
}

// A column or row of cells all near black is a band the picture does not reach.
bool Covered(const SShot& shot)
{
    for (int column = 0; column < kColumns; ++column)
    {
        bool dark = true;
        for (int row = 0; row < kRows && dark; ++row)
            dark = CellBrightness(shot, column, row) < 12.0f;
        if (dark)
        {
            std::printf("FAIL: %s: column %d of %d is black from top to bottom\n", shot.m_Path.c_str(),
                        column, kColumns);
            return false;
        }
    }
    for (int row = 0; row < kRows; ++row)
    {
        bool dark = true;
        for (int column = 0; column < kColumns && dark; ++column)
            dark = CellBrightness(shot, column, row) < 12.0f;
        if (dark)
        {
            std::printf("FAIL: %s: row %d of %d is black from left to right\n", shot.m_Path.c_str(), row,
                        kRows);
            return false;
        }
    }
    return true;
}

// Mean difference of the logo grids' colours, 0 to 255.
float LogoDifference(const SShot& a, const SShot& b)
{
    double sum = 0.0;
    for (size_t i = 0; i < a.m_Logo.size(); ++i)
        sum += std::fabs(a.m_Logo[i] - b.m_Logo[i]);
    return static_cast<float>(sum / a.m_Logo.size());
}
}

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: framing_check SHOT.png...\n");
        return 2;
    }
    // The tolerance allows for filtering at different scales; a logo moved or sized by a
    // fraction of its letters is far off.
    constexpr float kTolerance = 12.0f;
    std::vector<SShot> shots(static_cast<size_t>(argc - 1));
    bool pass = true;
    for (int i = 1; i < argc; ++i)
    {
        SShot& shot = shots[static_cast<size_t>(i - 1)];
        if (!Load(argv[i], shot))
            return 1;
        const int minimumText = std::max(10, static_cast<int>(40 * shot.m_Height / 1080.0));
        std::printf("%s: %dx%d, %d text pixels in the top-left corner\n", shot.m_Path.c_str(), shot.m_Width,
                    shot.m_Height, shot.m_TextPixels);
        pass = Covered(shot) && pass;
        if (shot.m_TextPixels < minimumText)
        {
            std::printf("FAIL: %s: no frame-rate text in the top-left corner\n", shot.m_Path.c_str());
            pass = false;
        }
    }
    for (size_t i = 1; i < shots.size(); ++i)
    {
        const float difference = LogoDifference(shots[0], shots[i]);
        std::printf("%s against %s: the logo differs by %.1f of 255\n", shots[i].m_Path.c_str(),
                    shots[0].m_Path.c_str(), difference);
        if (difference > kTolerance)
        {
            std::printf("FAIL: %s: the logo is not where and as large as on %s\n", shots[i].m_Path.c_str(),
                        shots[0].m_Path.c_str());
            pass = false;
        }
    }
    std::printf(pass ? "PASS: every screenshot is framed alike\n" : "FAIL\n");
    return pass ? 0 : 1;
}
