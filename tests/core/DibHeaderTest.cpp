// Header queries of both layouts, palette entries and the block checks that
// decide whether a packed DIB is kept and painted.
#include <gtest/gtest.h>

#include <string>

#include "image/DibHeader.h"
#include "tests/core/DibFixtures.h"

namespace zorv {
namespace {

using fixtures::Info;
using fixtures::MakeCoreDib;
using fixtures::MakeInfoDib;

TEST(DibHeader, InfoLayoutColourCountByBitsAndColoursUsed) {
    struct Row {
        std::uint16_t bits;
        std::uint32_t colorsUsed;
        std::uint16_t colors, tableSize;
        std::uint64_t pixelOffset;
    };
    const Row rows[] = {
        {0, 0, 0, 0, 40},           {1, 0, 2, 8, 48},           {4, 0, 16, 64, 104},
        {8, 0, 256, 1024, 1064},    {16, 0, 0, 0, 40},          {24, 0, 0, 0, 40},
        {32, 0, 0, 0, 40},          {33, 0, 0, 0, 40},          {2, 0, 0, 0, 40},
        {24, 20, 20, 80, 120},      {8, 20, 20, 80, 120},       {1, 20, 20, 80, 120},
        // colours used is cut to 16 bits, and the table size wraps again at 16 bits
        {8, 16384, 16384, 0, 40},   {24, 16384, 16384, 0, 40},  {8, 0x10000, 0, 0, 40},
        {8, 0xFFFFFFFF, 0xFFFF, 0xFFFC, 40 + 0xFFFC},           {8, 16385, 16385, 4, 44},
    };
    for (const Row& row : rows) {
        const auto dib = MakeInfoDib(Info(4, 4, row.bits, row.colorsUsed), 0, 0);
        const std::string what = std::to_string(row.bits) + " bits, used " + std::to_string(row.colorsUsed);
        EXPECT_EQ(DIBColorCount(dib), row.colors) << what;
        EXPECT_EQ(DIBColorTableSize(dib), row.tableSize) << what;
        EXPECT_EQ(DIBPixelOffset(dib), row.pixelOffset) << what;
    }
}

TEST(DibHeader, EveryHeaderSizeButFortyIsReadInTheCoreLayout) {
    for (std::uint32_t size : {0u, 12u, 39u, 41u, 108u, 124u, 0xFFFFFFFFu}) {
        // 16-bit fields at 4 and 6; a 32-bit reading of offset 4 would give 0x00050003.
        auto dib = MakeCoreDib(size, 3, 5, 4, 200);
        WriteLe32(dib, 8, 0x00040001);  // planes 1, bits 4 at offset 10
        WriteLe32(dib, 32, 7);          // an info "colours used" the core layout must ignore
        EXPECT_FALSE(DibIsInfoLayout(dib)) << size;
        EXPECT_EQ(DIBImageWidth(dib), 3u) << size;
        EXPECT_EQ(DIBImageHeight(dib), 5u) << size;
        EXPECT_EQ(DIBColorCount(dib), 16u) << size;
        EXPECT_EQ(DIBColorTableSize(dib), 48u) << size;
        EXPECT_EQ(DIBPixelOffset(dib), std::uint64_t{size} + 48) << size;  // steps over the size field's value
        if (size + 48 > dib.size()) {
            EXPECT_EQ(DIBPixelBits(dib), nullptr) << size;
        }
        EXPECT_EQ(DibCompression(dib), 0u) << size;
    }
}

TEST(DibHeader, InfoSizesAreTakenAsUnsigned) {
    const auto dib = MakeInfoDib(Info(-1, -2, 24), 0, 0);
    EXPECT_EQ(DIBImageWidth(dib), 0xFFFFFFFFu);
    EXPECT_EQ(DIBImageHeight(dib), 0xFFFFFFFEu);
    const auto core = MakeCoreDib(12, 0xFFFF, 0x8000, 24, 12);
    EXPECT_EQ(DIBImageWidth(core), 0xFFFFu);  // zero-extended, never sign-extended
    EXPECT_EQ(DIBImageHeight(core), 0x8000u);
}

TEST(DibHeader, FieldReadsBeyondTheBlockGiveZero) {
    const std::vector<std::uint8_t> partial = {40, 0, 0, 0, 9, 0};  // width cut short
    EXPECT_EQ(DibHeaderSize(partial), 40u);
    EXPECT_EQ(DIBImageWidth(partial), 0u);
    EXPECT_EQ(ReadLe16(partial, 5), 0u);
    EXPECT_EQ(ReadLe16(partial, 4), 9u);
    EXPECT_EQ(ReadLe32(partial, SIZE_MAX - 1), 0u);
    EXPECT_EQ(DibHeaderSize({}), 0u);
}

TEST(DibHeader, RowBytesArePaddedToFourBytes) {
    struct Row {
        std::uint64_t width, bits, bytes;
    };
    const Row rows[] = {{640, 24, 1920}, {100, 8, 100}, {101, 8, 104}, {33, 1, 8}, {32, 1, 4},
                        {3, 4, 4},       {800, 32, 3200}, {800, 16, 1600}, {0, 24, 0}, {1, 33, 8}};
    for (const Row& row : rows) EXPECT_EQ(DibRowBytes(row.width, row.bits), row.bytes) << row.width << "x" << row.bits;
}

TEST(DibPalette, InfoEntriesInTableOrderWithFlagsZero) {
    const auto entries = DibPaletteEntries(fixtures::kInfo1By2x1);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].red, 30);
    EXPECT_EQ(entries[0].green, 20);
    EXPECT_EQ(entries[0].blue, 10);
    EXPECT_EQ(entries[0].flags, 0);  // the table's reserved byte 99 is not carried over
    EXPECT_EQ(entries[1].red, 50);
    EXPECT_EQ(entries[1].blue, 200);

