// Capture and the off-screen canvas under Wine: header, colour table and row
// sizes at each depth, the pixels themselves, and the canvas at start-up.
#include <gtest/gtest.h>

#include <vector>

#include "image/Dib.h"
#include "image/OffscreenCanvas.h"
#include "tests/core/TempDir.h"
#include "tests/win32/DibTestSupport.h"
#include "tests/win32/MessageBoxRecorder.h"

namespace {

using dibtest::MakePicture;

// A memory DC holding a DIB section of the given depth, painted with a test picture.
class Source {
public:
    Source(int bits, int w, int h) : m_hdc(CreateCompatibleDC(nullptr)) {
        const auto picture = MakePicture(false, bits, w, h);
        void* data = nullptr;
        m_hBitmap = CreateDIBSection(m_hdc, reinterpret_cast<const BITMAPINFO*>(picture.data()), DIB_RGB_COLORS,
                                     &data, nullptr, 0);
        const std::size_t offset = zorv::DIBPixelOffset(picture);
        std::copy(picture.begin() + static_cast<std::ptrdiff_t>(offset), picture.end(), static_cast<std::uint8_t*>(data));
        m_hPrevious = SelectObject(m_hdc, m_hBitmap);
    }
    ~Source() {
        SelectObject(m_hdc, m_hPrevious);
        DeleteObject(m_hBitmap);
        DeleteDC(m_hdc);
    }
    HDC Hdc() const { return m_hdc; }

private:
    HDC m_hdc;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hPrevious = nullptr;
};

struct Header {
    std::uint32_t size, width, height, bits, compression, imageSize;
};

Header ReadHeader(const std::vector<std::uint8_t>& dib) {
    return {zorv::ReadLe32(dib, 0),  zorv::ReadLe32(dib, 4),  zorv::ReadLe32(dib, 8),
            zorv::ReadLe16(dib, 14), zorv::ReadLe32(dib, 16), zorv::ReadLe32(dib, 20)};
}

TEST(Capture, DepthOfTheSourceGivesHeaderTableAndRowSizes) {
    MessageBoxRecorder messages;
    struct Row {
        int bits, w, h;
        std::uint32_t table, rowBytes;
    };
    const Row rows[] = {
        {32, 80, 60, 0, 320}, {24, 80, 60, 0, 240}, {16, 80, 60, 0, 160},
        {8, 101, 7, 1024, 104}, {8, 80, 60, 1024, 80}, {1, 33, 5, 8, 8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.bits) + " bits, " + std::to_string(row.w) + " wide");
        Source source(row.bits, row.w, row.h);
        CDC src(source.Hdc());
        CDib dib;
        ASSERT_TRUE(dib.Capture(&src, 0, 0, row.w, row.h));
        const auto block = dibtest::BlockBytes(dib.m_hImage);
        const Header header = ReadHeader(block);
        EXPECT_EQ(header.size, 40u);
        EXPECT_EQ(header.width, static_cast<std::uint32_t>(row.w));
        EXPECT_EQ(header.height, static_cast<std::uint32_t>(row.h));
        EXPECT_EQ(header.bits, static_cast<std::uint32_t>(row.bits));
        EXPECT_EQ(header.compression, 0u);
        EXPECT_EQ(header.imageSize, row.rowBytes * row.h);
        EXPECT_EQ(zorv::DIBColorTableSize(block), row.table);
        EXPECT_EQ(block.size(), 40 + row.table + row.rowBytes * row.h);
        EXPECT_EQ(zorv::CheckDibBlock(block), zorv::DibCheck::Ok);
    }
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(Capture, PixelsOfTheRectangleComeBackWhenPainted) {
    MessageBoxRecorder messages;
    Source source(32, 20, 10);
    CDC src(source.Hdc());
    CDib dib;
    ASSERT_TRUE(dib.Capture(&src, 3, 2, 8, 5));
    dibtest::Target target(8, 5);
    CDC dc(target.Hdc());
    dib.DrawFitted(&dc);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(target.At(x, y), dibtest::ExpectedColor(32, x + 3, y + 2)) << x << "," << y;
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(Capture, KeepsTheLoadedPalettesAndSizeAndReplacesOnlyTheBlock) {
    MessageBoxRecorder messages;
    zorv::TempDir dir;
    dibtest::WriteBytes(dir / "p.bmp", dibtest::MakeFile(MakePicture(false, 8, 9, 4)));
    CDib dib;
    ASSERT_TRUE(dib.Load((dir / "p.bmp").string().c_str()));
    CPalette* pPalette = dib.m_pImagePalette.get();
    ASSERT_NE(pPalette, nullptr);
    Source source(32, 6, 6);
    CDC src(source.Hdc());
    ASSERT_TRUE(dib.Capture(&src, 0, 0, 6, 6));
    EXPECT_EQ(dib.m_pImagePalette.get(), pPalette);
    EXPECT_EQ(dib.m_nWidth, 9);
    EXPECT_EQ(dib.m_nHeight, 4);
    EXPECT_EQ(zorv::DIBImageWidth(dibtest::BlockBytes(dib.m_hImage)), 6u);
}

TEST(Capture, FailureLeavesTheCDibEmpty) {
    MessageBoxRecorder messages;
    Source source(32, 4, 4);
    CDC src(source.Hdc());
    CDib dib;
    ASSERT_TRUE(dib.Capture(&src, 0, 0, 4, 4));
    // No bitmap of this size can be made.
    EXPECT_FALSE(dib.Capture(&src, 0, 0, 0x7FFFFFF, 0x7FFFFFF));
    EXPECT_EQ(dib.m_hImage, nullptr);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(ConvertBitmapToDIBTest, EightBitBitmapGetsItsColoursWithAnyPalette) {
    // Wine offers no palette device, so an 8-bit bitmap keeps its own colour
    // table: with the default palette and with a given one, GDI writes those
    // 256 colours in front of the rows, and the screen DC gets its palette back.
    Source source(8, 5, 2);
    CDC src(source.Hdc());
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&src, 5, 2));
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&src));
    HGDIOBJ previous = memory.SelectObject(&bitmap);
    memory.BitBlt(0, 0, 5, 2, &src, 0, 0, SRCCOPY);
    memory.SelectObject(previous);

    HGLOBAL hDib = dibtest::MakeBlock(MakePicture(false, 8, 1, 1));
    CPalette given;
    ASSERT_TRUE(MakeDIBPalette(hDib, &given));
    GlobalFree(hDib);
    for (HPALETTE hPalette : {static_cast<HPALETTE>(nullptr), given.GetSafeHandle()}) {
        HGLOBAL hResult = ConvertBitmapToDIB(bitmap, BI_RGB, hPalette);
        ASSERT_NE(hResult, nullptr);
        const auto block = dibtest::BlockBytes(hResult);
        ASSERT_EQ(block.size(), 40u + 1024 + 2 * 8);
        for (int i = 0; i < 256; ++i) {
            const COLORREF c = dibtest::TableColor(i);
            EXPECT_EQ(RGB(block[40 + 4 * i + 2], block[40 + 4 * i + 1], block[40 + 4 * i]), c) << i;
        }
        for (int x = 0; x < 5; ++x) EXPECT_EQ(block[1064 + 8 + x], dibtest::PixelValue(8, x, 0)) << x;
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(GetCurrentObject(screen, OBJ_PAL), GetStockObject(DEFAULT_PALETTE));
        ReleaseDC(nullptr, screen);
        GlobalFree(hResult);
    }
}

