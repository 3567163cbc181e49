#include "pictures/CreditCards.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
const SCreditCard kCards[] = {
    {"tobrik.jpg", "Tobrik", "code", Srgb(4, 24, 40), Srgb(20, 120, 150), Srgb(120, 240, 230)},
    {"uvolo.jpg", "Uvolo", "graphics", Srgb(24, 6, 40), Srgb(130, 40, 160), Srgb(255, 150, 240)},
    {"maruvel.jpg", "Maruvel", "music", Srgb(40, 10, 4), Srgb(190, 80, 20), Srgb(255, 210, 120)},
    {"velrin.png", "Velrin", "music", Srgb(4, 30, 14), Srgb(30, 140, 70), Srgb(190, 255, 170)},
    {"ostyn.png", "Ostyn", "music", Srgb(6, 10, 40), Srgb(40, 70, 180), Srgb(170, 200, 255)},
};
}

const SCreditCard* CreditCards(size_t& count)
{
    count = std::size(kCards);
    return kCards;
}

CCanvas MakeCreditCard(const SCreditCard& card, const SShowFonts& fonts)
{
    CCanvas canvas(1024, 576);
    // Light from the upper left falling off towards the lower right.
    for (uint32_t y = 0; y < canvas.GetHeight(); ++y)
        for (uint32_t x = 0; x < canvas.GetWidth(); ++x)
        {
            const float u = static_cast<float>(x) / 1023.0f;
            const float v = static_cast<float>(y) / 575.0f;
            const float t = std::clamp(0.6f * u + 0.4f * v, 0.0f, 1.0f);
            canvas.At(x, y) = Mix(card.m_Light, card.m_Dark, std::sqrt(t));
        }
    canvas.AddGlow(200.0f, 120.0f, 300.0f, card.m_Accent * 0.12f);
    // The name's initial, huge and faint, on the right.
    SMask initial(canvas.GetWidth(), canvas.GetHeight());
    fonts.m_SerifBold.DrawCentred(initial, std::string(1, card.m_Name[0]), 800.0f, 560.0f, 700.0f);
    canvas.Paint(initial, card.m_Accent, 0.08f);
    // The role above a line, the name below it.
    SMask role(canvas.GetWidth(), canvas.GetHeight());
    fonts.m_Serif.Draw(role, card.m_Role, 96.0f, 250.0f, 54.0f, 6.0f);
    canvas.AddLight(Blurred(role, 8), card.m_Accent * 0.4f);
    canvas.Paint(role, card.m_Accent);
    SMask line(canvas.GetWidth(), canvas.GetHeight());
    for (uint32_t y = 276; y < 280; ++y)
        for (uint32_t x = 96; x < 520; ++x)
            line.At(x, y) = 1.0f - static_cast<float>(x - 96) / 424.0f;
    canvas.Paint(line, card.m_Accent, 0.9f);
    SMask name(canvas.GetWidth(), canvas.GetHeight());
    fonts.m_SansBold.Draw(name, card.m_Name, 90.0f, 400.0f, 132.0f, 4.0f);
    canvas.Paint(Blurred(Shifted(name, 6, 8), 6), Srgb(0, 0, 0), 0.7f);
    canvas.PaintVertical(name, Srgb(255, 255, 255), Mix(Srgb(255, 255, 255), card.m_Accent, 0.6f), 300.0f,
                         400.0f);
    canvas.Vignette(0.5f);
    return canvas;
}
