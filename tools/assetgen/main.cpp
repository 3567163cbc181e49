// assetgen: makes the generated assets into a folder.
//   assetgen <output folder> [kind...]    kinds: music, pictures, show, zoom, car (all kinds
//   when none is named)
#include "car/CarAssets.h"
#include "music/MusicMaker.h"
#include "pictures/PictureMaker.h"
#include "pictures/ShowPictures.h"
#include "zoom/ZoomPictures.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace
{
bool MakeShow(const std::string& folder)
{
    return MakeShowPictures(folder, BROVELL_FONT_DIR);
}

bool MakeZoom(const std::string& folder)
{
    return MakeZoomPictures(folder, BROVELL_FONT_DIR);
}

struct SAssetKind
{
    const char* m_Name;
    bool (*m_Make)(const std::string& folder);
};

constexpr SAssetKind kKinds[] = {
    {"music", &MakeMusic}, {"pictures", &MakePictures}, {"show", &MakeShow},
    {"zoom", &MakeZoom},   {"car", &MakeCarAssets},
};
}

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: assetgen <output folder> [kind...]\n");
        return 2;
    }
    const std::string folder = argv[1];
    bool succeeded = true;
    for (const SAssetKind& kind : kKinds)
    {
        bool wanted = argc == 2;
        for (int i = 2; i < argc; ++i)
            wanted = wanted || std::strcmp(argv[i], kind.m_Name) == 0;
        if (wanted)
            succeeded = kind.m_Make(folder) && succeeded;
    }
    for (int i = 2; i < argc; ++i)
    {
        bool known = false;
        for (const SAssetKind& kind : kKinds)
            known = known || std::strcmp(argv[i], kind.m_Name) == 0;
        if (!known)
        {
            std::fprintf(stderr, "assetgen: unknown asset kind \"%s\"\n", argv[i]);
            succeeded = false;
        }
    }
    return succeeded ? 0 : 1;
}
