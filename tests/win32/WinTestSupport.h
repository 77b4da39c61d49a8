// Test helpers under Wine: test pictures of every depth in both header layouts
// with the colours they show, memory DCs over DIB sections, and a count of GDI objects.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#include "framework/DC.h"
#include "framework/ObjectCounts.h"
#include "tests/core/TempDir.h"

namespace wintest {

using Bytes = std::string;  // raw bytes, read and written whole by zorv::ReadFileText and WriteFileText

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

template <class T>
Bytes BytesOf(const T& value) {
    return Bytes(reinterpret_cast<const char*>(&value), sizeof value);
}

inline int RowBytes(int w, int bits) { return (w * bits + 31) / 32 * 4; }

// The packed DIB: header, colour table, rows from the bottom. A negative height
// is written as it is, with no rows.
inline Bytes Dib(const Picture& p) {
    const BITMAPCOREHEADER core{12, static_cast<WORD>(p.w), static_cast<WORD>(p.h), 1, static_cast<WORD>(p.bits)};
    const BITMAPINFOHEADER info{40, p.w, p.h, 1, static_cast<WORD>(p.bits), BI_RGB, 0, 0, 0, 0, 0};
    Bytes dib = p.core ? BytesOf(core) : BytesOf(info);
    for (int i = 0; p.bits <= 8 && i < 1 << p.bits; ++i) {
        for (int shift : {16, 8, 0}) dib += static_cast<char>(TableColor(i) >> shift);  // blue, green, red
        if (!p.core) dib += '\0';
    }
    for (int y = p.h - 1; y >= 0; --y) {
        Bytes line(RowBytes(p.w, p.bits), '\0');
        for (int x = 0; x < p.w; ++x) {
            const std::uint32_t v = PixelValue(p.bits, x, y);
            if (p.bits <= 8) line[x * p.bits / 8] |= static_cast<char>(v << (8 - p.bits - x * p.bits % 8));
            for (int c = 0; p.bits >= 24 && c < 3; ++c) line[x * p.bits / 8 + c] = static_cast<char>(v >> (16 - 8 * c));
        }
        dib += line;
    }
    return dib;
}

// A BMP file around `dib`; the pixel-offset field holds `offset` (the reader ignores it).
inline Bytes File(const Bytes& dib, DWORD offset = 54) {
    return BytesOf(BITMAPFILEHEADER{0x4D42, static_cast<DWORD>(14 + dib.size()), 0, 0, offset}) + dib;
}

inline Bytes BlockBytes(HGLOBAL block) {
    const Bytes bytes(static_cast<const char*>(GlobalLock(block)), GlobalSize(block));
    GlobalUnlock(block);
    return bytes;
}

inline HGLOBAL Block(const Bytes& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

// A memory DC over a DIB section holding a test picture, or 32-bit and all of kSentinel.
class Surface {
public:
    static constexpr COLORREF kSentinel = RGB(1, 2, 3);
    explicit Surface(const Picture& p) {
        const Bytes dib = Dib(p);
        const std::size_t rows = static_cast<std::size_t>(RowBytes(p.w, p.bits)) * p.h;
        void* bits = nullptr;
        dc.CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(dib.data()), DIB_RGB_COLORS, &bits, nullptr, 0);
        std::memcpy(bits, dib.data() + dib.size() - rows, rows);
        m_previous = dc.SelectObject(m_bitmap);
    }
    Surface(int w, int h) : Surface(Picture{32, w, h}) { dc.FillSolidRect(0, 0, w, h, kSentinel); }
    ~Surface() {
        dc.SelectObject(m_previous);
        DeleteObject(m_bitmap);
    }
    COLORREF At(int x, int y) const { return dc.GetPixel(x, y); }
    CDC dc;

private:
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
};

// Points this program's import of a system function, found by its address
// `from`, at `to`: the product code linked in then calls `to`. Returns `from`,
// the system's function while no route is in place; routed back with the two
// swapped. A stand-in calls on through the returned pointer kept in a variable:
// `&F` taken again reads the import, which is the stand-in while the route holds.
template <class F>
F* Route(F* from, F* to) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
    auto** slot = reinterpret_cast<void**>(base + table.VirtualAddress);
    for (DWORD i = 0, was = 0; i < table.Size / sizeof *slot; ++i)
        if (slot[i] == reinterpret_cast<void*>(from) && VirtualProtect(slot + i, sizeof *slot, PAGE_READWRITE, &was))
            return slot[i] = reinterpret_cast<void*>(to), from;
    throw std::logic_error("no import to route");
}

}  // namespace wintest