    const auto eight = MakeInfoDib(Info(1, 1, 8), 256, 4);
    const auto all = DibPaletteEntries(eight);
    ASSERT_EQ(all.size(), 256u);
    for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all[i].red, static_cast<std::uint8_t>(i));
}

TEST(DibPalette, CoreEntriesAreThreeBytesFromOffsetTwelve) {
    const auto entries = DibPaletteEntries(fixtures::kCore4By3x2);
    ASSERT_EQ(entries.size(), 16u);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(entries[i].blue, i);
        EXPECT_EQ(entries[i].green, 16 * i);
        EXPECT_EQ(entries[i].red, 255 - i);
        EXPECT_EQ(entries[i].flags, 0);
    }
    // A 108-byte header is still read as core: the table is taken from offset 12.
    auto odd = MakeCoreDib(108, 1, 1, 1, 200);
    odd[12] = 1, odd[13] = 2, odd[14] = 3;
    const auto two = DibPaletteEntries(odd);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].red, 3);
    EXPECT_EQ(two[0].blue, 1);
}

TEST(DibPalette, NoEntriesWithoutTableOrWhenTheTableLeavesTheBlock) {
    EXPECT_TRUE(DibPaletteEntries(fixtures::kInfo24By2x2).empty());
    auto cut = fixtures::kInfo1By2x1;
    cut.resize(40 + 7);  // the second entry is one byte short
    EXPECT_TRUE(DibPaletteEntries(cut).empty());
    EXPECT_TRUE(DibPaletteEntries(MakeInfoDib(Info(1, 1, 24, 16384), 0, 4)).empty());
}

