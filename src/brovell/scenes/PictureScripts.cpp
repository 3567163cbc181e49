#include "brovell/scenes/PictureScripts.h"

#include <algorithm>

namespace
{
const SVector4 kBlack{0.0f, 0.0f, 0.0f, 0.0f};
const SVector4 kWhite{1.0f, 1.0f, 1.0f, 0.0f};

float Pow7(float p)
{
    const float p2 = p * p;
    return p2 * p2 * p2 * p;
}

// One credits window: from its start time on, p grows at rate up to its limit.
struct SCreditWindow
{
    float m_Start;
    float m_End;
    const char* m_Picture;
    float m_Rate;  // 0: no motion (the first card's still window)
    float m_Limit; // 1 for entries, 1.2 for exits
    int m_Motion;  // which rectangle the window draws
};

enum ECreditMotion
{
    kStill,      // (0, 0, 0.6, 0.6)
    kExitRight,  // (e, e, e + 0.6, e + 0.6)
    kEnterFirst, // (e - 1, e - 1, 0.6, 0.6)
    kExitUp,     // (e, -e, e + 0.6, e + 0.6)
    kEnterBelow, // (0, 1 - e, 1.6 - e, 1.6 - e)
    kExitLeft,   // (-e, -e, e + 0.6, e + 0.6)
};

constexpr SCreditWindow kCredits[] = {
    {-1e30f, 6.0f, "tobrik.jpg", 0.0f, 0.0f, kStill},
    {6.0f, 8.0f, "tobrik.jpg", 0.8f, 1.0f, kExitRight},
    {8.0f, 14.0f, "uvolo.jpg", 0.5f, 1.0f, kEnterFirst},
    {14.0f, 16.0f, "uvolo.jpg", 0.8f, 1.0f, kExitUp},
    {16.0f, 22.0f, "maruvel.jpg", 0.8f, 1.0f, kEnterBelow},
    {22.0f, 24.0f, "maruvel.jpg", 0.8f, 1.2f, kExitLeft},
    {24.0f, 30.0f, "velrin.png", 0.8f, 1.0f, kEnterBelow},
    {30.0f, 32.0f, "velrin.png", 0.8f, 1.2f, kExitLeft},
    {32.0f, 38.0f, "ostyn.png", 0.8f, 1.0f, kEnterBelow},
    {38.0f, 40.0f, "ostyn.png", 0.8f, 1.2f, kExitLeft},
};

SVector4 CreditRectangle(int motion, float e)
{
    switch (motion)
    {
    case kExitRight:
        return {e, e, e + 0.6f, e + 0.6f};
    case kEnterFirst:
        return {e - 1.0f, e - 1.0f, 0.6f, 0.6f};
    case kExitUp:
        return {e, -e, e + 0.6f, e + 0.6f};
    case kEnterBelow:
        return {0.0f, 1.0f - e, 1.6f - e, 1.6f - e};
    case kExitLeft:
        return {-e, -e, e + 0.6f, e + 0.6f};
    default:
        return {0.0f, 0.0f, 0.6f, 0.6f};
    }
}
}

SWobble ScriptImageScene(float t, SPictureLook& look)
{
    look.m_Picture = "dupa.jpg";
    look.m_Rectangle = {-0.5f, std::max(-2.0f - 0.4f * t, -5.0f), 2.0f, 9.0f};
    if (t > 18.0f)
    {
        look.m_OverlayColor = kBlack;
        look.m_OverlayAmount = std::min((t - 18.0f) * 0.4f, 1.0f);
    }
    return {0.3f, 0.3f};
}

SWobble ScriptIntroScene(float t, SPictureLook& look)
{
    if (t < 16.0f)
    {
        look.m_Picture = "quorridge.jpg";
        look.m_Rectangle = {2.0f - 2.0f * t / 5.0f, 0.0f, 0.6f * t / 18.0f + 3.6f, 0.3f * t / 18.0f + 0.3f};
        return {};
    }
    if (t > 16.0f && t < 21.0f)
    {
        const float d = (t - 18.0f) * 0.2f / 14.0f;
        look.m_Picture = "presents.jpg";
        look.m_Rectangle = {0.0f, 0.3f, 0.5f + d, 0.5f - d};
        return {};
    }
    if (t > 21.0f)
    {
        const float s = std::min(25.0f * (t - 21.0f) * (t - 21.0f), 1.0f);
        look.m_Picture = "harlune1.jpg";
        look.m_Rectangle = {0.5f * (s - 0.5f), 0.5f * (s - 0.5f), 1.5f - s, 1.5f - s};
        look.m_OverlayColor = kWhite;
        look.m_OverlayAmount = 1.0f - 2.0f * s;
        return {0.2f, 0.1f};
    }
    return {};
}

SWobble ScriptOutroScene(float t, SPictureLook& look)
{
    for (const SCreditWindow& window : kCredits)
    {
        if (!(t > window.m_Start && t < window.m_End))
            continue;
        const float p = std::min((t - window.m_Start) * window.m_Rate, window.m_Limit);
        look.m_Picture = window.m_Picture;
        look.m_Rectangle = CreditRectangle(window.m_Motion, Pow7(p));
        return {0.1f, 0.1f};
    }
    return {};
}

SWobble ScriptImage2Scene(float t, SPictureLook& look)
{
    look.m_Picture = "end.jpg";
    look.m_Rectangle = {0.0f, 0.0f, 1.0f, 1.0f};
    if (t < 0.5f)
    {
        look.m_OverlayColor = kWhite;
        look.m_OverlayAmount = 1.0f - 2.0f * std::min(1.5f * t, 1.0f);
    }
    else if (t > 0.5f)
    {
        look.m_OverlayColor = kBlack;
        look.m_OverlayAmount = std::min((t - 0.5f) * 0.1f, 1.0f);
    }
    return {0.005f, 0.005f};
}
