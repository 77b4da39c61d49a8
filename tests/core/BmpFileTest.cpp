// The BMP file header, the write plan of a packed DIB and the 24-bit encoder.
#include <gtest/gtest.h>

#include "image/Bmp24.h"
#include "image/BmpFile.h"
#include "tests/core/DibFixtures.h"

namespace zorv {
namespace {

using fixtures::Info;
using fixtures::MakeInfoDib;

TEST(BmpFileHeader, FourteenLittleEndianBytesStartingWithBM) {
    const std::array<std::uint8_t, 14> bytes =
        EncodeBmpFileHeader({kBmpFileType, 0x01020304, 0x0506, 0x0708, 0x090A0B0C});
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 14>{'B', 'M', 4, 3, 2, 1, 6, 5, 8, 7, 0x0C, 0x0B, 0x0A, 0x09}));
    EXPECT_EQ(DecodeBmpFileHeader(bytes).pixelOffset, 0x090A0B0Cu);
    std::vector<std::uint8_t> file(bytes.begin(), bytes.end());
    EXPECT_TRUE(IsBmpFileHeader(file));
    EXPECT_FALSE(IsBmpFileHeader(std::span(file).first(13)));
    file[0] = 'b';
    EXPECT_FALSE(IsBmpFileHeader(file));
}

TEST(DibWritePlan, SizesOffsetsAndStoredImageSize) {
    const struct {
        DibInfoHeader header;
        std::size_t tableEntries, pixelBytes;
        std::uint32_t fileSize, pixelOffset, imageSize;
        bool storesImageSize;
    } rows[] = {
        {Info(101, 10, 8), 256, 1040, 14 + 40 + 1024 + 1040, 1078, 1040, true},  // rows of 104
        {Info(33, 3, 1), 2, 24, 14 + 40 + 8 + 24, 62, 24, true},
        {Info(16, 16, 4, 0, kCompressionRle4, 9), 16, 9, 14 + 40 + 64 + 9, 118, 9, false},
        {Info(2, 2, 24, 20), 20, 16, 14 + 40 + 80 + 16, 134, 16, true},
        {Info(2, 1, 32, 0, kCompressionBitFields), 0, 8, 62, 54, 8, true},
    };
    for (const auto& row : rows) {
        auto dib = MakeInfoDib(row.header, row.tableEntries, row.pixelBytes);
        const DibWritePlan plan = PlanDibWrite(dib);
        ASSERT_EQ(plan.check, DibWriteCheck::Ok) << row.pixelOffset;
        EXPECT_EQ(plan.dibBytes, row.fileSize - 14) << row.pixelOffset;
        EXPECT_EQ(plan.storesImageSize, row.storesImageSize) << row.pixelOffset;
        const BmpFileHeader file = DecodeBmpFileHeader(plan.fileHeader);
        EXPECT_EQ(file.type, kBmpFileType);
        EXPECT_EQ(file.fileSize, row.fileSize) << row.pixelOffset;
        EXPECT_EQ(file.reserved1 | file.reserved2, 0);
        EXPECT_EQ(file.pixelOffset, row.pixelOffset);
        const std::uint32_t before = ReadLe32(dib, 20);
        ApplyDibWritePlan(dib, plan);
        EXPECT_EQ(ReadLe32(dib, 20), row.storesImageSize ? row.imageSize : before) << row.pixelOffset;
    }
}

TEST(DibWritePlan, RefusesOtherLayoutsAndPixelsBeyondTheBlock) {
    auto cut = MakeInfoDib(Info(640, 480, 24), 0, 921600);
    cut.pop_back();
    const struct {
        std::vector<std::uint8_t> dib;
        DibWriteCheck expected;
    } rows[] = {
        {fixtures::Core4By3x2(), DibWriteCheck::NotInfoLayout},
        {{40, 0, 0, 0, 1, 0}, DibWriteCheck::NotInfoLayout},
        {cut, DibWriteCheck::BeyondBlock},
        {MakeInfoDib(Info(2, -2, 24), 0, 16), DibWriteCheck::BeyondBlock},
        {MakeInfoDib(Info(65536, 65536, 32), 0, 16), DibWriteCheck::BeyondBlock},  // wraps to 0 in 32 bits
        {MakeInfoDib(Info(4, 4, 8, 0, kCompressionRle8, 100), 256, 99), DibWriteCheck::BeyondBlock},
        {MakeInfoDib(Info(1, 1, 8), 255, 4), DibWriteCheck::BeyondBlock},
    };
    for (const auto& row : rows) {
        auto dib = row.dib;
        const DibWritePlan plan = PlanDibWrite(dib);
        EXPECT_EQ(plan.check, row.expected) << row.dib.size();
        ApplyDibWritePlan(dib, plan);
        EXPECT_EQ(dib, row.dib) << "a refused plan must not touch the header";
    }
}

TEST(Bmp24, BottomUpRowsOfBlueGreenRed) {
    const std::vector<std::uint32_t> pixels = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x123456, 0x000000};
    const auto file = EncodeBmp24(3, 2, pixels);
    ASSERT_EQ(file.size(), 14u + 40 + 2 * 12);
    const DibBytes dib(file.data() + 14, file.size() - 14);
    EXPECT_EQ(CheckDibBlock(dib), DibCheck::Ok);
    EXPECT_EQ(DIBImageWidth(dib), 3u);
    EXPECT_EQ(DecodeBmpFileHeader(file).fileSize, file.size());
    EXPECT_EQ(file[54], 0xFF);  // pixel (0, 1) first
    EXPECT_EQ(file[57], 0x12);  // then (1, 1) as blue, green, red
    EXPECT_EQ(file[59], 0x56);
    EXPECT_TRUE(EncodeBmp24(2, 2, pixels).empty()) << "pixel count does not match";
}

}  // namespace
}  // namespace zorv
