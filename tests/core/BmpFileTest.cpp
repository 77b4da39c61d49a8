// The write plan of a packed DIB: file header, sizes and the stored image size.
// (The 24-bit encoder is pinned by the renderer's file checksums.)
#include <gtest/gtest.h>

#include "image/BmpFile.h"
#include "tests/core/DibFixtures.h"

namespace zorv {
namespace {

using fixtures::Info;
using fixtures::MakeInfoDib;

TEST(DibWritePlan, SizesOffsetsAndStoredImageSize) {
    const struct {
        DibInfoHeader header;
        std::size_t tableEntries, pixelBytes;
        std::uint32_t fileSize, pixelOffset, imageSize;
        bool storesImageSize;
    } rows[] = {
        {Info(33, 3, 1), 2, 24, 14 + 40 + 8 + 24, 62, 24, true},  // rows of 8
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
        {fixtures::MakeCoreDib(12, 3, 2, 4, 68), DibWriteCheck::NotInfoLayout},
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

}  // namespace
}  // namespace zorv
