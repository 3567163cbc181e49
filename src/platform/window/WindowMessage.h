// The messages the window layer hands to the program's window procedure, with the numbers
// and parameter packing of the classic desktop messages, and the virtual-key codes the
// program reads. lParam of the mouse messages packs x in the low and y in the high word;
// lParam of a size message packs width and height the same way.
#pragma once

#include <cstdint>

namespace platform
{
enum EWindowMessage : uint32_t
{
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_SIZE = 0x0005,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_COMMAND = 0x0111,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
};

struct SWindowMessage
{
    uint32_t message = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
};

inline int64_t PackWords(uint32_t low, uint32_t high)
{
    return static_cast<int64_t>((low & 0xFFFFu) | ((high & 0xFFFFu) << 16));
}
inline uint32_t LowWord(int64_t value)
{
    return static_cast<uint32_t>(value) & 0xFFFFu;
}
inline uint32_t HighWord(int64_t value)
{
    return (static_cast<uint32_t>(value) >> 16) & 0xFFFFu;
}

enum EVirtualKey : uint32_t
{
    VK_LBUTTON = 0x01,
    VK_RBUTTON = 0x02,
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_F1 = 0x70,
    VK_LSHIFT = 0xA0,
    VK_RSHIFT = 0xA1,
    VK_LCONTROL = 0xA2,
    VK_RCONTROL = 0xA3,
    VK_OEM_2 = 0xBF, // the "/?" key
};
// Letters and digits use their upper-case character codes ('A'..'Z', '0'..'9').
}
