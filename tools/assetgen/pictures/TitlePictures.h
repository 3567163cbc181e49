// The pictures of the opening, the titles and the end. Sizes follow the rectangles the
// scenes show them in on a 16:9 screen, so their texels come out about square.
#pragma once

#include "pictures/Canvas.h"
#include "pictures/ShowFonts.h"

// "dupa.jpg": the opening scroll, a tall view from the night sky down through a sunset over
// mountains to the sea that mirrors it. 1024 x 2592.
CCanvas MakeScrollPicture();
// "quorridge.jpg": the group's name on a long glowing banner. 4096 x 256.
CCanvas MakeGroupBanner(const SShowFonts& fonts);
// "presents.jpg": the word in gold serif letters on dusk violet. 1024 x 576.
CCanvas MakePresentsPicture(const SShowFonts& fonts);
// "harlune1.jpg": the production's title, "BROVELL", in glowing gold over rays of light.
// 1280 x 720.
CCanvas MakeTitlePicture(const SShowFonts& fonts);
// "end.jpg": the closing words over a quiet horizon. 1920 x 1080.
CCanvas MakeEndPicture(const SShowFonts& fonts);
