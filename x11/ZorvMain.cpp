// zorv: the saver as an XScreenSaver display mode. Thin Xlib glue around the
// portable core: the window to draw into, the paint tick, the window's events
// and the signals that end it.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "fractal/ColorTable.h"
#include "fractal/FractalState.h"
#include "fractal/Random.h"
#include "fractal/Renderer.h"
#include "settings/IniFileStore.h"
#include "settings/SaverSettings.h"
#include "x11/PixelFormat.h"
#include "x11/SaverOptions.h"
#include "x11/XOutput.h"

namespace {

using namespace zorv;
using Clock = std::chrono::steady_clock;

volatile sig_atomic_t g_stop = 0;
int g_wake[2] = {-1, -1};  // the signal handler's wake-up for poll

extern "C" void OnStopSignal(int) {
    const int saved = errno;
    g_stop = 1;
    [[maybe_unused]] const ssize_t written = write(g_wake[1], "", 1);
    errno = saved;
}

extern "C" int OnXConnectionLost(Display*) {
    static const char kMessage[] = "zorv: lost the connection to the X display\n";
    [[maybe_unused]] const ssize_t written = write(2, kMessage, sizeof kMessage - 1);
    std::_Exit(1);
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "zorv: %s\n", message.c_str());
    return 1;
}

bool CatchStopSignals() {
    if (pipe(g_wake) != 0) return false;
    for (int fd : g_wake) {
        fcntl(fd, F_SETFL, O_NONBLOCK);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
}

int BitsPerPixel(Display* display, int depth) {
    int count = 0, bits = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    for (int i = 0; i < count; ++i) {
        if (formats[i].depth == depth) bits = formats[i].bits_per_pixel;
    }
    if (formats) XFree(formats);
    return bits;
}

struct Saver {
    Saver(Display* d, Window w, Atom del, XOutput& out, const SaverSettings& s, std::uint32_t seed)
        : display(d), window(w), deleteWindow(del), output(out), settings(s), random(seed) {}

    Display* display;
    Window window;
    Atom deleteWindow;
    XOutput& output;
    FractalState state{};
    ColorTable colors{};
    SaverSettings settings;
    Random random;
    std::unique_ptr<XCanvas> canvas;
    int newWidth = 0, newHeight = 0;
    bool ended = false;

    void Handle(const XEvent& event) {
        switch (event.type) {
            case Expose:
                output.Redraw(event.xexpose.x, event.xexpose.y, event.xexpose.width, event.xexpose.height);
                break;
            case ConfigureNotify:
                newWidth = event.xconfigure.width;
                newHeight = event.xconfigure.height;
                break;
            case DestroyNotify:
                ended = true;
                break;
            case ClientMessage:
                if (static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) ended = true;
                break;
            default:
                break;
        }
    }

    // A new size starts a new image at that size; the last image stays on show until then.
    void Resize() {
        if (TakeClientSize(state, newWidth, newHeight)) canvas = std::make_unique<XCanvas>(output, newWidth, newHeight);
    }

    // Paints until a stop signal or the window's end; 1 after an X error.
    int Run(long delayMicroseconds) {
        RenderContext context{state, colors, settings, random};
        const auto delay = std::chrono::microseconds(delayMicroseconds);
        auto nextTick = Clock::now();
        pollfd waits[2] = {{ConnectionNumber(display), POLLIN, 0}, {g_wake[0], POLLIN, 0}};
        while (!g_stop) {
            while (!ended && XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
                if (event.xany.window == window) Handle(event);
            }
            if (g_stop || ended) break;
            if (XErrorCount() > 0) return Fail(std::string("X error: ") + LastXError());
            Resize();
            const auto now = Clock::now();
            // Until the first picture is up, batches follow each other at once.
            if (AwaitingFirstPicture(state) || now >= nextTick) {
                nextTick = now + delay;
                ComputeBatch(context, *canvas);
                XFlush(display);
                continue;
            }
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(nextTick - now).count();
            if (poll(waits, 2, static_cast<int>(wait)) > 0 && (waits[1].revents & POLLIN)) {
                char drained[16];
                while (read(g_wake[0], drained, sizeof drained) > 0) {
                }
            }
        }
        return 0;
    }
};

Window OwnWindow(Display* display, Atom deleteWindow) {
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 800, 600, 0,
                                              BlackPixel(display, screen), BlackPixel(display, screen));
    XStoreName(display, window, "Zorv");
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XMapWindow(display, window);
    return window;
}

int Main(const SaverOptions& options) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        const char* name = std::getenv("DISPLAY");
        return Fail(std::string("cannot open display ") + (name && *name ? name : "(DISPLAY is not set)"));
    }
    const std::unique_ptr<Display, int (*)(Display*)> closer(display, XCloseDisplay);
    TrapXErrors();
    XSetIOErrorHandler(OnXConnectionLost);

    WindowChoice choice{};
    std::string error;
    if (!ChooseWindow(options, std::getenv("XSCREENSAVER_WINDOW"), choice, error)) return Fail(error);
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    const Window window = choice.target == DrawTarget::OwnWindow ? OwnWindow(display, deleteWindow)
                    : choice.target == DrawTarget::Root    ? DefaultRootWindow(display)
                                                           : static_cast<Window>(choice.id);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes) || XErrorCount() > 0) {
        char id[24];
        std::snprintf(id, sizeof id, "0x%lx", static_cast<unsigned long>(window));
        return Fail(std::string("no window ") + id + " on this display");
    }
    const Visual* visual = attributes.visual;
    const VisualFacts facts{visual->c_class == TrueColor,
                            attributes.depth,
                            BitsPerPixel(display, attributes.depth),
                            static_cast<std::uint32_t>(visual->red_mask),
                            static_cast<std::uint32_t>(visual->green_mask),
                            static_cast<std::uint32_t>(visual->blue_mask)};
    const std::optional<PixelFormat> format = ChoosePixelFormat(facts, error);
    if (!format) return Fail(error);
    // Another client's window: only our own events on it are chosen, nothing of it is changed.
    XSelectInput(display, window, ExposureMask | StructureNotifyMask);
    if (!CatchStopSignals()) return Fail("cannot catch SIGTERM and SIGINT");

    XOutput output(display, window, attributes.visual, attributes.depth, *format);
    SaverSettings settings = DefaultSettings();
    IniFileStore store(IniFileStore::DefaultPath());
    LoadSettings(settings, store);
    ApplySettingOptions(options, settings);
    Saver saver(display, window, deleteWindow, output, settings,
                options.seed ? *options.seed : static_cast<std::uint32_t>(std::time(nullptr)));
    saver.newWidth = attributes.width;
    saver.newHeight = attributes.height;
    return saver.Run(options.delayMicroseconds);  // closing the display ends our own window too
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    SaverOptions options;
    std::string error;
    if (!ParseSaverOptions(args, options, error)) return Fail(error);
    if (options.help) {
        std::fputs(SaverUsage(), stdout);
        return 0;
    }
    return Main(options);
}
