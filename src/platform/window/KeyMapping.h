// Translation between SDL scancodes and virtual-key codes. Key messages carry the generic
// code of a modifier (VK_SHIFT, VK_CONTROL, VK_MENU); key-state queries also answer the
// left and right ones.
#pragma once

#include <array>
#include <cstdint>

#include <SDL_scancode.h>

namespace platform
{
uint32_t VirtualKeyFromScancode(SDL_Scancode scancode);
// The scancodes that hold a virtual key down (unused entries are SDL_SCANCODE_UNKNOWN).
std::array<SDL_Scancode, 2> ScancodesOfVirtualKey(uint32_t virtualKey);
}
