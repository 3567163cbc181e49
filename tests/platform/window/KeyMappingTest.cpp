#include "platform/window/KeyMapping.h"
#include "platform/window/WindowMessage.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(KeyMapping, EveryMappedScancodeHoldsItsVirtualKeyDown)
{
    // Letters and the digit row (SDL's order: 1..9, then 0) keep their characters; modifiers
    // arrive as their generic codes.
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_P), static_cast<uint32_t>('P'));
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_1), static_cast<uint32_t>('1'));
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_0), static_cast<uint32_t>('0'));
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_RSHIFT), static_cast<uint32_t>(VK_SHIFT));
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_UNKNOWN), 0u);
    // A key-state query for a key finds every scancode that produces it...
    for (int code = SDL_SCANCODE_UNKNOWN + 1; code < SDL_NUM_SCANCODES; ++code)
    {
        const auto scancode = static_cast<SDL_Scancode>(code);
        if (const uint32_t key = VirtualKeyFromScancode(scancode))
        {
            const auto held = ScancodesOfVirtualKey(key);
            EXPECT_TRUE(held[0] == scancode || held[1] == scancode) << "scancode " << code << ", key " << key;
        }
    }
    // ...and one for a left or right variant only that side.
    EXPECT_EQ(ScancodesOfVirtualKey(VK_LCONTROL), (std::array{SDL_SCANCODE_LCTRL, SDL_SCANCODE_UNKNOWN}));
}

TEST(WindowMessage, WordsPackAndUnpack)
{
    const int64_t packed = PackWords(1919, 1079);
    EXPECT_EQ(LowWord(packed), 1919u);
    EXPECT_EQ(HighWord(packed), 1079u);
}
