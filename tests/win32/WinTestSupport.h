// Test helpers under Wine: a recorder for the application message box, test
// pictures of every depth in both header layouts with the colours they show,
// a 32-bit memory DC read back pixel by pixel, and a count of GDI objects.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/AppMessageBox.h"

namespace wintest {

using Bytes = std::vector<std::uint8_t>;
using Texts = std::vector<std::string>;

// Records every application message box while it lives instead of showing it.
class MessageBoxRecorder {
public:
    MessageBoxRecorder() : m_previous(SetAppMessageBoxHook(&Record)) { Clear(); }
    ~MessageBoxRecorder() { SetAppMessageBoxHook(m_previous); }
    static Texts& Messages() {
        static Texts texts;
        return texts;
    }
    static void Clear() { Messages().clear(); }

private:
    // Every box of the image store is a plain OK box without help: anything else is recorded as a fault.
    static int Record(const char* text, UINT type, UINT help) {
        Messages().push_back(std::string(text) + (type != 0 || help != 0 ? " (style or help set)" : ""));
        return IDOK;
    }
    AppMessageBoxHook m_previous;
};

inline COLORREF TableColor(int i) { return RGB((i * 37 + 11) & 0xFF, (255 - i * 11) & 0xFF, (i * 5 + 3) & 0xFF); }

// Pixel (x, y) from the top: an index up to 8 bits, else a colour (16-bit rows stay 0).
inline std::uint32_t PixelValue(int bits, int x, int y) {
    if (bits <= 8) return static_cast<std::uint32_t>(x * 3 + y * 5 + 1) % (1u << bits);
    return RGB((x * 40 + 7) & 0xFF, (y * 60 + 9) & 0xFF, (x * y * 13 + 100) & 0xFF);
}

inline COLORREF ShownColor(int bits, int x, int y) {
    const std::uint32_t v = PixelValue(bits, x, y);
    return bits <= 8 ? TableColor(static_cast<int>(v)) : v;
}

struct Picture {
    int bits = 24, w = 2, h = 2;
    bool core = false;  // 12-byte header and 3-byte table entries
};

inline int RowBytes(int w, int bits) { return (w * bits + 31) / 32 * 4; }

// The packed DIB: header, colour table, rows from the bottom. A negative height
// is written as it is, with no rows.
inline Bytes Dib(const Picture& p) {
    const int colors = p.bits <= 8 ? 1 << p.bits : 0;
    Bytes dib(p.core ? sizeof(BITMAPCOREHEADER) : sizeof(BITMAPINFOHEADER));
    if (p.core) {
        const BITMAPCOREHEADER h{12, static_cast<WORD>(p.w), static_cast<WORD>(p.h), 1, static_cast<WORD>(p.bits)};
        std::memcpy(dib.data(), &h, sizeof h);
    } else {
        const BITMAPINFOHEADER h{40, p.w, p.h, 1, static_cast<WORD>(p.bits), BI_RGB, 0, 0, 0, 0, 0};
        std::memcpy(dib.data(), &h, sizeof h);
    }
    for (int i = 0; i < colors; ++i) {
        const COLORREF c = TableColor(i);
        dib.insert(dib.end(), {GetBValue(c), GetGValue(c), GetRValue(c)});
        if (!p.core) dib.push_back(0);
    }
    for (int y = p.h - 1; y >= 0; --y) {
        Bytes line(RowBytes(p.w, p.bits));
        for (int x = 0; x < p.w; ++x) {
            const std::uint32_t v = PixelValue(p.bits, x, y);
            const unsigned r = GetRValue(v), g = GetGValue(v), b = GetBValue(v);
            if (p.bits < 8) line[x * p.bits / 8] |= static_cast<std::uint8_t>(v << (8 - p.bits - x * p.bits % 8));
            if (p.bits == 8) line[x] = static_cast<std::uint8_t>(v);
            if (p.bits >= 24) line[x * p.bits / 8] = b, line[x * p.bits / 8 + 1] = g, line[x * p.bits / 8 + 2] = r;
        }
        dib.insert(dib.end(), line.begin(), line.end());
    }
    return dib;
}

// A BMP file around `dib`; the pixel-offset field holds `offset` (the reader ignores it).
inline Bytes File(const Bytes& dib, DWORD offset = 54) {
    const BITMAPFILEHEADER h{0x4D42, static_cast<DWORD>(14 + dib.size()), 0, 0, offset};
    Bytes file(14 + dib.size());
    std::memcpy(file.data(), &h, 14);
    std::copy(dib.begin(), dib.end(), file.begin() + 14);
    return file;
}

inline void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline Bytes BlockBytes(HGLOBAL block) {
    if (block == nullptr) return {};
    const auto* data = static_cast<const std::uint8_t*>(GlobalLock(block));
    Bytes bytes(data, data + GlobalSize(block));
    GlobalUnlock(block);
    return bytes;
}

inline HGLOBAL Block(const Bytes& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

// A memory DC over a top-down 32-bit DIB section, filled with a sentinel colour.
class Target {
public:
    static constexpr COLORREF kSentinel = RGB(1, 2, 3);
    Target(int w, int h) : m_hdc(CreateCompatibleDC(nullptr)), m_w(w), m_h(h) {
        BITMAPINFO info{{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_hdc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_previous = SelectObject(m_hdc, m_bitmap);
        Fill(kSentinel);
    }
    ~Target() {
        SelectObject(m_hdc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_hdc);
    }
    HDC Hdc() const { return m_hdc; }
    COLORREF At(int x, int y) const { return GetPixel(m_hdc, x, y); }
    void Fill(COLORREF color) {
        HBRUSH brush = CreateSolidBrush(color);
        const RECT all{0, 0, m_w, m_h};
        FillRect(m_hdc, &all, brush);
        DeleteObject(brush);
    }
    bool Untouched() const {
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x)
                if (At(x, y) != kSentinel) return false;
        return true;
    }

private:
    HDC m_hdc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
    int m_w, m_h;
};

// Live GDI objects of this process. Wine answers 0 to GetGuiResources; then N
// fresh objects fill every free slot and go above the highest one in use, so
// the highest index they get is live + N - 1.
inline long GdiObjects() {
    if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); counted != 0) return static_cast<long>(counted);
    static HGDIOBJ probes[4096];
    long highest = 0;
    int made = 0;
    for (; made < 4096 && (probes[made] = CreateRectRgn(0, 0, 1, 1)) != nullptr; ++made)
        highest = std::max(highest, static_cast<long>(reinterpret_cast<ULONG_PTR>(probes[made]) & 0xFFFF));
    for (int i = 0; i < made; ++i) DeleteObject(probes[i]);
    return highest - made + 1;
}

}  // namespace wintest
