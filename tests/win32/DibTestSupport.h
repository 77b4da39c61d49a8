// Test helpers for the image store under Wine: test pictures of every depth in
// both header layouts, a reference decoder for their pixels, BMP files on disk,
// and a 32-bit memory DC whose pixels can be read back.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "image/BmpFile.h"
#include "image/DibHeader.h"

namespace dibtest {

// Colour-table entry i of the test pictures, as blue, green, red.
inline COLORREF TableColor(int i) {
    return RGB((i * 37 + 11) & 0xFF, (255 - i * 11) & 0xFF, (i * 5 + 3) & 0xFF);
}

// Pixel (x, y), top-down, of a test picture: an index for ≤ 8 bits, else a colour.
inline std::uint32_t PixelValue(int bits, int x, int y) {
    if (bits <= 8) return static_cast<std::uint32_t>(x * 3 + y * 5 + 1) % (1u << bits);
    return RGB((x * 40 + 7) & 0xFF, (y * 60 + 9) & 0xFF, (x * y * 13 + 100) & 0xFF);
}

// An uncompressed w × h picture of `bits` (1, 4, 8, 16, 24, 32) in the info layout
// (40-byte header) or the core layout (12-byte header), bottom-up rows.
inline std::vector<std::uint8_t> MakePicture(bool core, int bits, int w, int h) {
    std::vector<std::uint8_t> dib;
    const int colors = bits <= 8 ? 1 << bits : 0;
    if (core) {
        dib.resize(12);
        zorv::WriteLe32(dib, 0, 12);
        zorv::WriteLe16(dib, 4, static_cast<std::uint16_t>(w));
        zorv::WriteLe16(dib, 6, static_cast<std::uint16_t>(h));
        zorv::WriteLe16(dib, 8, 1);
        zorv::WriteLe16(dib, 10, static_cast<std::uint16_t>(bits));
    } else {
        zorv::DibInfoHeader header;
        header.width = w;
        header.height = h;
        header.bitsPerPixel = static_cast<std::uint16_t>(bits);
        const auto bytes = zorv::EncodeInfoHeader(header);
        dib.assign(bytes.begin(), bytes.end());
    }
    for (int i = 0; i < colors; ++i) {
        const COLORREF c = TableColor(i);
        dib.push_back(GetBValue(c));
        dib.push_back(GetGValue(c));
        dib.push_back(GetRValue(c));
        if (!core) dib.push_back(0);
    }
    const std::size_t stride = zorv::DibRowBytes(w, bits);
    for (int row = 0; row < h; ++row) {
        const int y = h - 1 - row;
        std::vector<std::uint8_t> line(stride, 0);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t v = PixelValue(bits, x, y);
            switch (bits) {
                case 1: line[x / 8] |= static_cast<std::uint8_t>(v << (7 - x % 8)); break;
                case 4: line[x / 2] |= static_cast<std::uint8_t>(v << (x % 2 ? 0 : 4)); break;
                case 8: line[x] = static_cast<std::uint8_t>(v); break;
                case 16: {  // 5-5-5
                    const unsigned packed = ((GetRValue(v) >> 3) << 10) | ((GetGValue(v) >> 3) << 5) | (GetBValue(v) >> 3);
                    line[x * 2] = static_cast<std::uint8_t>(packed);
                    line[x * 2 + 1] = static_cast<std::uint8_t>(packed >> 8);
                    break;
                }
                default: {
                    const std::size_t at = static_cast<std::size_t>(x) * (bits / 8);
                    line[at] = GetBValue(v);
                    line[at + 1] = GetGValue(v);
                    line[at + 2] = GetRValue(v);
                }
            }
        }
        dib.insert(dib.end(), line.begin(), line.end());
    }
    return dib;
}

// The colour a test picture of 1, 4, 8, 24 or 32 bits shows at (x, y), top-down.
inline COLORREF ExpectedColor(int bits, int x, int y) {
    const std::uint32_t v = PixelValue(bits, x, y);
    return bits <= 8 ? TableColor(static_cast<int>(v)) : static_cast<COLORREF>(v);
}

// A BMP file: file header (offset field as given, or right behind the table) and the DIB.
inline std::vector<std::uint8_t> MakeFile(const std::vector<std::uint8_t>& dib, std::uint32_t pixelOffset = 0) {
    zorv::BmpFileHeader header;
    header.fileSize = static_cast<std::uint32_t>(dib.size() + 14);
    header.pixelOffset = pixelOffset != 0 ? pixelOffset : static_cast<std::uint32_t>(14 + zorv::DIBPixelOffset(dib));
    const auto bytes = zorv::EncodeBmpFileHeader(header);
    std::vector<std::uint8_t> file(bytes.size() + dib.size());
    std::copy(bytes.begin(), bytes.end(), file.begin());
    std::copy(dib.begin(), dib.end(), file.begin() + static_cast<std::ptrdiff_t>(bytes.size()));
    return file;
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Copies a global block's bytes out.
inline std::vector<std::uint8_t> BlockBytes(HGLOBAL hBlock) {
    std::vector<std::uint8_t> bytes;
    if (hBlock == nullptr) return bytes;
    const auto* data = static_cast<const std::uint8_t*>(GlobalLock(hBlock));
    bytes.assign(data, data + GlobalSize(hBlock));
    GlobalUnlock(hBlock);
    return bytes;
}

// A global block holding exactly `bytes`.
inline HGLOBAL MakeBlock(const std::vector<std::uint8_t>& bytes) {
    HGLOBAL hBlock = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size());
    auto* data = static_cast<std::uint8_t*>(GlobalLock(hBlock));
    std::copy(bytes.begin(), bytes.end(), data);
    GlobalUnlock(hBlock);
    return hBlock;
}

// A memory DC over a top-down 32-bit DIB section, filled with a sentinel colour.
class Target {
public:
    static constexpr COLORREF kSentinel = RGB(1, 2, 3);

    Target(int w, int h) : m_hdc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_hBitmap = CreateDIBSection(m_hdc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_hPrevious = SelectObject(m_hdc, m_hBitmap);
        Fill(kSentinel);
        m_w = w;
        m_h = h;
    }
    ~Target() {
        SelectObject(m_hdc, m_hPrevious);
        DeleteObject(m_hBitmap);
        DeleteDC(m_hdc);
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    HDC Hdc() const { return m_hdc; }
    COLORREF At(int x, int y) const { return GetPixel(m_hdc, x, y); }
    void Fill(COLORREF color) {
        HBRUSH brush = CreateSolidBrush(color);
        RECT all{0, 0, 1 << 14, 1 << 14};
        FillRect(m_hdc, &all, brush);
        DeleteObject(brush);
    }
    // Whether every pixel still holds the sentinel.
    bool Untouched() const {
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x)
                if (At(x, y) != kSentinel) return false;
        return true;
    }

private:
    HDC m_hdc;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hPrevious = nullptr;
    int m_w = 0, m_h = 0;
};

}  // namespace dibtest
