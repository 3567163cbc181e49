// Asks a top-level X11 window, found by the start of its title, to close, as a window
// manager's close button does (WM_DELETE_WINDOW). Exit code 0 when the request was sent.
//   close_window TITLE_PREFIX
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>

namespace
{
Window FindByTitle(Display* display, Window window, const char* prefix)
{
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name)
    {
        const bool match = std::strncmp(name, prefix, std::strlen(prefix)) == 0;
        XFree(name);
        if (match)
            return window;
    }
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count))
    {
        for (unsigned int i = 0; i < count && !found; ++i)
            found = FindByTitle(display, children[i], prefix);
        if (children)
            XFree(children);
    }
    return found;
}
}

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: close_window TITLE_PREFIX\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display)
    {
        std::fprintf(stderr, "close_window: cannot open the display\n");
        return 2;
    }
    const Window window = FindByTitle(display, DefaultRootWindow(display), argv[1]);
    if (!window)
    {
        std::fprintf(stderr, "close_window: no window titled '%s...'\n", argv[1]);
        XCloseDisplay(display);
        return 1;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    XCloseDisplay(display);
    return 0;
}
