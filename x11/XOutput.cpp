// Images onto the window with XShmPutImage or XPutImage.
#include "x11/XOutput.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <bit>

namespace zorv {

namespace {

unsigned long g_xErrors = 0;
char g_lastXError[160] = "";

extern "C" int OnXError(Display* display, XErrorEvent* event) {
    ++g_xErrors;
    XGetErrorText(display, event->error_code, g_lastXError, sizeof g_lastXError);
    return 0;
}

constexpr int kNativeOrder = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;

}  // namespace

void TrapXErrors() { XSetErrorHandler(OnXError); }
unsigned long XErrorCount() { return g_xErrors; }
const char* LastXError() { return g_lastXError; }

XOutput::XOutput(Display* display, Window window, Visual* visual, int depth, const PixelFormat& format)
    : m_display(display),
      m_window(window),
      m_visual(visual),
      m_depth(depth),
      m_format(format),
      m_gc(XCreateGC(display, window, 0, nullptr)),
      // Shared pixels are not reordered on the way: only for a server of our byte order.
      m_shmOffered(XShmQueryExtension(display) && ImageByteOrder(display) == kNativeOrder) {}

XOutput::~XOutput() {
    FreeImage();
    XFreeGC(m_display, m_gc);
}

void XOutput::Show(const std::vector<std::uint32_t>& columns, int width, int height) {
    if (!m_image || m_image->width != width || m_image->height != height) {
        FreeImage();
        if (!MakeImage(width, height)) return;
    }
    ColumnsToRows(m_format, columns.data(), width, height, reinterpret_cast<std::uint32_t*>(m_image->data),
                  m_image->bytes_per_line / 4);
    Put(0, 0, width, height);
}

void XOutput::Redraw(int x, int y, int width, int height) {
    if (!m_image) return;
    const int right = std::min(x + width, m_image->width), bottom = std::min(y + height, m_image->height);
    if (x < right && y < bottom) Put(x, y, right - x, bottom - y);
}

void XOutput::Put(int x, int y, int width, int height) {
    if (m_shared) {
        XShmPutImage(m_display, m_window, m_gc, m_image, x, y, x, y, width, height, False);
        XSync(m_display, False);  // the server has read the pixels before the next image overwrites them
    } else {
        XPutImage(m_display, m_window, m_gc, m_image, x, y, x, y, width, height);
        XFlush(m_display);
    }
}

bool XOutput::MakeImage(int width, int height) {
    if (m_shmOffered && MakeSharedImage(width, height)) return true;
    m_image = XCreateImage(m_display, m_visual, static_cast<unsigned>(m_depth), ZPixmap, 0, nullptr,
                           static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (!m_image) return false;
    m_image->byte_order = kNativeOrder;  // our 32-bit writes; Xlib reorders for the server when it must
    m_pixels.assign(static_cast<std::size_t>(m_image->bytes_per_line / 4) * static_cast<std::size_t>(height), 0u);
    m_image->data = reinterpret_cast<char*>(m_pixels.data());
    return true;
}

bool XOutput::MakeSharedImage(int width, int height) {
    m_image = XShmCreateImage(m_display, m_visual, static_cast<unsigned>(m_depth), ZPixmap, nullptr, &m_segment,
                              static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (!m_image) return false;
    m_segment.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(m_image->bytes_per_line) * height, IPC_CREAT | 0600);
    void* memory = m_segment.shmid >= 0 ? shmat(m_segment.shmid, nullptr, 0) : reinterpret_cast<void*>(-1);
    const unsigned long errors = g_xErrors;
    bool attached = false;
    if (memory != reinterpret_cast<void*>(-1)) {
        m_segment.shmaddr = m_image->data = static_cast<char*>(memory);
        m_segment.readOnly = False;
        // A server on another machine refuses the segment: then plain XPutImage.
        attached = XShmAttach(m_display, &m_segment) && (XSync(m_display, False), g_xErrors == errors);
    }
    // Removed now, the segment goes with the last process that has it attached.
    if (m_segment.shmid >= 0) shmctl(m_segment.shmid, IPC_RMID, nullptr);
    if (!attached) {
        g_xErrors = errors;
        if (memory != reinterpret_cast<void*>(-1)) shmdt(memory);
        m_image->data = nullptr;
        XDestroyImage(m_image);
        m_image = nullptr;
        return false;
    }
    m_shared = true;
    return true;
}

void XOutput::FreeImage() {
    if (!m_image) return;
    if (m_shared) {
        XShmDetach(m_display, &m_segment);
        XSync(m_display, False);
        shmdt(m_segment.shmaddr);
        m_shared = false;
    }
    m_image->data = nullptr;  // ours, not Xlib's to free
    XDestroyImage(m_image);
    m_image = nullptr;
}

}  // namespace zorv
