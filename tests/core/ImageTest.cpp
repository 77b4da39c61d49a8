// Packed DIBs: header queries, the block checks and the printer fit. (The
// write plan is pinned by the Windows save test's file bytes and the fuzz
// target's round trip.)
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "image/BmpFile.h"
#include "image/DibHeader.h"
#include "image/PrinterFit.h"

namespace zorv {
namespace {

// Test fixtures: packed DIBs built from their header fields, for the tables of
// header and file rules.
DibInfoHeader Info(std::int32_t width, std::int32_t height, std::uint16_t bits, std::uint32_t colorsUsed = 0,
                   std::uint32_t compression = kCompressionRgb, std::uint32_t imageSize = 0) {
    return {width, height, 1, bits, compression, imageSize, 0, 0, colorsUsed};
}

// An info-layout DIB with `tableEntries` 4-byte table entries and `pixelBytes`
// bytes of rows.
std::vector<std::uint8_t> MakeInfoDib(const DibInfoHeader& header, std::size_t tableEntries, std::size_t pixelBytes) {
    const auto head = EncodeInfoHeader(header);
    std::vector<std::uint8_t> dib(head.begin(), head.end());
    dib.resize(dib.size() + tableEntries * 4 + pixelBytes, 0x5A);
    return dib;
}

// A DIB whose header-size field is `headerSize`, read in the core layout:
// 16-bit width and height at 4 and 6, bits per pixel at 10, then zeros up to
// `totalBytes`.
std::vector<std::uint8_t> MakeCoreDib(std::uint32_t headerSize, std::uint16_t width, std::uint16_t height,
                                      std::uint16_t bits, std::size_t totalBytes) {
    std::vector<std::uint8_t> dib(totalBytes < 12 ? 12 : totalBytes, 0);
    WriteLe32(dib, 0, headerSize);
    WriteLe16(dib, 4, width);
    WriteLe16(dib, 6, height);
    WriteLe16(dib, 8, 1);
    WriteLe16(dib, 10, bits);
    dib.resize(totalBytes);
    return dib;
}

// Header queries of both layouts with their 16-bit wraps, palette entries, and
// the block checks that decide whether a packed DIB is kept and painted.

TEST(DibHeader, InfoLayoutColourCountByBitsAndColoursUsed) {
    const struct { std::uint16_t bits; std::uint32_t colorsUsed; std::uint16_t colors, tableSize; } rows[] = {
        {1, 0, 2, 8},   {4, 0, 16, 64},        {8, 0, 256, 1024},   {16, 0, 0, 0},        {2, 0, 0, 0},
        {24, 20, 20, 80}, {8, 16384, 16384, 0}, {8, 16385, 16385, 4}, {8, 0x10000, 0, 0},  // 16-bit wraps
    };
    for (const auto& row : rows) {
        const auto dib = MakeInfoDib(Info(4, 4, row.bits, row.colorsUsed), 0, 0);
        EXPECT_TRUE(DIBColorCount(dib) == row.colors && DIBColorTableSize(dib) == row.tableSize &&
                    DIBPixelOffset(dib) == 40u + row.tableSize) << row.bits << "/" << row.colorsUsed;
    }
}

// The palette GDI realizes on 256-colour displays: each layout's table, 4 or 3 bytes an entry.
TEST(DibHeader, PaletteEntriesOfBothLayouts) {
    for (bool core : {false, true}) {
        auto dib = core ? MakeCoreDib(12, 1, 1, 1, 12 + 6 + 4) : MakeInfoDib(Info(1, 1, 1), 2, 4);
        for (std::size_t i = 0; i < 6; ++i) dib[(core ? 12 : 40) + i / 3 * (core ? 3 : 4) + i % 3] = static_cast<std::uint8_t>(i + 1);
        const auto entries = DibPaletteEntries(dib);
        EXPECT_TRUE(entries.size() == 2 && entries[1].blue == 4 && entries[1].green == 5 && entries[1].red == 6 &&
                    entries[0].red == 3) << core;
    }
}

TEST(DibCheck, BlocksAreKeptOnlyWhenEverythingTheyDescribeIsInside) {
    const auto kInfo24By2x2 = MakeInfoDib(Info(2, 2, 24), 0, 16);  // rows of 6 bytes padded to 8
    const struct {
        const char* name;
        std::vector<std::uint8_t> dib;
        DibCheck expected;
    } rows[] = {
        {"info header cut at 39", {kInfo24By2x2.begin(), kInfo24By2x2.end() - 17}, DibCheck::TooShort},
        {"core header cut at 11", MakeCoreDib(12, 1, 1, 24, 11), DibCheck::TooShort},
        {"core header alone, no rows", MakeCoreDib(12, 1, 0, 24, 12), DibCheck::Ok},
        {"last pixel byte missing", {kInfo24By2x2.begin(), kInfo24By2x2.end() - 1}, DibCheck::TooShort},
        {"complete 24-bit", kInfo24By2x2, DibCheck::Ok},
        {"core colour table cut short", MakeCoreDib(12, 3, 2, 4, 12 + 47), DibCheck::TooShort},
        {"8-bit table of 256 one entry short", MakeInfoDib(Info(1, 1, 8), 255, 4), DibCheck::TooShort},
        {"8-bit, 2 colours used", MakeInfoDib(Info(1, 1, 8, 2), 2, 4), DibCheck::Ok},
        {"width 0", MakeInfoDib(Info(0, 5, 24), 0, 0), DibCheck::Ok},
        {"rows overflowing 32 bits", MakeInfoDib(Info(2147483647, 1, 24), 0, 64), DibCheck::TooShort},
        {"colours used 0xFFFFFFFF", MakeInfoDib(Info(1, 1, 8, 0xFFFFFFFF), 256, 4), DibCheck::TooShort},
        {"16385 colours used, GDI's 256 there", MakeInfoDib(Info(1, 1, 8, 16385), 256, 4), DibCheck::TooShort},  // our table runs on
        {"RLE8 with its stored size", MakeInfoDib(Info(4, 4, 8, 0, kCompressionRle8, 0x10000), 256, 0x10000), DibCheck::Ok},
        {"RLE8 stored size beyond", MakeInfoDib(Info(4, 4, 8, 0, kCompressionRle8, 11), 256, 10), DibCheck::TooShort},
        {"RLE4 without stored size", MakeInfoDib(Info(4, 4, 4, 0, kCompressionRle4, 0), 16, 64), DibCheck::TooShort},
        {"bit fields, masks a byte short", MakeInfoDib(Info(1, 1, 16, 0, kCompressionBitFields), 2, 3), DibCheck::TooShort},
        {"bit fields with masks", MakeInfoDib(Info(1, 1, 16, 0, kCompressionBitFields), 3, 4), DibCheck::Ok},
        {"garbage compression", MakeInfoDib(Info(2, 2, 24, 0, 0x7777, 100), 0, 16), DibCheck::TooShort},
        {"header size 0xFFFFFFFF", MakeCoreDib(0xFFFFFFFF, 1, 1, 24, 64), DibCheck::TooShort},
        {"size 108 with GDI's one-entry table", MakeCoreDib(108, 1, 0, 0, 108 + 4), DibCheck::Ok},
        {"size 108, 8-bit: GDI's 256 entries cut short", [] { auto d = MakeCoreDib(108, 1, 0, 0, 108 + 1023); d[14] = 8; return d; }(), DibCheck::TooShort},
        {"size 108, GDI's width 65537", MakeCoreDib(108, 1, 1, 0, 108 + 4), DibCheck::TooBig},
        // What GDI would decode is capped, however few bytes describe it.
        {"side 32768", MakeInfoDib(Info(32768, 1, 8), 256, 32768), DibCheck::Ok},
        {"side 32769", MakeInfoDib(Info(1, 32769, 1), 2, 32769 * 4), DibCheck::TooBig},
        {"RLE8 to 256 MiB", MakeInfoDib(Info(32768, 8192, 8, 0, kCompressionRle8, 2), 256, 2), DibCheck::Ok},
        {"RLE8 to 256 MiB and a row", MakeInfoDib(Info(32768, 8193, 8, 0, kCompressionRle8, 2), 256, 2), DibCheck::TooBig},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CheckDibBlock(row.dib), row.expected) << row.name;
        if (row.expected == DibCheck::TooShort) EXPECT_FALSE(DibFitsForPainting(row.dib)) << row.name;
    }
    // Header size 108: GDI reads a 32-bit width of 0x00010001 at offset 4, so
    // the block must hold those rows although the core reading sees width 1.
    auto dib = MakeCoreDib(108, 1, 1, 8, 108 + 1024 + 4);
    WriteLe16(dib, 14, 8);
    WriteLe32(dib, 8, 1);
    EXPECT_FALSE(DibFitsForPainting(dib));
    WriteLe16(dib, 6, 0);
    EXPECT_TRUE(DibFitsForPainting(dib) && DibFitsForPainting(MakeInfoDib(Info(2, -1, 24), 0, 8)));  // (top-down, one row)
    EXPECT_TRUE(DibFitsForPainting(MakeInfoDib(Info(4, 0x3FFFFFFF, 8, 0, kCompressionRle8, 2), 256, 2)));  // rows of 4 GiB - 4
    // A compressed picture is written with its stored size, never one computed from rows.
    const DibWritePlan plan = PlanDibWrite(MakeInfoDib(Info(4, 4, 8, 0, kCompressionRle8, 10), 256, 10));
    EXPECT_TRUE(plan.check == DibWriteCheck::Ok && !plan.storesImageSize && plan.dibBytes == 40 + 1024 + 10);
    // GDI reads no more than 256 table entries, whatever its count says.
    WriteLe32(dib, 32, 300);
    dib.resize(108 + 1024);
    EXPECT_TRUE(DibFitsForPainting(dib));
}

// The printer fit: 80 % of the page width at the dots' aspect, then capped by the
// page height, truncated. (A path of printing, which the saver itself never takes.)
TEST(PrinterFit, EightyPercentOfTheWidthAtTheDotAspectThenHeightCapped) {
    const struct { std::uint32_t w, h; PageMetrics page; std::int32_t width, height; } rows[] = {
        {640, 480, {4800, 6600, 600, 300}, 3840, 1440},  // dots twice as tall as wide
        {200, 800, {4800, 6600, 600, 600}, 1650, 6600},  // 15360 first, over 6600
        {3, 7, {999, 99999, 100, 100}, 799, 1864},       // truncation, never rounding
    };
    for (const auto& row : rows) {
        const auto fit = FitToPage(row.w, row.h, row.page);
        EXPECT_TRUE(fit && fit->width == row.width && fit->height == row.height) << row.w << "x" << row.h;
    }
    EXPECT_FALSE(FitToPage(640, 480, {4800, 6600, 0, 600}).has_value());
}

}  // namespace
}  // namespace zorv
