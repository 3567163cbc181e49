#include "pictures/ShowPictures.h"

#include "pictures/CreditCards.h"
#include "pictures/TitlePictures.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace
{
bool Write(const CCanvas& canvas, const std::string& folder, const std::string& file)
{
    const std::string path = folder + "/" + file;
    const CRgbaImage image = canvas.ToImage();
    const bool png = file.size() > 4 && file.compare(file.size() - 4, 4, ".png") == 0;
    if (png ? image.WritePng(path) : image.WriteJpeg(path, 92))
        return true;
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return false;
}
}

bool MakeShowPictures(const std::string& folder, const std::string& fontFolder)
{
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    SShowFonts fonts;
    std::string error;
    if (!fonts.Load(fontFolder, error))
    {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return false;
    }
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
    return succeeded;
}
