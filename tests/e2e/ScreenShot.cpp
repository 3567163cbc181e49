// Saves what an X server's screen shows (the root window, as a viewer sees it, not any
// program's back buffer) to PNG files: COUNT shots INTERVAL_MS apart, all taken first and
// written after, so that they follow each other closely. Files: PREFIX-0.png, PREFIX-1.png...
//   screen_shot PREFIX [COUNT [INTERVAL_MS]]      (the display from DISPLAY)
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stb/stb_image_write.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace
{
// The root window as 8-bit RGB rows, top first; empty when the screen cannot be read.
std::vector<unsigned char> ReadScreen(Display* display, int width, int height)
{
    XImage* image = XGetImage(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image)
        return {};
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    const int redShift = __builtin_ctzl(image->red_mask);
    const int greenShift = __builtin_ctzl(image->green_mask);
    const int blueShift = __builtin_ctzl(image->blue_mask);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const unsigned long pixel = XGetPixel(image, x, y);
            unsigned char* out = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            out[0] = static_cast<unsigned char>((pixel & image->red_mask) >> redShift);
            out[1] = static_cast<unsigned char>((pixel & image->green_mask) >> greenShift);
            out[2] = static_cast<unsigned char>((pixel & image->blue_mask) >> blueShift);
        }
    XDestroyImage(image);
    return rgb;
}
}

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 4)
    {
        std::fprintf(stderr, "usage: screen_shot PREFIX [COUNT [INTERVAL_MS]]\n");
        return 2;
    }
    const std::string prefix = argv[1];
    const int count = argc > 2 ? std::atoi(argv[2]) : 1;
    const int intervalMs = argc > 3 ? std::atoi(argv[3]) : 0;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
    {
        std::fprintf(stderr, "screen_shot: cannot open the X display\n");
        return 1;
    }
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, DefaultRootWindow(display), &attributes);
    const int width = attributes.width;
    const int height = attributes.height;
    std::vector<std::vector<unsigned char>> shots;
    for (int i = 0; i < count; ++i)
    {
        if (i > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(intervalMs));
        shots.push_back(ReadScreen(display, width, height));
        if (shots.back().empty())
        {
            std::fprintf(stderr, "screen_shot: cannot read the screen\n");
            XCloseDisplay(display);
            return 1;
        }
    }
    XCloseDisplay(display);
    for (int i = 0; i < count; ++i)
    {
        const std::string path = prefix + "-" + std::to_string(i) + ".png";
        if (!stbi_write_png(path.c_str(), width, height, 3, shots[i].data(), width * 3))
        {
            std::fprintf(stderr, "screen_shot: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