TEST(DibCheck, BlocksAreKeptOnlyWhenEverythingTheyDescribeIsInside) {
    using fixtures::kInfo24By2x2;
    const auto shortBy = [](std::vector<std::uint8_t> dib, std::size_t n) {
        dib.resize(dib.size() - n);
        return dib;
    };
    const auto wider = [](std::vector<std::uint8_t> dib, std::uint32_t width) {
        WriteLe32(dib, 4, width);
        return dib;
    };
    struct Row {
        const char* name;
        std::vector<std::uint8_t> dib;
        DibCheck expected;
    };
    const Row rows[] = {
        {"empty", {}, DibCheck::TooShort},
        {"size field only", {40, 0, 0, 0}, DibCheck::TooShort},
        {"info header cut at 39", shortBy(kInfo24By2x2, 17), DibCheck::TooShort},
        {"core header cut at 11", MakeCoreDib(12, 1, 1, 24, 11), DibCheck::TooShort},
        {"last pixel byte missing", shortBy(kInfo24By2x2, 1), DibCheck::TooShort},
        {"complete 24-bit", kInfo24By2x2, DibCheck::Ok},
        {"width 3 needs rows of 12 bytes", wider(kInfo24By2x2, 3), DibCheck::TooShort},
        {"colour table cut short", shortBy(fixtures::kCore4By3x2, 9), DibCheck::TooShort},
        {"core complete", fixtures::kCore4By3x2, DibCheck::Ok},
        {"negative height", MakeInfoDib(Info(2, -2, 24), 0, 16), DibCheck::TooBig},
        {"negative width, nothing behind", MakeInfoDib(Info(-2, 2, 24), 0, 0), DibCheck::TooBig},
        {"width 0", MakeInfoDib(Info(0, 5, 24), 0, 0), DibCheck::Ok},
        {"height 0", MakeInfoDib(Info(5, 0, 8), 256, 0), DibCheck::Ok},
        {"width 1 height 1", MakeInfoDib(Info(1, 1, 24), 0, 4), DibCheck::Ok},
        {"width 2^31-1, rows overflow 32 bits", MakeInfoDib(Info(2147483647, 1, 24), 0, 64), DibCheck::TooShort},
        {"height 2^31-1 of 1-bit rows", MakeInfoDib(Info(1, 2147483647, 1), 2, 64), DibCheck::TooShort},
        {"bits 33 with its rows", MakeInfoDib(Info(1, 1, 33), 0, 8), DibCheck::Ok},
        {"bits 0", MakeInfoDib(Info(4, 4, 0), 1, 0), DibCheck::Ok},
        {"colours used 16384, table not there", MakeInfoDib(Info(1, 1, 24, 16384), 0, 4), DibCheck::TooShort},
        {"colours used 0xFFFFFFFF", MakeInfoDib(Info(1, 1, 8, 0xFFFFFFFF), 256, 4), DibCheck::TooShort},
        {"colours used 20 on 24-bit", MakeInfoDib(Info(1, 1, 24, 20), 20, 4), DibCheck::Ok},
        {"RLE8 with its stored size", MakeInfoDib(Info(4, 4, 8, 0, kCompressionRle8, 10), 256, 10), DibCheck::Ok},
        {"RLE8 stored size beyond", MakeInfoDib(Info(4, 4, 8, 0, kCompressionRle8, 11), 256, 10), DibCheck::TooShort},
        {"RLE4 without stored size", MakeInfoDib(Info(4, 4, 4, 0, kCompressionRle4, 0), 16, 64), DibCheck::TooShort},
        {"bit fields without masks", MakeInfoDib(Info(1, 1, 16, 0, kCompressionBitFields), 0, 4), DibCheck::TooShort},
        {"bit fields with masks", MakeInfoDib(Info(1, 1, 16, 0, kCompressionBitFields), 3, 4), DibCheck::Ok},
        {"garbage compression", MakeInfoDib(Info(2, 2, 24, 0, 0x7777, 100), 0, 16), DibCheck::TooShort},
        {"header size 0xFFFFFFFF", MakeCoreDib(0xFFFFFFFF, 1, 1, 24, 64), DibCheck::TooShort},
        {"header size 108, GDI's one-entry table behind it", MakeCoreDib(108, 1, 1, 24, 108 + 4), DibCheck::Ok},
        {"header size 108, GDI's table cut short", MakeCoreDib(108, 1, 1, 24, 108 + 3), DibCheck::TooShort},
        {"header size 0 shorter than GDI's header", MakeCoreDib(0, 1, 1, 24, 39), DibCheck::TooShort},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CheckDibBlock(row.dib), row.expected) << row.name;
        // Painting accepts exactly what fits, whatever the size fields say.
        if (row.expected == DibCheck::Ok) {
            EXPECT_TRUE(DibFitsForPainting(row.dib)) << row.name;
        } else if (row.expected == DibCheck::TooShort) {
            EXPECT_FALSE(DibFitsForPainting(row.dib)) << row.name;
        }
    }
}

TEST(DibCheck, GdiReadingOfALargerHeaderIsBoundedToo) {
    // Header size 108: the core reading sees width 1, but GDI reads a 32-bit
    // width of 0x00010001 at offset 4, so the block must hold those rows.
    auto dib = MakeCoreDib(108, 1, 1, 8, 108 + 1024 + 4);
    WriteLe16(dib, 14, 8);  // GDI's bit count
    WriteLe32(dib, 8, 1);   // GDI's height 1
    EXPECT_EQ(DIBImageWidth(dib), 1u);
    EXPECT_FALSE(DibFitsForPainting(dib));
    WriteLe16(dib, 6, 0);  // GDI width now 1
    EXPECT_TRUE(DibFitsForPainting(dib));
}

}  // namespace
}  // namespace zorv
