// The window's side of the saver: a finished image goes into one transfer image
// (in shared memory where the server offers MIT-SHM) and from there onto the
// window; the transfer image keeps it for the exposures until the next one.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>
// X.h's polygon shape would rename the core's complex number type.
#undef Complex

#include <cstdint>
#include <vector>

#include "fractal/MemoryCanvas.h"
#include "x11/PixelFormat.h"

namespace zorv {

// X errors are counted, not fatal: the program decides what a failed request means.
void TrapXErrors();
unsigned long XErrorCount();
const char* LastXError();

class XOutput {
public:
    XOutput(Display* display, Window window, Visual* visual, int depth, const PixelFormat& format);
    ~XOutput();
    XOutput(const XOutput&) = delete;
    XOutput& operator=(const XOutput&) = delete;

    // A column-major picture (as MemoryCanvas keeps it) onto the window at (0, 0).
    void Show(const std::vector<std::uint32_t>& columns, int width, int height);
    // The exposed part of the window again, as far as the image on show covers it.
    void Redraw(int x, int y, int width, int height);

private:
    bool MakeImage(int width, int height);
    bool MakeSharedImage(int width, int height);
    void FreeImage();
    void Put(int x, int y, int width, int height);

    Display* m_display;
    Window m_window;
    Visual* m_visual;
    int m_depth;
    PixelFormat m_format;
    GC m_gc;
    bool m_shmOffered;
    bool m_shared = false;
    XImage* m_image = nullptr;
    XShmSegmentInfo m_segment{};
    std::vector<std::uint32_t> m_pixels;  // the plain image's data
};

// The renderer's canvas: kept column by column, shown through the output when
// the renderer presents an image.
class XCanvas : public MemoryCanvas {
public:
    XCanvas(XOutput& output, int width, int height) : MemoryCanvas(width, height), m_output(output) {}

protected:
    void OnPresent(int, int) override { m_output.Show(Columns(), Width(), Height()); }

private:
    XOutput& m_output;
};

}  // namespace zorv
