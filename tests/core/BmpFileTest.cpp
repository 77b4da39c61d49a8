// The BMP file header, the info header encoder and the write plan of a packed DIB.
#include <gtest/gtest.h>

#include "image/Bmp24.h"
#include "image/BmpFile.h"
#include "tests/core/DibFixtures.h"

namespace zorv {
namespace {

using fixtures::Info;
using fixtures::MakeInfoDib;

TEST(BmpFileHeader, EncodesFourteenLittleEndianBytesAndDecodesThemBack) {
    BmpFileHeader header;
    header.fileSize = 0x01020304;
    header.reserved1 = 0x0506;
    header.reserved2 = 0x0708;
    header.pixelOffset = 0x090A0B0C;
    const auto bytes = EncodeBmpFileHeader(header);
    const std::array<std::uint8_t, 14> expected = {
        'B', 'M',                // type 19778
        0x04, 0x03, 0x02, 0x01,  // file size
        0x06, 0x05,              // reserved
        0x08, 0x07,              // reserved
        0x0C, 0x0B, 0x0A, 0x09,  // pixel-data offset
    };
    EXPECT_EQ(bytes, expected);
    const BmpFileHeader back = DecodeBmpFileHeader(bytes);
    EXPECT_EQ(back.type, kBmpFileType);
    EXPECT_EQ(back.fileSize, header.fileSize);
    EXPECT_EQ(back.reserved1, header.reserved1);
    EXPECT_EQ(back.reserved2, header.reserved2);
    EXPECT_EQ(back.pixelOffset, header.pixelOffset);
}

TEST(BmpFileHeader, ReaderAcceptsOnlyFourteenBytesStartingWithBM) {
    struct Row {
        std::vector<std::uint8_t> bytes;
        bool accepted;
    };
    std::vector<std::uint8_t> fourteen(14, 0);
    fourteen[0] = 'B', fourteen[1] = 'M';
    std::vector<std::uint8_t> thirteen(fourteen.begin(), fourteen.end() - 1);
    std::vector<std::uint8_t> swapped = fourteen;
    swapped[0] = 'M', swapped[1] = 'B';
    std::vector<std::uint8_t> lower = fourteen;
    lower[0] = 'b';
    const Row rows[] = {{{}, false}, {thirteen, false}, {fourteen, true}, {swapped, false}, {lower, false}};
    for (const Row& row : rows) EXPECT_EQ(IsBmpFileHeader(row.bytes), row.accepted) << row.bytes.size();
}

TEST(DibWritePlan, SizesOffsetsAndStoredImageSize) {
    struct Row {
        const char* name;
        DibInfoHeader header;
        std::size_t tableEntries, pixelBytes;
        std::uint32_t dibBytes, fileSize, pixelOffset, imageSize;
        bool storesImageSize;
    };
    const Row rows[] = {
        {"640x480 24-bit", Info(640, 480, 24), 0, 921600, 40 + 921600, 921654, 54, 921600, true},
        {"100x10 8-bit", Info(100, 10, 8), 256, 1000, 40 + 1024 + 1000, 14 + 40 + 1024 + 1000, 1078, 1000, true},
        {"101x10 8-bit rows of 104", Info(101, 10, 8), 256, 1040, 40 + 1024 + 1040, 14 + 2104, 1078, 1040, true},
        {"1-bit width 33 rows of 8", Info(33, 3, 1), 2, 24, 40 + 8 + 24, 14 + 72, 62, 24, true},
        {"RLE8 writes its stored size", Info(16, 16, 8, 0, kCompressionRle8, 123), 256, 123, 40 + 1024 + 123,
         14 + 1187, 1078, 123, false},
        {"RLE4 writes its stored size", Info(16, 16, 4, 0, kCompressionRle4, 9), 16, 9, 40 + 64 + 9, 14 + 113, 118, 9,
         false},
        {"colours used 20 on 24-bit", Info(2, 2, 24, 20), 20, 16, 40 + 80 + 16, 14 + 136, 134, 16, true},
        {"bit fields count as uncompressed", Info(2, 1, 32, 0, kCompressionBitFields), 0, 8, 48, 62, 54, 8, true},
    };
    for (const Row& row : rows) {
        auto dib = MakeInfoDib(row.header, row.tableEntries, row.pixelBytes);
        const DibWritePlan plan = PlanDibWrite(dib);
        ASSERT_EQ(plan.check, DibWriteCheck::Ok) << row.name;
        EXPECT_EQ(plan.dibBytes, row.dibBytes) << row.name;
        EXPECT_EQ(plan.imageSize, row.imageSize) << row.name;
        EXPECT_EQ(plan.storesImageSize, row.storesImageSize) << row.name;
        const BmpFileHeader file = DecodeBmpFileHeader(plan.fileHeader);
        EXPECT_EQ(file.type, kBmpFileType) << row.name;
        EXPECT_EQ(file.fileSize, row.fileSize) << row.name;
        EXPECT_EQ(file.reserved1 | file.reserved2, 0) << row.name;
        EXPECT_EQ(file.pixelOffset, row.pixelOffset) << row.name;

        const std::uint32_t before = ReadLe32(dib, 20);
        ApplyDibWritePlan(dib, plan);
        EXPECT_EQ(ReadLe32(dib, 20), row.storesImageSize ? row.imageSize : before) << row.name;
    }
}

TEST(DibWritePlan, RefusesOtherLayoutsAndPixelsBeyondTheBlock) {
    struct Row {
        const char* name;
        std::vector<std::uint8_t> dib;
        DibWriteCheck expected;
    };
    auto cut = MakeInfoDib(Info(640, 480, 24), 0, 921600);
    cut.pop_back();
    const Row rows[] = {
        {"core layout", fixtures::kCore4By3x2, DibWriteCheck::NotInfoLayout},
        {"header size 108", fixtures::MakeCoreDib(108, 2, 2, 24, 200), DibWriteCheck::NotInfoLayout},
        {"nothing at all", {}, DibWriteCheck::NotInfoLayout},
        {"info header cut short", {40, 0, 0, 0, 1, 0}, DibWriteCheck::NotInfoLayout},
        {"last pixel byte missing", cut, DibWriteCheck::BeyondBlock},
        {"negative height", MakeInfoDib(Info(2, -2, 24), 0, 16), DibWriteCheck::BeyondBlock},
        // 65536 × 65536 × 4 wraps to 0 in 32 bits; it must not pass for an empty picture
        {"rows wrapping 32 bits", MakeInfoDib(Info(65536, 65536, 32), 0, 16), DibWriteCheck::BeyondBlock},
        {"RLE stored size beyond", MakeInfoDib(Info(4, 4, 8, 0, kCompressionRle8, 100), 256, 99),
         DibWriteCheck::BeyondBlock},
        {"colour table beyond", MakeInfoDib(Info(1, 1, 8), 255, 4), DibWriteCheck::BeyondBlock},
    };
    for (const Row& row : rows) {
        auto dib = row.dib;
        const DibWritePlan plan = PlanDibWrite(dib);
        EXPECT_EQ(plan.check, row.expected) << row.name;
        ApplyDibWritePlan(dib, plan);
        EXPECT_EQ(dib, row.dib) << row.name << ": a refused plan must not touch the header";
    }
}

TEST(Bmp24, EncodedFileIsAValidDibBehindTheFileHeader) {
    const std::vector<std::uint32_t> pixels = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x123456, 0x000000};
    const auto file = EncodeBmp24(3, 2, pixels);
    ASSERT_EQ(file.size(), 14u + 40 + 2 * 12);
    ASSERT_TRUE(IsBmpFileHeader(file));
    const DibBytes dib(file.data() + 14, file.size() - 14);
    EXPECT_EQ(CheckDibBlock(dib), DibCheck::Ok);
    EXPECT_EQ(DIBImageWidth(dib), 3u);
    EXPECT_EQ(DIBImageHeight(dib), 2u);
    EXPECT_EQ(DecodeBmpFileHeader(file).pixelOffset, 54u);
    EXPECT_EQ(DecodeBmpFileHeader(file).fileSize, file.size());
    // Bottom row first: pixel (0, 1) is 0xFFFFFF, then (1, 1) is 0x123456 as B, G, R.
    EXPECT_EQ(file[54], 0xFF);
    EXPECT_EQ(file[57], 0x12);
    EXPECT_EQ(file[58], 0x34);
    EXPECT_EQ(file[59], 0x56);
    EXPECT_TRUE(EncodeBmp24(0, 2, {}).empty());
    EXPECT_TRUE(EncodeBmp24(2, 2, pixels).empty());  // pixel count does not match
}

}  // namespace
}  // namespace zorv
