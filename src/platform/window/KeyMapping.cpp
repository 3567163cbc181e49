#include "platform/window/KeyMapping.h"

#include "platform/window/WindowMessage.h"

namespace platform
{
namespace
{
struct SKeyPair
{
    SDL_Scancode scancode;
    uint32_t virtualKey;
};

// Keys that are neither letters, digits nor function keys.
constexpr SKeyPair kNamedKeys[] = {
    {SDL_SCANCODE_BACKSPACE, VK_BACK}, {SDL_SCANCODE_TAB, VK_TAB},       {SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT},   {SDL_SCANCODE_RSHIFT, VK_SHIFT},  {SDL_SCANCODE_LCTRL, VK_CONTROL},
    {SDL_SCANCODE_RCTRL, VK_CONTROL},  {SDL_SCANCODE_LALT, VK_MENU},     {SDL_SCANCODE_RALT, VK_MENU},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE},  {SDL_SCANCODE_SPACE, VK_SPACE},   {SDL_SCANCODE_PAGEUP, VK_PRIOR},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT},  {SDL_SCANCODE_END, VK_END},       {SDL_SCANCODE_HOME, VK_HOME},
    {SDL_SCANCODE_LEFT, VK_LEFT},      {SDL_SCANCODE_UP, VK_UP},         {SDL_SCANCODE_RIGHT, VK_RIGHT},
    {SDL_SCANCODE_DOWN, VK_DOWN},      {SDL_SCANCODE_INSERT, VK_INSERT}, {SDL_SCANCODE_DELETE, VK_DELETE},
    {SDL_SCANCODE_SLASH, VK_OEM_2},
};
}

uint32_t VirtualKeyFromScancode(SDL_Scancode scancode)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 'A' + (scancode - SDL_SCANCODE_A);
    // SDL orders the digit row 1..9, 0.
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0)
        return '0';
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return VK_F1 + (scancode - SDL_SCANCODE_F1);
    for (const SKeyPair& pair : kNamedKeys)
        if (pair.scancode == scancode)
            return pair.virtualKey;
    return 0;
}

std::array<SDL_Scancode, 2> ScancodesOfVirtualKey(uint32_t virtualKey)
{
    switch (virtualKey)
    {
    case VK_LSHIFT:
        return {SDL_SCANCODE_LSHIFT, SDL_SCANCODE_UNKNOWN};
    case VK_RSHIFT:
        return {SDL_SCANCODE_RSHIFT, SDL_SCANCODE_UNKNOWN};
    case VK_LCONTROL:
        return {SDL_SCANCODE_LCTRL, SDL_SCANCODE_UNKNOWN};
    case VK_RCONTROL:
        return {SDL_SCANCODE_RCTRL, SDL_SCANCODE_UNKNOWN};
    default:
        break;
    }
    std::array<SDL_Scancode, 2> found{SDL_SCANCODE_UNKNOWN, SDL_SCANCODE_UNKNOWN};
    size_t count = 0;
    for (int code = SDL_SCANCODE_UNKNOWN + 1; code < SDL_NUM_SCANCODES && count < found.size(); ++code)
    {
        const auto scancode = static_cast<SDL_Scancode>(code);
        if (VirtualKeyFromScancode(scancode) == virtualKey)
            found[count++] = scancode;
    }
    return found;
}
}
