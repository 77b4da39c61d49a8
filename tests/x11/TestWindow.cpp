// A window for the display mode to draw into, as XScreenSaver makes one: shows
// a W x H window (at X, Y when given), prints its id and keeps it until killed.
// Given a window id alone, asks that window to close as a window manager does.
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (display && argc == 2) {  // only sends window argv[1] the window manager's close request
        XEvent e{.xclient = {ClientMessage, 0, True, display, std::strtoul(argv[1], nullptr, 0),
                             XInternAtom(display, "WM_PROTOCOLS", False), 32, {}}};
        e.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        return XSendEvent(display, e.xclient.window, False, NoEventMask, &e) && XSync(display, False) ? 0 : 1;
    }
    if (!display || (argc != 3 && argc != 5)) return 1;
    const int x = argc == 5 ? std::atoi(argv[3]) : 0, y = argc == 5 ? std::atoi(argv[4]) : 0;
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, std::atoi(argv[1]),
                                              std::atoi(argv[2]), 0, 0, BlackPixel(display, DefaultScreen(display)));
    XMapWindow(display, window);
    XSync(display, False);
    std::printf("0x%lx\n", window);
    std::fflush(stdout);
    pause();
}
