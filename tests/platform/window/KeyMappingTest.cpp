#include "platform/window/KeyMapping.h"
#include "platform/window/WindowMessage.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(KeyMapping, MessagesCarryVirtualKeyCodes)
{
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_P), static_cast<uint32_t>('P'));
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_1), static_cast<uint32_t>('1'));
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_0), static_cast<uint32_t>('0'));
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_F1), static_cast<uint32_t>(VK_F1));
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_ESCAPE), 27u);
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_LEFT), static_cast<uint32_t>(VK_LEFT));
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_DOWN), static_cast<uint32_t>(VK_DOWN));
    // Modifiers arrive as their generic codes.
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_LCTRL), static_cast<uint32_t>(VK_CONTROL));
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_RSHIFT), static_cast<uint32_t>(VK_SHIFT));
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_UNKNOWN), 0u);
}

TEST(KeyMapping, KeyStateQueriesFindTheKeysThatHoldThem)
{
    // Left and right variants answer only for their own side; the generic code for both.
    EXPECT_EQ(ScancodesOfVirtualKey(VK_LCONTROL)[0], SDL_SCANCODE_LCTRL);
    EXPECT_EQ(ScancodesOfVirtualKey(VK_LCONTROL)[1], SDL_SCANCODE_UNKNOWN);
    EXPECT_EQ(ScancodesOfVirtualKey(VK_LSHIFT)[0], SDL_SCANCODE_LSHIFT);
    const auto shift = ScancodesOfVirtualKey(VK_SHIFT);
    EXPECT_EQ(shift[0], SDL_SCANCODE_LSHIFT);
    EXPECT_EQ(shift[1], SDL_SCANCODE_RSHIFT);
    for (uint32_t key :
         {uint32_t('P'), uint32_t(VK_SPACE), uint32_t(VK_HOME), uint32_t(VK_END), uint32_t(VK_UP)})
    {
        const auto scancodes = ScancodesOfVirtualKey(key);
        ASSERT_NE(scancodes[0], SDL_SCANCODE_UNKNOWN) << key;
        EXPECT_EQ(VirtualKeyFromScancode(scancodes[0]), key);
    }
}

TEST(WindowMessage, WordsPackAndUnpack)
{
    const int64_t packed = PackWords(1919, 1079);
    EXPECT_EQ(LowWord(packed), 1919u);
    EXPECT_EQ(HighWord(packed), 1079u);
}
