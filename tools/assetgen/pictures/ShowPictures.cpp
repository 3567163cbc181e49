#include "pictures/ShowPictures.h"

#include "pictures/BallScenePictures.h"
#include "pictures/CreditCards.h"
#include "pictures/TitlePictures.h"

#include <cstdio>

namespace
{
bool Write(const CCanvas& canvas, const std::string& folder, const std::string& file, int quality = 92)
{
    const std::string path = folder + "/" + file;
    const CRgbaImage image = canvas.ToImage();
    const bool png = file.size() > 4 && file.compare(file.size() - 4, 4, ".png") == 0;
    if (png ? image.WritePng(path) : image.WriteJpeg(path, quality))
        return true;
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return false;
}

// The traced-ball scenes' overlays with their coverage pictures, and the floors. Above quality
// 90 the encoder keeps full colour resolution, which the floors' one-texel tiles need.
bool MakeBallScenePictures(const std::string& folder, const SShowFonts& fonts)
{
    bool succeeded = true;
    const SOverlayPicture overlays[] = {MakeFieldOverlay(fonts), MakeBallsOverlay(fonts),
                                        MakeJugglerOverlay(fonts)};
    for (int i = 0; i < 3; ++i)
    {
        const std::string name = "design" + std::to_string(i + 1);
        succeeded = Write(overlays[i].m_Color, folder, name + ".jpg", 95) && succeeded;
        succeeded = Write(overlays[i].m_Alpha, folder, name + "-alpha.jpg", 95) && succeeded;
    }
    succeeded = Write(MakeTileFloor(), folder, "floor.jpg", 95) && succeeded;
    return Write(MakeMetalFloor(), folder, "metal.jpg", 95) && succeeded;
}
}

bool MakeShowPictures(const std::string& folder, const std::string& fontFolder)
{
    SShowFonts fonts;
    if (!fonts.PrepareOutput(folder, fontFolder))
        return false;
    bool succeeded = Write(MakeScrollPicture(), folder, "dupa.jpg");
    succeeded = Write(MakeGroupBanner(fonts), folder, "quorridge.jpg") && succeeded;
    succeeded = Write(MakePresentsPicture(fonts), folder, "presents.jpg") && succeeded;
    succeeded = Write(MakeTitlePicture(fonts), folder, "harlune1.jpg") && succeeded;
    size_t cardCount = 0;
    const SCreditCard* cards = CreditCards(cardCount);
    for (size_t i = 0; i < cardCount; ++i)
        succeeded = Write(MakeCreditCard(cards[i], fonts), folder, cards[i].m_File) && succeeded;
    succeeded = Write(MakeEndPicture(fonts), folder, "end.jpg") && succeeded;
    CCanvas white(64, 64);
    white.FillVertical({{0.0f, {1.0f, 1.0f, 1.0f}}});
    succeeded = Write(white, folder, "white.jpg") && succeeded;
    succeeded = MakeBallScenePictures(folder, fonts) && succeeded;
    return succeeded;
}