TEST(ConvertBitmapToDIBTest, NothingForBitFieldsOrAnEmptyBitmap) {
    Source source(32, 2, 2);
    CDC src(source.Hdc());
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&src, 2, 2));
    EXPECT_EQ(ConvertBitmapToDIB(bitmap, BI_BITFIELDS, nullptr), nullptr);
    CBitmap empty;
    EXPECT_EQ(ConvertBitmapToDIB(empty, BI_RGB, nullptr), nullptr);
    // The screen DC's palette is put back: a realised palette would stay selected otherwise.
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetCurrentObject(screen, OBJ_PAL), GetStockObject(DEFAULT_PALETTE));
    ReleaseDC(nullptr, screen);
}

TEST(OffscreenCanvasTest, ScreenSizedAndBlackFromStartUp) {
    EXPECT_EQ(g_canvas.m_nWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(g_canvas.m_nHeight, GetSystemMetrics(SM_CYSCREEN));
    ASSERT_NE(g_canvas.GetSafeHandle(), nullptr);
    BITMAP record{};
    ASSERT_EQ(g_canvas.GetBitmap(&record), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(record.bmWidth, g_canvas.m_nWidth);
    EXPECT_EQ(record.bmHeight, g_canvas.m_nHeight);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(record.bmBitsPixel * record.bmPlanes, GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES));

    // Every pixel, read as 32-bit colours.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = record.bmWidth;
    info.bmiHeader.biHeight = -record.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(record.bmWidth) * record.bmHeight, 0xFFFFFFFF);
    ASSERT_EQ(GetDIBits(screen, g_canvas.GetSafeHandle(), 0, record.bmHeight, pixels.data(), &info, DIB_RGB_COLORS),
              record.bmHeight);
    ReleaseDC(nullptr, screen);
    std::size_t notBlack = 0;
    for (std::uint32_t pixel : pixels) notBlack += (pixel & 0xFFFFFF) != 0;
    EXPECT_EQ(notBlack, 0u);
}

}  // namespace
